// Levels above BASE: the BASE image enlarged step by step, with each level's
// residuals added on its own grid, decoded in bands of rows. Each band is
// built from exactly the samples of the coarser levels it depends on, so any
// rectangle comes out equal to the same part of the whole image.
#include <algorithm>
#include <new>

#include "decode_internal.h"
#include "image_decode.h"
#include "pcd_layout.h"
#include "pcd_upsample.h"
#include "residual_prefetch.h"
#include "sample_kernels.h"

namespace {

constexpr int kBandRows = 64;      // rows of the target level decoded at a time
constexpr int kPrefetchRows = 64;  // rows of the target level whose residuals one job of the second thread decodes
static_assert(kPrefetchRows >= kBandRows, "a job covers a whole band");
constexpr int kBaseChromaWidth = pcd::LevelWidth(pcd::kLevelBase) / 2;
constexpr int kBaseChromaHeight = pcd::LevelHeight(pcd::kLevelBase) / 2;

}  // namespace

// A window of some plane with its own samples.
struct PlaneBuffer {
  std::vector<std::uint8_t> samples;
  PcdPlaneWindow window{};

  PcdStatus Make(const PcdPlaneWindow& region) {
    try {
      samples.resize(static_cast<std::size_t>(region.rows) * region.columns);
    } catch (const std::bad_alloc&) {
      return kPcdOutOfMemory;
    }
    window = region;
    window.samples = samples.data();
    window.stride = region.columns;
    return kPcdOk;
  }
  std::uint8_t* Row(int row) { return samples.data() + static_cast<std::ptrdiff_t>(row - window.top) * window.stride; }
};

// Everything one band needs, kept with the pack from band to band and from
// call to call, so its rows are neither allocated nor cleared again.
struct DecodeBuffers {
  PlaneBuffer luma[pcd::kMaxLevel + 1];  // luma window of each level, BASE to the target
  PlaneBuffer baseChroma[2];             // BASE chroma, 384 x 256
  PlaneBuffer chroma16[2];               // chroma on the 16BASE chroma grid, 1536 x 1024
  PlaneBuffer chroma64[2];               // on the 64BASE chroma grid, 3072 x 2048
  PlaneBuffer fullChroma[2];             // at every sample of the target level
};

void PcdFreeDecodeBuffers(DecodeBuffers* buffers) { delete buffers; }

namespace {

// The levels whose residual rows the second thread decodes: 16BASE and up,
// which balances the two threads (4BASE stays with the thread that builds).
// Each stream of rows stays on one handle, so it is read as by one thread.
inline bool PcdOnSecondThread(int level) { return level >= pcd::kLevel16Base; }

// Where a band's residual rows come from: the pack itself, or the rows the
// second thread decoded for this band.
struct RowSource {
  ImagePack& pack;
  const ResidualPrefetcher* prefetched;

  // Damage the row met is noted in the pack's report; its values still count.
  PcdStatus Get(int level, int plane, int row, const std::int8_t*& values) const {
    PcdStatus status = kPcdOk;
    if (!prefetched || !PcdOnSecondThread(level)) {
      status = PcdResidualRow(pack, level, plane, row, values);
    } else {
      values = prefetched->Find({level, plane, row}, status);
      if (!values) return kPcdBadSignature;
    }
    if (!PcdIsDamage(status)) return status;
    PcdRecordRowDamage(*pack.decode, level, plane, row, status);
    return kPcdOk;
  }
};

PcdStatus AddResidualRow(const RowSource& source, int level, int plane, int row, PlaneBuffer& target) {
  const std::int8_t* values = nullptr;
  PcdStatus status = source.Get(level, plane, row, values);
  if (status != kPcdOk) return status;
  PcdAddResiduals(target.Row(row), values + target.window.left, target.window.columns);
  return kPcdOk;
}

PcdStatus AddLumaResiduals(const RowSource& source, int level, PlaneBuffer& luma) {
  PcdStatus status = kPcdOk;
  for (int row = luma.window.top; status == kPcdOk && row < luma.window.top + luma.window.rows; ++row)
    status = AddResidualRow(source, level, 0, row, luma);
  return status;
}

// Chroma 1 and chroma 2 of each row in turn, the order they are stored in.
PcdStatus AddChromaResiduals(const RowSource& source, int level, PlaneBuffer* chroma) {
  PcdStatus status = kPcdOk;
  for (int row = chroma[0].window.top; status == kPcdOk && row < chroma[0].window.top + chroma[0].window.rows; ++row) {
    status = AddResidualRow(source, level, 1, row, chroma[0]);
    if (status == kPcdOk) status = AddResidualRow(source, level, 2, row, chroma[1]);
  }
  return status;
}

// The luma and chroma windows from BASE's row pairs (read whole and repaired once).
PcdStatus ReadBase(ImagePack& pack, DecodeBuffers& band, bool withChroma) {
  const PcdPlaneWindow& luma = band.luma[pcd::kLevelBase].window;
  const std::uint8_t* pairs = nullptr;
  const PcdStatus status = PcdReadBaseLevel(&pack, pcd::kLevelBase, pairs);
  if (status != kPcdOk) return status;
  const std::uint32_t pairBytes = pcd::RowPairBytes(pcd::LevelWidth(pcd::kLevelBase));
  const int width = pcd::LevelWidth(pcd::kLevelBase);
  PlaneBuffer& l = band.luma[pcd::kLevelBase];
  for (int row = luma.top; row < luma.top + luma.rows; ++row) {
    const std::uint8_t* pair = pairs + pairBytes * static_cast<std::size_t>(row / 2);
    std::copy_n(pair + (row & 1) * width + luma.left, luma.columns, l.Row(row));
  }
  if (!withChroma) return kPcdOk;
  for (int plane = 0; plane < 2; ++plane) {
    PlaneBuffer& c = band.baseChroma[plane];
    for (int row = c.window.top; row < c.window.top + c.window.rows; ++row) {
      const std::uint8_t* pair = pairs + pairBytes * static_cast<std::size_t>(row);
      std::copy_n(pair + 2 * width + plane * (width / 2) + c.window.left, c.window.columns, c.Row(row));
    }
  }
  return kPcdOk;
}

// The windows of every plane that a band of the target level is built from.
struct BandWindows {
  PcdPlaneWindow luma[pcd::kMaxLevel + 1];  // BASE to the target
  PcdPlaneWindow baseChroma, chroma16, chroma64;
};

BandWindows Windows(int target, const PcdPlaneWindow& region, bool withChroma) {
  // From the target level down: what each step needs of the one before.
  BandWindows w{};
  w.luma[target] = region;
  for (int level = target - 1; level >= pcd::kLevelBase; --level)
    w.luma[level] = PcdSourceWindow(w.luma[level + 1], 2, pcd::LevelWidth(level), pcd::LevelHeight(level));
  if (!withChroma) return w;
  // Chroma of level L has the size of luma of level L - 1.
  if (target == pcd::kLevel4Base) {
    w.baseChroma = PcdSourceWindow(region, 4, kBaseChromaWidth, kBaseChromaHeight);
    return w;
  }
  const int w16 = pcd::LevelWidth(pcd::kLevel4Base), h16 = pcd::LevelHeight(pcd::kLevel4Base);
  const int w64 = pcd::LevelWidth(pcd::kLevel16Base), h64 = pcd::LevelHeight(pcd::kLevel16Base);
  if (target == pcd::kLevel64Base) {
    w.chroma64 = PcdSourceWindow(region, 2, w64, h64);
    w.chroma16 = PcdSourceWindow(w.chroma64, 2, w16, h16);
  } else {
    w.chroma16 = PcdSourceWindow(region, 2, w16, h16);
  }
  w.baseChroma = PcdSourceWindow(w.chroma16, 4, kBaseChromaWidth, kBaseChromaHeight);
  return w;
}

// The residual rows a band takes from the second thread, in the order
// DecodeBand adds them.
void ListResidualRows(int target, const BandWindows& w, bool withChroma, std::vector<ResidualRowKey>& keys) {
  keys.clear();
  for (int level = pcd::kLevel4Base; level <= target; ++level) {
    if (!PcdOnSecondThread(level)) continue;
    for (int row = w.luma[level].top; row < w.luma[level].top + w.luma[level].rows; ++row)
      keys.push_back({level, 0, row});
  }
  if (!withChroma) return;
  for (int level = pcd::kLevel16Base; level <= target; ++level) {
    if (!PcdOnSecondThread(level)) continue;
    const PcdPlaneWindow& chroma = level == pcd::kLevel16Base ? w.chroma16 : w.chroma64;
    for (int row = chroma.top; row < chroma.top + chroma.rows; ++row) {
      keys.push_back({level, 1, row});
      keys.push_back({level, 2, row});
    }
  }
}

PcdStatus DecodeBand(const RowSource& source, int target, const PcdPlaneWindow& region, bool withChroma,
                     DecodeBuffers& band, RowWriter& writer) {
  ImagePack& pack = source.pack;
  const BandWindows windows = Windows(target, region, withChroma);
  const PcdPlaneWindow* lumaWindow = windows.luma;
  const PcdPlaneWindow &window64 = windows.chroma64, &window16 = windows.chroma16, &baseWindow = windows.baseChroma;

  PcdStatus status = band.luma[pcd::kLevelBase].Make(lumaWindow[pcd::kLevelBase]);
  for (int plane = 0; withChroma && plane < 2 && status == kPcdOk; ++plane)
    status = band.baseChroma[plane].Make(baseWindow);
  if (status == kPcdOk) status = ReadBase(pack, band, withChroma);

  // Luma: 2x, then that level's residuals, up to the target.
  for (int level = pcd::kLevel4Base; status == kPcdOk && level <= target; ++level) {
    status = band.luma[level].Make(lumaWindow[level]);
    if (status != kPcdOk) break;
    PcdEnlargeWindow2x(band.luma[level - 1].window, pcd::LevelWidth(level - 1), pcd::LevelHeight(level - 1),
                       band.luma[level].window);
    status = AddLumaResiduals(source, level, band.luma[level]);
  }

  // Chroma: 4x to the 16BASE grid (or straight to 4BASE), residuals, 2x on.
  PlaneBuffer* chroma = band.baseChroma;
  int chromaWidth = kBaseChromaWidth, chromaHeight = kBaseChromaHeight;
  if (withChroma && target >= pcd::kLevel16Base) {
    for (int plane = 0; plane < 2 && status == kPcdOk; ++plane) {
      status = band.chroma16[plane].Make(window16);
      if (status == kPcdOk)
        PcdEnlargeWindow4x(band.baseChroma[plane].window, chromaWidth, chromaHeight, band.chroma16[plane].window);
    }
    if (status == kPcdOk) status = AddChromaResiduals(source, pcd::kLevel16Base, band.chroma16);
    chroma = band.chroma16;
    chromaWidth = pcd::LevelWidth(pcd::kLevel4Base);
    chromaHeight = pcd::LevelHeight(pcd::kLevel4Base);
    if (target == pcd::kLevel64Base) {
      for (int plane = 0; plane < 2 && status == kPcdOk; ++plane) {
        status = band.chroma64[plane].Make(window64);
        if (status == kPcdOk)
          PcdEnlargeWindow2x(band.chroma16[plane].window, chromaWidth, chromaHeight, band.chroma64[plane].window);
      }
      if (status == kPcdOk) status = AddChromaResiduals(source, pcd::kLevel64Base, band.chroma64);
      chroma = band.chroma64;
      chromaWidth = pcd::LevelWidth(pcd::kLevel16Base);
      chromaHeight = pcd::LevelHeight(pcd::kLevel16Base);
    }
  }
  for (int plane = 0; withChroma && plane < 2 && status == kPcdOk; ++plane) {
    status = band.fullChroma[plane].Make(region);
    if (status != kPcdOk) break;
    if (target == pcd::kLevel4Base)
      PcdEnlargeWindow4x(chroma[plane].window, chromaWidth, chromaHeight, band.fullChroma[plane].window);
    else
      PcdEnlargeWindow2x(chroma[plane].window, chromaWidth, chromaHeight, band.fullChroma[plane].window);
  }
  if (status != kPcdOk) return status;

  PlaneBuffer& luma = band.luma[target];
  for (int row = region.top; row < region.top + region.rows; ++row) {
    const std::uint8_t* c1 = withChroma ? band.fullChroma[0].Row(row) : nullptr;
    const std::uint8_t* c2 = withChroma ? band.fullChroma[1].Row(row) : nullptr;
    writer.Write(luma.Row(row), c1, c2, region.columns);
  }
  return kPcdOk;
}

// Rows [top, bottom) of the target level across the rectangle's columns.
PcdPlaneWindow RowSpan(int top, int bottom, const OutputRect& stored) {
  return {nullptr, 0, top, stored.left, bottom - top, stored.right - stored.left};
}

// Starts the second thread on the residual rows of some rows of the target
// level, unless that job is already asked for.
void RequestRows(ResidualPrefetcher& prefetcher, int level, const PcdPlaneWindow& rows, bool withChroma,
                 std::vector<ResidualRowKey>& keys) {
  ListResidualRows(level, Windows(level, rows, withChroma), withChroma, keys);
  if (!prefetcher.Holds(keys)) prefetcher.Request(keys);
}

// Two threads: the second one decodes the residual rows of the next
// kPrefetchRows rows while this one builds the current ones from the rows it
// decoded before. Jobs span several of the reader's small rectangles, so the
// threads hand over rarely and an uneven band evens out within a job.
PcdStatus DecodeOverlapped(ImagePack& pack, DecodeState& state, const OutputRect& stored, bool withChroma,
                           DecodeBuffers& band, RowWriter& writer) {
  ResidualPrefetcher& prefetcher = *state.prefetcher;
  PrefetchedRows& held = state.prefetched;
  const RowSource source{pack, &prefetcher};
  const int height = pcd::LevelHeight(pack.level);
  // A reader walking up the picture asks for the rows just above the last ones.
  const bool backwards = state.lastStored.top == stored.bottom && state.lastLevel >= 0;
  std::vector<ResidualRowKey> keys;
  PcdStatus status = kPcdOk;
  try {
    for (int top = stored.top; status == kPcdOk && top < stored.bottom; top += kBandRows) {
      const PcdPlaneWindow region = RowSpan(top, std::min<int>(stored.bottom, top + kBandRows), stored);
      const bool covered = held.level == pack.level && held.withChroma == withChroma && held.top <= region.top &&
                           region.top + region.rows <= held.bottom;
      if (!covered) {
        held = {};
        const int first = backwards ? std::max(0, region.top + region.rows - kPrefetchRows) : region.top;
        const int last = backwards ? region.top + region.rows : std::min(height, region.top + kPrefetchRows);
        RequestRows(prefetcher, pack.level, RowSpan(first, last, stored), withChroma, keys);
        status = prefetcher.Take();
        if (status != kPcdOk) break;
        held = {pack.level, withChroma, first, last};
        const int nextFirst = backwards ? std::max(0, first - kPrefetchRows) : last;
        const int nextLast = backwards ? first : std::min(height, last + kPrefetchRows);
        if (nextFirst < nextLast)
          RequestRows(prefetcher, pack.level, RowSpan(nextFirst, nextLast, stored), withChroma, keys);
      }
      status = DecodeBand(source, pack.level, region, withChroma, band, writer);
    }
  } catch (const std::bad_alloc&) {
    status = kPcdOutOfMemory;
  }
  state.lastStored = stored;
  state.lastLevel = pack.level;
  return status;
}

}  // namespace

PcdStatus PcdDecodeHighLevel(ImagePack& pack, const OutputRect& stored, RowWriter& writer) {
  const bool withChroma = pack.format != OutputFormat::LumaOnly;
  DecodeState* state = nullptr;
  PcdStatus status = PcdGetDecodeState(pack, state);
  if (status != kPcdOk) return status;
  if (!state->buffers) state->buffers = new (std::nothrow) DecodeBuffers;
  if (!state->buffers) return kPcdOutOfMemory;
  DecodeBuffers* band = state->buffers;
  if (state->threads > 1 && !state->prefetcher && pack.path) {
    auto* prefetcher = new (std::nothrow) ResidualPrefetcher;
    if (prefetcher && prefetcher->Start(pack.path) == kPcdOk)
      state->prefetcher.reset(prefetcher);
    else
      delete prefetcher;  // decode on this thread alone
  }
  if (state->threads > 1 && state->prefetcher) {
    status = DecodeOverlapped(pack, *state, stored, withChroma, *band, writer);
  } else {
    const RowSource source{pack, nullptr};
    for (int top = stored.top; status == kPcdOk && top < stored.bottom; top += kBandRows) {
      const PcdPlaneWindow region{nullptr, 0, top, stored.left, std::min(kBandRows, stored.bottom - top),
                                  stored.right - stored.left};
      status = DecodeBand(source, pack.level, region, withChroma, *band, writer);
    }
  }
  PcdFreeRowTables(pack);
  return status;
}
