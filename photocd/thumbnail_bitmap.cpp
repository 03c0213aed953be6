// The packed bitmap of a thumbnail handed to the thumbnail loader, from the
// overview pack or, when that cannot be read, from the photo's image pack.
#include <cstring>

#include "colour_tables.h"
#include "image_decode.h"
#include "overview_pack.h"

namespace {

constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kColourTableSize = 256 * 4;
constexpr std::size_t kSpareBytes = 12;
constexpr std::uint32_t kBiRgb = 0;

void PutLe16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}

void PutLe32(std::uint8_t* p, std::uint32_t v) {
  PutLe16(p, v & 0xFFFF);
  PutLe16(p + 2, v >> 16);
}

// BITMAPINFOHEADER, little-endian as on disk and in memory on Windows.
void WriteInfoHeader(std::uint8_t* h, int width, int height, int bitCount, std::uint32_t imageSize,
                     std::uint32_t coloursUsed) {
  PutLe32(h + 0, kInfoHeaderSize);
  PutLe32(h + 4, static_cast<std::uint32_t>(width));
  PutLe32(h + 8, static_cast<std::uint32_t>(height));
  PutLe16(h + 12, 1);
  PutLe16(h + 14, static_cast<std::uint32_t>(bitCount));
  PutLe32(h + 16, kBiRgb);
  PutLe32(h + 20, imageSize);
  PutLe32(h + 24, 0);
  PutLe32(h + 28, 0);
  PutLe32(h + 32, coloursUsed);
  PutLe32(h + 36, 0);
}

// RGBQUAD entries: blue, green, red, reserved.
void WriteColourTable(std::uint8_t* table, bool grey) {
  for (int i = 0; i < 256; ++i) {
    const pcd::Rgb c = grey ? pcd::Rgb{kPcdGreyRamp[i], kPcdGreyRamp[i], kPcdGreyRamp[i]} : pcd::PaletteEntry(i);
    table[4 * i] = c.b;
    table[4 * i + 1] = c.g;
    table[4 * i + 2] = c.r;
  }
}

// A block of the thumbnail layout for a picture of width x height in the
// format, its pixels filled by decode(pixels, rowBytes).
template <typename Decode>
PcdStatus MakeBlock(OutputFormat format, int bytesPerPixel, int width, int height, Decode decode, PcdBlock& block) {
  const bool oneByte = format == OutputFormat::LumaOnly || format == OutputFormat::Indexed8;
  if (bytesPerPixel != (oneByte ? 1 : 3)) return kPcdInvalidArgument;
  const int rowBytes = bytesPerPixel * width;
  const std::size_t pixels = static_cast<std::size_t>(rowBytes) * height;
  const std::size_t table = format == OutputFormat::RawYcc24 ? 0 : kColourTableSize;
  void* memory = nullptr;
  PcdBlock made = PcdAllocBlock(kInfoHeaderSize + table + pixels + kSpareBytes, memory);
  if (!made) return kPcdOutOfMemory;
  auto* bytes = static_cast<std::uint8_t*>(memory);

  PcdStatus status = decode(bytes + kInfoHeaderSize + table, rowBytes);
  if (status != kPcdOk) {
    PcdUnlockBlock(made);
    PcdFreeBlock(made);
    return status;
  }
  WriteInfoHeader(bytes, width, height, oneByte ? 8 : 24, static_cast<std::uint32_t>(pixels),
                  format == OutputFormat::Rgb24 ? 256 : 0);
  if (table) WriteColourTable(bytes + kInfoHeaderSize, format == OutputFormat::LumaOnly);
  PcdUnlockBlock(made);
  block = made;
  return kPcdOk;
}

}  // namespace

PcdStatus PcdMakeThumbnailBitmap(OverviewPack* overview, PcdBlock& block) {
  block = nullptr;
  if (!overview) return kPcdInvalidArgument;
  int width = 0, height = 0;
  PcdGetThumbnailSize(overview, width, height);
  return MakeBlock(
      overview->format, overview->bytesPerPixel, width, height,
      [overview](std::uint8_t* pixels, int rowBytes) { return PcdReadThumbnail(overview, pixels, rowBytes); }, block);
}

namespace {

// The thumbnail from an image pack at level 0 or 1, turned by orientation, or
// as the pack itself says when there is none.
PcdStatus MakePackBlock(const char* imagePackPath, int level, OutputFormat format, const Orientation* orientation,
                        PcdBlock& block) {
  block = nullptr;
  if (!imagePackPath || level < 0 || level > 1) return kPcdInvalidArgument;
  ImagePack* pack = nullptr;
  PcdStatus status = PcdOpenImagePack(imagePackPath, pack);
  if (status != kPcdOk) return status;
  if (orientation) pack->orientation = *orientation;
  status = PcdSetResolution(pack, level);
  if (status == kPcdOk) status = PcdSetFormat(pack, static_cast<int>(format));
  if (status == kPcdOk)
    status = MakeBlock(
        pack->format, pack->bytesPerPixel, pack->outputWidth, pack->outputHeight,
        [pack](std::uint8_t* pixels, int rowBytes) { return PcdReadRect(pack, nullptr, pixels, rowBytes); }, block);
  PcdCloseImagePack(pack);
  return status;
}

}  // namespace

PcdStatus PcdMakePackThumbnailBitmap(const OverviewPack* overview, const char* imagePackPath, PcdBlock& block) {
  block = nullptr;
  if (!overview) return kPcdInvalidArgument;
  // Turned as the overview shows it.
  return MakePackBlock(imagePackPath, overview->thumbnailLevel, overview->format, &overview->orientation, block);
}

PcdStatus PcdMakeImagePackThumbnail(const char* imagePackPath, int level, OutputFormat format, PcdBlock& block) {
  return MakePackBlock(imagePackPath, level, format, nullptr, block);
}
