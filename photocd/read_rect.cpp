// PcdReadRect: checks, placement, and the base levels read directly from
// their row pairs. Higher levels are built in high_levels.cpp.
#include <algorithm>

#include "decode_internal.h"
#include "image_decode.h"
#include "pcd_layout.h"

PcdStatus PcdSetFormat(ImagePack* pack, int code) {
  if (!pack) return kPcdInvalidArgument;
  return PcdChangeFormat(code, pack->format, pack->bytesPerPixel, pack->componentSpacing);
}

PcdStatus PcdSetDecodeThreads(ImagePack* pack, int threads) {
  if (!pack || threads < 1) return kPcdInvalidArgument;
  DecodeState* state = nullptr;
  const PcdStatus status = PcdGetDecodeState(*pack, state);
  if (status != kPcdOk) return status;
  state->threads = std::min(threads, 2);
  if (state->threads == 1) state->prefetcher.reset();
  return kPcdOk;
}

PcdStatus PcdDecodeBaseLevel(ImagePack& pack, const OutputRect& stored, RowWriter& writer) {
  BaseRowSource source = PcdImagePackBaseSource(pack.level, pack.format == OutputFormat::LumaOnly);
  // The stored rows, with zeroed sectors filled from the level below (BASE/64 is read from BASE/16).
  PcdStatus status = PcdReadBaseLevel(&pack, std::max(pack.level, pcd::kLevelBase16), source.memory);
  if (status != kPcdOk) return status;
  BaseRowReader rows;
  status = rows.Begin(pack.file, source);
  for (int row = stored.top; status == kPcdOk && row < stored.bottom; ++row) {
    const std::uint8_t *y = nullptr, *c1 = nullptr, *c2 = nullptr;
    status = rows.Row(row, y, c1, c2);
    if (status != kPcdOk) break;
    const int left = stored.left;
    writer.Write(y + left, c1 ? c1 + left : nullptr, c2 ? c2 + left : nullptr, stored.right - stored.left);
  }
  return status;
}

PcdStatus PcdReadRect(ImagePack* pack, const OutputRect* rect, std::uint8_t* buffer, std::ptrdiff_t rowStride) {
  if (!pack || !buffer) return kPcdInvalidArgument;
  const OutputRect wanted = rect ? *rect : OutputRect{0, 0, static_cast<std::int16_t>(pack->outputHeight),
                                                      static_cast<std::int16_t>(pack->outputWidth)};
  OutputRect stored{};
  PcdStatus status =
      PcdMapRectToStored(pack->orientation, wanted, pack->outputWidth, pack->outputHeight, stored);
  if (status != kPcdOk) return status;
  status = PcdCheckLevelAvailable(*pack, pack->level);
  if (status != kPcdOk) return status;
  pack->rect = wanted;

  RowWriter writer;
  const OutputTarget target{pack->format, pack->bytesPerPixel, pack->componentSpacing, pack->orientation};
  status = writer.Begin(target, wanted.bottom - wanted.top, wanted.right - wanted.left, buffer, rowStride);
  if (status != kPcdOk) return status;
  if (pack->level <= pcd::kLevelBase) return PcdDecodeBaseLevel(*pack, stored, writer);
  return PcdDecodeHighLevel(*pack, stored, writer);
}
