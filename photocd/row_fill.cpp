#include "row_fill.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "pcd_layout.h"

namespace {

// How far from a lost row a whole row is looked for. Residuals hold fine
// detail, which changes within a row or two.
constexpr int kFillReach = 2;
// The fill is made piece by piece along the row, and only where the rows
// above and below agree this well (their correlation): there an edge or a
// line crosses the lost row. Elsewhere residuals are grain, which the rows
// around do not predict, and zeros (the enlarged level below) come closer.
constexpr int kPieceSamples = 32;
constexpr double kMinCorrelation = 0.5;

// The nearest row within reach, step rows at a time, that decoded whole,
// copied into whole; its distance, or 0 when there is none.
PcdStatus NearestWholeRow(ImagePack& pack, DecodeState& state, int level, int plane, int row, int step, int rows,
                          std::vector<std::int8_t>& whole, int& distance) {
  distance = 0;
  for (int d = 1; d <= kFillReach; ++d) {
    const int r = row + step * d;
    if (r < 0 || r >= rows) break;
    const std::int8_t* values = nullptr;
    const PcdStatus status = PcdStoredResidualRow(pack, state, level, plane, r, values);
    if (status == kPcdOutOfMemory) return status;
    if (values && (status == kPcdOk || status == kPcdRowTableUnreadable)) {
      std::copy_n(values, whole.size(), whole.begin());
      distance = d;
      break;
    }
  }
  return kPcdOk;
}

// Samples [begin, end) of the lost row from the rows above (distance `up`)
// and below (distance `down`), each weighted by how near it is, scaled by
// how well the two agree: with correlation c between them, the neighbours'
// mean times 2 sqrt(c) / (1 + c) is the least-squares estimate of the row
// between (for detail that fades evenly with distance).
void FillPiece(const std::int8_t* above, int up, const std::int8_t* below, int down, int begin, int end,
               std::int8_t* filled) {
  double ab = 0, aa = 0, bb = 0;
  for (int i = begin; i < end; ++i) {
    ab += above[i] * below[i];
    aa += above[i] * above[i];
    bb += below[i] * below[i];
  }
  if (aa == 0 || bb == 0) return;
  const double correlation = ab / std::sqrt(aa * bb);
  if (correlation < kMinCorrelation) return;
  const double scale = 2 * std::sqrt(correlation) / (1 + correlation) / (up + down);
  for (int i = begin; i < end; ++i)
    filled[i] = static_cast<std::int8_t>(std::lround(scale * (down * above[i] + up * below[i])));
}

}  // namespace

PcdStatus PcdFillLostRow(ImagePack& pack, DecodeState& state, int level, int plane, int row, PcdStatus damage,
                         const std::int8_t*& values) {
  const int width = pcd::LevelWidth(plane == 0 ? level : level - 1);
  const int rows = pcd::LevelHeight(plane == 0 ? level : level - 1);
  std::vector<std::int8_t>& filled = state.filledRow;
  try {
    filled.assign(static_cast<std::size_t>(width), 0);
    state.rowAbove.resize(filled.size());
    state.rowBelow.resize(filled.size());
  } catch (const std::bad_alloc&) {
    return kPcdOutOfMemory;
  }
  int up = 0, down = 0;
  PcdStatus status = NearestWholeRow(pack, state, level, plane, row, -1, rows, state.rowAbove, up);
  if (status == kPcdOk && up) status = NearestWholeRow(pack, state, level, plane, row, 1, rows, state.rowBelow, down);
  if (status != kPcdOk) return status;
  if (up && down)
    for (int begin = 0; begin < width; begin += kPieceSamples)
      FillPiece(state.rowAbove.data(), up, state.rowBelow.data(), down, begin, std::min(width, begin + kPieceSamples),
                filled.data());
  values = filled.data();
  return damage;
}
