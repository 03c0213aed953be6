#include "imaging/colour/inverse_colour_map.h"

#include <climits>

#include "imaging/colour/colour_histogram.h"

namespace imaging::colour {

namespace {

constexpr int kBlockBlue = 4, kBlockGreen = 8, kBlockRed = 4;

// Squared distances, in one weighted component, from x to the nearest and to
// the farthest point of [lo, hi].
void rangeDistances(int x, int lo, int hi, int weight, int& nearest, int& farthest) {
  int toLo = (x - lo) * weight, toHi = (x - hi) * weight;
  if (x < lo) {
    nearest = toLo * toLo;
    farthest = toHi * toHi;
  } else if (x > hi) {
    nearest = toHi * toHi;
    farthest = toLo * toLo;
  } else {
    nearest = 0;
    farthest = x <= (lo + hi) / 2 ? toHi * toHi : toLo * toLo;
  }
}

}  // namespace

void fillInverseBlock(std::uint16_t* map, const RgbTriple* colours, int count, int blueCell, int greenCell, int redCell) {
  if (count < 1) return;
  int b0 = blueCell / kBlockBlue * kBlockBlue;
  int g0 = greenCell / kBlockGreen * kBlockGreen;
  int r0 = redCell / kBlockRed * kBlockRed;
  // The block spans these cell centres.
  int bLo = blueCentre(b0), bHi = blueCentre(b0 + kBlockBlue - 1);
  int gLo = greenCentre(g0), gHi = greenCentre(g0 + kBlockGreen - 1);
  int rLo = redCentre(r0), rHi = redCentre(r0 + kBlockRed - 1);

  // A colour farther from every point than some other colour is at its
  // farthest cannot be nearest to any cell.
  int nearestTo[kMaxColours];
  int bound = INT_MAX;
  for (int i = 0; i < count; ++i) {
    int nb, fb, ng, fg, nr, fr;
    rangeDistances(colours[i].blue, bLo, bHi, 1, nb, fb);
    rangeDistances(colours[i].green, gLo, gHi, 3, ng, fg);
    rangeDistances(colours[i].red, rLo, rHi, 2, nr, fr);
    nearestTo[i] = nb + ng + nr;
    if (fb + fg + fr < bound) bound = fb + fg + fr;
  }
  int candidates[kMaxColours];
  int candidateCount = 0;
  for (int i = 0; i < count; ++i)
    if (nearestTo[i] <= bound) candidates[candidateCount++] = i;

  for (int b = b0; b < b0 + kBlockBlue; ++b)
    for (int g = g0; g < g0 + kBlockGreen; ++g)
      for (int r = r0; r < r0 + kBlockRed; ++r) {
        int best = candidates[0], bestDistance = INT_MAX;
        for (int n = 0; n < candidateCount; ++n) {
          const RgbTriple& c = colours[candidates[n]];
          int d = colourDistance(c.blue - blueCentre(b), c.green - greenCentre(g), c.red - redCentre(r));
          if (d < bestDistance) {
            bestDistance = d;
            best = candidates[n];
          }
        }
        map[cellIndex(b, g, r)] = static_cast<std::uint16_t>(best + 1);
      }
}

}  // namespace imaging::colour
