#include "base_rows.h"

#include <algorithm>
#include <new>

#include "pcd_layout.h"
#include "pcd_upsample.h"

BaseRowSource PcdImagePackBaseSource(int level, bool lumaOnly) {
  switch (level) {
    case pcd::kLevelBase64: return {pcd::kBase16Offset, 192, 64, true, lumaOnly};
    case pcd::kLevelBase16: return {pcd::kBase16Offset, 192, 64, false, lumaOnly};
    case pcd::kLevelBase4: return {pcd::kBase4Offset, 384, 128, false, lumaOnly};
    default: return {pcd::kBaseOffset, 768, 256, false, lumaOnly};
  }
}

PcdStatus BaseRowReader::Begin(PcdFile* file, const BaseRowSource& source) {
  file_ = file;
  source_ = source;
  const std::size_t d = static_cast<std::size_t>(source.pairWidth);
  try {
    for (Pair& pair : pairs_) {
      pair.index = -1;
      pair.bytes.resize(pcd::RowPairBytes(source.pairWidth));
      pair.chroma.resize(source.lumaOnly ? 0 : 2 * d);
    }
    luma_.resize(d / 2);
    average_.resize(source.lumaOnly ? 0 : 2 * d);
  } catch (const std::bad_alloc&) {
    return kPcdOutOfMemory;
  }
  return kPcdOk;
}

PcdStatus BaseRowReader::Load(int index, Pair*& pair) {
  for (Pair& held : pairs_)
    if (held.index == index) {
      pair = &held;
      return kPcdOk;
    }
  // Rows come in increasing order: the older pair makes room.
  pair = pairs_[0].index <= pairs_[1].index ? &pairs_[0] : &pairs_[1];
  pair->index = -1;
  const std::uint32_t d = static_cast<std::uint32_t>(source_.pairWidth);
  const std::uint32_t size = source_.lumaOnly ? 2 * d : pcd::RowPairBytes(d);
  if (source_.memory) {
    std::copy_n(source_.memory + std::size_t{pcd::RowPairBytes(d)} * static_cast<std::size_t>(index), size, pair->bytes.data());
  } else if (PcdFileSeek(file_, source_.offset + pcd::RowPairBytes(d) * static_cast<std::uint32_t>(index)) != kPcdOk) {
    return kPcdSeekFailed;
  } else {
    std::uint32_t got = 0;
    if (PcdFileRead(file_, pair->bytes.data(), size, got) != kPcdOk) return kPcdReadFailed;
    if (got != size) return kPcdEndOfFile;
  }
  if (!source_.lumaOnly && !source_.halved) {
    const std::uint8_t* stored = pair->bytes.data() + 2 * d;
    PcdWidenRow2x(stored, static_cast<int>(d / 2), pair->chroma.data());
    PcdWidenRow2x(stored + d / 2, static_cast<int>(d / 2), pair->chroma.data() + d);
  }
  pair->index = index;
  return kPcdOk;
}

PcdStatus BaseRowReader::Row(int row, const std::uint8_t*& y, const std::uint8_t*& c1, const std::uint8_t*& c2) {
  const int d = source_.pairWidth;
  Pair* pair = nullptr;
  if (source_.halved) {
    // BASE/64: every second luma sample of the pair's first row, chroma as stored.
    PcdStatus status = Load(row, pair);
    if (status != kPcdOk) return status;
    for (int x = 0; x < d / 2; ++x) luma_[x] = pair->bytes[2 * x];
    y = luma_.data();
    c1 = source_.lumaOnly ? nullptr : pair->bytes.data() + 2 * d;
    c2 = source_.lumaOnly ? nullptr : c1 + d / 2;
    return kPcdOk;
  }
  PcdStatus status = Load(row / 2, pair);
  if (status != kPcdOk) return status;
  y = pair->bytes.data() + (row & 1) * d;
  if (source_.lumaOnly) {
    c1 = c2 = nullptr;
    return kPcdOk;
  }
  c1 = pair->chroma.data();
  c2 = c1 + d;
  // Odd rows sit between two pairs; the last row keeps its own pair's chroma.
  if ((row & 1) && row / 2 + 1 < source_.pairCount) {
    Pair* next = nullptr;
    status = Load(row / 2 + 1, next);
    if (status != kPcdOk) return status;
    PcdBlendRows2x(pair->chroma.data(), next->chroma.data(), d, average_.data());
    PcdBlendRows2x(pair->chroma.data() + d, next->chroma.data() + d, d, average_.data() + d);
    c1 = average_.data();
    c2 = c1 + d;
  }
  return kPcdOk;
}
