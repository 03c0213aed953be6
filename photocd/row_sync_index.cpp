#include "row_sync_index.h"

#include <algorithm>
#include <new>

namespace {

struct Found {
  std::uint64_t bit;  // after the header
  int row;
};

// Keeps the longest run of headers whose rows rise strictly in file order
// (patience sorting, n log n), so that one wrong header costs only itself.
// Returns the last row kept, -1 for none.
int KeepRisingRows(const std::vector<Found>& found, std::vector<std::uint64_t>& starts) {
  std::vector<int> tails;                  // index of the smallest last row of a run of each length
  std::vector<int> before(found.size(), -1);
  for (int i = 0; i < static_cast<int>(found.size()); ++i) {
    const auto at = std::lower_bound(tails.begin(), tails.end(), found[i].row,
                                     [&found](int t, int row) { return found[t].row < row; });
    if (at != tails.begin()) before[i] = *(at - 1);
    if (at == tails.end())
      tails.push_back(i);
    else
      *at = i;
  }
  for (int i = tails.empty() ? -1 : tails.back(); i >= 0; i = before[i]) starts[found[i].row] = found[i].bit;
  return tails.empty() ? -1 : found[tails.back()].row;
}

}  // namespace

PcdStatus RowSyncIndex::Build(BitReader& bits, std::uint64_t begin, std::uint64_t end, const RowSyncLayout& layout) {
  try {
    std::vector<Found> found[3];
    scanStatus_ = PcdScanRowHeaders(bits, begin, end, [&](const RowHeader& h, std::uint64_t bit) {
      const int slot = layout.anyPlaneIsLuma ? 0 : h.plane == 0 ? 0 : h.plane == 1 ? -1 : h.plane - 1;
      int row = h.row;
      if (slot > 0) {
        if (row % layout.chromaRowScale) return true;
        row /= layout.chromaRowScale;
      }
      if (slot >= 0 && slot < 3 && row < layout.rows[slot]) found[slot].push_back({bit, row});
      return true;
    });
    if (scanStatus_ == kPcdOutOfMemory) return scanStatus_;
    for (int slot = 0; slot < 3; ++slot) {
      starts_[slot].assign(static_cast<std::size_t>(layout.rows[slot]), 0);
      lastRow_[slot] = KeepRisingRows(found[slot], starts_[slot]);
    }
  } catch (const std::bad_alloc&) {
    return kPcdOutOfMemory;
  }
  built_ = true;
  return kPcdOk;
}

std::uint64_t RowSyncIndex::Find(int slot, int row) const {
  const std::vector<std::uint64_t>& s = starts_[slot];
  return row >= 0 && static_cast<std::size_t>(row) < s.size() ? s[static_cast<std::size_t>(row)] : 0;
}
