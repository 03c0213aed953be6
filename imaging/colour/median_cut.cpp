#include "imaging/colour/median_cut.h"

#include <cstdint>
#include <vector>

#include "imaging/colour/colour_histogram.h"

namespace imaging::colour {

namespace {

constexpr int kCells[3] = {kBlueCells, kGreenCells, kRedCells};
// Extents in cells are weighed so that a box's size reflects what the eye sees.
constexpr int kAxisWeight[3] = {8, 12, 16};

struct Box {
  int lo[3];
  int hi[3];
  long long volume = 0;
  long long population = 0;  // non-empty cells
};

class BoxCutter {
 public:
  explicit BoxCutter(const std::uint16_t* histogram) : h_(histogram) {}

  std::uint16_t at(const int cell[3]) const { return h_[cellIndex(cell[0], cell[1], cell[2])]; }

  bool planeOccupied(const Box& box, int axis, int at) const {
    int a = (axis + 1) % 3, b = (axis + 2) % 3;
    int cell[3];
    cell[axis] = at;
    for (cell[a] = box.lo[a]; cell[a] <= box.hi[a]; ++cell[a])
      for (cell[b] = box.lo[b]; cell[b] <= box.hi[b]; ++cell[b])
        if (this->at(cell)) return true;
    return false;
  }

  // Shrinks a non-empty box to its occupied cells and measures it.
  void shrink(Box& box) const {
    for (int axis = 0; axis < 3; ++axis) {
      while (box.lo[axis] < box.hi[axis] && !planeOccupied(box, axis, box.lo[axis])) ++box.lo[axis];
      while (box.hi[axis] > box.lo[axis] && !planeOccupied(box, axis, box.hi[axis])) --box.hi[axis];
    }
    box.volume = 0;
    for (int axis = 0; axis < 3; ++axis) {
      long long d = static_cast<long long>(box.hi[axis] - box.lo[axis]) * kAxisWeight[axis];
      box.volume += d * d;
    }
    box.population = 0;
    forEachCell(box, [&](const int*, std::uint16_t count) { box.population += count != 0; });
  }

  template <class Visit>
  void forEachCell(const Box& box, Visit visit) const {
    int cell[3];
    for (cell[0] = box.lo[0]; cell[0] <= box.hi[0]; ++cell[0])
      for (cell[1] = box.lo[1]; cell[1] <= box.hi[1]; ++cell[1])
        for (cell[2] = box.lo[2]; cell[2] <= box.hi[2]; ++cell[2]) visit(cell, at(cell));
  }

  RgbTriple meanColour(const Box& box) const {
    std::uint64_t total = 0, sum[3] = {0, 0, 0};
    forEachCell(box, [&](const int* cell, std::uint16_t count) {
      total += count;
      sum[0] += static_cast<std::uint64_t>(blueCentre(cell[0])) * count;
      sum[1] += static_cast<std::uint64_t>(greenCentre(cell[1])) * count;
      sum[2] += static_cast<std::uint64_t>(redCentre(cell[2])) * count;
    });
    auto mean = [&](std::uint64_t s) { return static_cast<std::uint8_t>((s + total / 2) / total); };
    return RgbTriple{mean(sum[2]), mean(sum[1]), mean(sum[0])};
  }

 private:
  const std::uint16_t* h_;
};

// The box to split next; first found wins a tie. Null when none can be split.
Box* boxToSplit(std::vector<Box>& boxes, bool byPopulation) {
  Box* best = nullptr;
  long long bestValue = 0;
  for (Box& box : boxes) {
    if (box.volume == 0) continue;
    long long value = byPopulation ? box.population : box.volume;
    if (value > bestValue) {
      bestValue = value;
      best = &box;
    }
  }
  return best;
}

// Longest weighted axis: green wins ties with red, either wins ties with blue.
int splitAxis(const Box& box) {
  auto length = [&](int axis) { return (box.hi[axis] - box.lo[axis]) * kAxisWeight[axis]; };
  int axis = kGreen;
  if (length(kRed) > length(axis)) axis = kRed;
  if (length(kBlue) > length(axis)) axis = kBlue;
  return axis;
}

}  // namespace

int medianCut(const std::uint16_t* histogram, int colours, RgbTriple* out) {
  if (!histogram || !out || colours < 1 || colours > kMaxColours) return 0;
  bool empty = true;
  for (std::size_t i = 0; i < kHistogramCells && empty; ++i) empty = histogram[i] == 0;
  if (empty) {
    out[0] = RgbTriple{};
    return 1;
  }
  BoxCutter cutter(histogram);
  std::vector<Box> boxes;
  boxes.reserve(colours);
  Box whole{{0, 0, 0}, {kCells[0] - 1, kCells[1] - 1, kCells[2] - 1}};
  cutter.shrink(whole);
  boxes.push_back(whole);
  while (static_cast<int>(boxes.size()) < colours) {
    // First spread by population, then refine the largest boxes by volume.
    bool byPopulation = static_cast<int>(boxes.size()) * 2 <= colours;
    Box* box = boxToSplit(boxes, byPopulation);
    if (!box) break;
    int axis = splitAxis(*box);
    int middle = (box->lo[axis] + box->hi[axis]) / 2;
    Box upper = *box;
    box->hi[axis] = middle;
    upper.lo[axis] = middle + 1;
    cutter.shrink(*box);
    cutter.shrink(upper);
    boxes.push_back(upper);  // may move the vector: `box` is not used after this
  }
  for (std::size_t i = 0; i < boxes.size(); ++i) out[i] = cutter.meanColour(boxes[i]);
  return static_cast<int>(boxes.size());
}

}  // namespace imaging::colour
