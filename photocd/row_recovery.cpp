#include "row_recovery.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace {

// Codes a damaged row is read on for, at most, past its width: a row whose
// codes go on much longer than it is wide has lost its end.
constexpr int kExtraCodes = 64;
// Bits that start no code are passed one bit at a time, at most this many per row.
constexpr int kMaxSkippedBits = 256;

// What the bits of a damaged row make, read up to the next sync.
struct CodeRun {
  std::vector<std::int8_t> codes;
  int firstBad = -1;     // codes before the first bits that started none (-1: none)
  bool endFound = false;  // the codes ran up to a sync
};

PcdStatus ReadCodes(BitReader& bits, const HuffmanTable& table, std::uint64_t start, int width, CodeRun& run) {
  run.codes.reserve(static_cast<std::size_t>(width) + kExtraCodes);
  PcdStatus status = bits.Seek(start);
  int skipped = 0;
  while (status == kPcdOk && static_cast<int>(run.codes.size()) < width + kExtraCodes) {
    if (bits.AtSync()) {
      run.endFound = true;
      return kPcdOk;
    }
    std::int8_t value = 0;
    status = bits.Decode(table, 1, &value);
    if (status == kPcdOk) {
      run.codes.push_back(value);
    } else if (status == kPcdRowBadCode && ++skipped <= kMaxSkippedBits) {
      if (run.firstBad < 0) run.firstBad = static_cast<int>(run.codes.size());
      status = bits.Seek(bits.Position() + 1);
    }
  }
  return status == kPcdOutOfMemory ? status : PcdStatus{kPcdOk};
}

// The next row of the same plane, read on from the sync at bits; false when
// it is not there or not whole.
bool ReadRowBelow(BitReader& bits, const HuffmanTable& table, int width, const RecoveryRow& place,
                  std::vector<std::int8_t>& below) {
  for (int headers = 0; headers < 3; ++headers) {
    RowHeader header{};
    if (bits.NextHeader(header) != kPcdOk || header.row > place.nextHeaderRow) return false;
    if (header.row == place.nextHeaderRow && header.plane == place.planeCode) {
      below.resize(static_cast<std::size_t>(width));
      return bits.Decode(table, width, below.data()) == kPcdOk;
    }
  }
  return false;
}

// The split p in [lo, hi] at which the codes stop counting from the row's
// start (values[i] = codes[i]) and start counting back from its end
// (values[i] = codes[i + shift]) that comes closest to the row below.
int BestSplit(const std::vector<std::int8_t>& codes, int shift, const std::vector<std::int8_t>& below, int lo, int hi) {
  // cost(p) = sum over i < p of |codes[i] - below[i]| + sum over i >= p of |codes[i + shift] - below[i]|;
  // moving p up by one swaps one term of the second sum for one of the first.
  const int width = static_cast<int>(below.size());
  long cost = 0;
  for (int i = 0; i < lo; ++i) cost += std::abs(codes[i] - below[i]);
  for (int i = lo; i < width; ++i) cost += std::abs(codes[i + shift] - below[i]);
  long best = cost;
  int split = lo;
  for (int p = lo; p < hi; ++p) {
    cost += std::abs(codes[p] - below[p]) - std::abs(codes[p + shift] - below[p]);
    if (cost < best) {
      best = cost;
      split = p + 1;
    }
  }
  return split;
}

}  // namespace

PcdStatus PcdRecoverRow(BitReader& bits, const HuffmanTable& table, std::uint64_t start, int width,
                        const RecoveryRow& place, std::int8_t* values) {
  CodeRun run;
  std::vector<std::int8_t> below;
  try {
    const PcdStatus status = ReadCodes(bits, table, start, width, run);
    if (status != kPcdOk) return status;
    const int count = static_cast<int>(run.codes.size());
    const int shift = count - width;
    // Without the row's end, or with far too few codes for it, only the codes
    // before the first bits that make none are known to stand where they are.
    if (!run.endFound || count < width / 2) {
      const int kept = std::min(width, run.firstBad >= 0 ? run.firstBad : count);
      std::copy_n(run.codes.begin(), kept, values);
      std::fill(values + kept, values + width, 0);
      return kPcdRowBadCode;
    }
    const std::uint64_t end = bits.Position();
    // The damage lies at or before the first bits that start no code.
    const int lo = std::max(0, -shift);
    int hi = std::min(width, count);
    if (run.firstBad >= 0) hi = std::max(lo, std::min(hi, run.firstBad));
    // Bits that start no code mostly come within a few codes of the damage;
    // without them the row below is the only clue.
    int split = hi;
    if (run.firstBad < 0 && ReadRowBelow(bits, table, width, place, below))
      split = BestSplit(run.codes, shift, below, lo, hi);
    std::copy_n(run.codes.begin(), split, values);
    for (int i = split; i < width; ++i) values[i] = run.codes[i + shift];
    return bits.Seek(end) == kPcdOk ? kPcdOk : kPcdRowBadCode;
  } catch (const std::bad_alloc&) {
    return kPcdOutOfMemory;
  }
}
