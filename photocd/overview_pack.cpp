// Overview pack: header, photo selection and thumbnails.
#include "overview_pack.h"

#include <cstring>
#include <new>
#include <utility>

#include "base_rows.h"
#include "image_file_name.h"
#include "pcd_bytes.h"
#include "row_writer.h"

const std::uint8_t kPcdGreyRamp[256] = {
    0, 1, 3, 4, 6, 7, 8, 10, 11, 13, 14, 15, 17, 18, 20, 21,
    22, 24, 25, 27, 28, 29, 31, 32, 34, 35, 37, 38, 39, 41, 42, 44,
    45, 46, 48, 49, 51, 52, 53, 55, 56, 58, 59, 60, 62, 63, 65, 66,
    67, 69, 70, 72, 73, 75, 76, 77, 79, 80, 82, 83, 84, 86, 87, 89,
    90, 91, 93, 94, 96, 97, 98, 100, 101, 103, 104, 105, 107, 108, 110, 111,
    113, 114, 115, 117, 118, 120, 121, 122, 124, 125, 127, 128, 129, 131, 132, 134,
    135, 136, 138, 139, 141, 142, 144, 145, 146, 148, 149, 151, 152, 153, 155, 156,
    158, 159, 160, 162, 163, 165, 166, 167, 169, 170, 172, 173, 174, 176, 177, 179,
    180, 182, 183, 184, 186, 187, 189, 190, 191, 193, 194, 196, 197, 198, 200, 201,
    203, 204, 205, 207, 208, 210, 211, 212, 214, 215, 217, 218, 220, 221, 222, 224,
    225, 227, 228, 229, 231, 232, 234, 235, 236, 238, 239, 241, 242, 243, 245, 246,
    248, 249, 250, 252, 253, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
    255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
    255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
    255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
    255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255,
};

namespace {

constexpr int kThumbnailPairWidth = 192;  // BASE/16 row pairs
constexpr int kThumbnailPairs = 64;

PcdStatus ReadHeader(OverviewPack& o) {
  std::uint8_t header[pcd::kOverviewHeaderSize];
  std::uint32_t got = 0;
  if (PcdFileRead(o.file, header, sizeof header, got) != kPcdOk || got != sizeof header) return kPcdReadFailed;
  if (std::memcmp(header, pcd::kOverviewSignature, std::strlen(pcd::kOverviewSignature)) != 0)
    return kPcdBadSignature;
  o.version = PcdBigEndian16(header + pcd::kOverviewVersionOffset);
  if (o.version < pcd::kMinFormatVersion) return kPcdOk;  // opens, but without photos
  const std::uint16_t count = PcdBigEndian16(header + pcd::kOverviewCountOffset);
  if (PcdFileRead(o.file, o.attributes, sizeof o.attributes, got) != kPcdOk || got != sizeof o.attributes)
    return kPcdReadFailed;
  // The attribute table has room for 2036 photos; a larger count cannot be right.
  o.photoCount = count > pcd::kOverviewMaxPhotos ? pcd::kOverviewMaxPhotos : count;
  o.orientation = PcdOrientationFromRotation(o.attributes[0]);
  return kPcdOk;
}

}  // namespace

PcdStatus PcdOpenOverview(const char* path, OverviewPack*& overview) {
  overview = nullptr;
  if (!path) return kPcdInvalidArgument;
  PcdFile* file = nullptr;
  PcdStatus status = PcdFileOpen(path, file);
  if (status != kPcdOk) return status;
  OverviewPack* o = new (std::nothrow) OverviewPack{};
  if (!o) {
    PcdFileClose(file);
    return kPcdOutOfMemory;
  }
  o->file = file;
  o->currentPhoto = 1;
  o->thumbnailLevel = 1;
  o->format = OutputFormat::Rgb24;
  o->bytesPerPixel = 3;
  o->componentSpacing = 1;
  status = ReadHeader(*o);
  if (status != kPcdOk) {
    PcdFileClose(file);
    delete o;
    return status;
  }
  overview = o;
  return kPcdOk;
}

PcdStatus PcdCloseOverview(OverviewPack* overview) {
  if (!overview) return kPcdInvalidArgument;
  PcdStatus status = PcdFileClose(overview->file);
  delete overview;
  return status;
}

PcdStatus PcdGetPhotoCount(const OverviewPack* overview, std::uint16_t& count) {
  count = 0;
  if (!overview) return kPcdInvalidArgument;
  count = overview->photoCount;
  return kPcdOk;
}

PcdStatus PcdSelectPhoto(OverviewPack* overview, int n) {
  if (!overview || n < 1 || n > overview->photoCount) return kPcdInvalidArgument;
  overview->currentPhoto = static_cast<std::uint16_t>(n);
  overview->orientation = PcdOrientationFromRotation(overview->attributes[n - 1]);
  return kPcdOk;
}

PcdStatus PcdGetPhotoOrientation(const OverviewPack* overview, Orientation& orientation) {
  if (!overview) return kPcdInvalidArgument;
  orientation = PcdOrientationFromRotation(overview->attributes[overview->currentPhoto - 1]);
  return kPcdOk;
}

PcdStatus PcdGetImageFileName(const OverviewPack* overview, char* buffer) {
  if (!overview || !buffer) return kPcdInvalidArgument;
  PcdStatus status = PcdFormatImageFileName(overview->currentPhoto, buffer, kPcdImageFileNameSize);
  if (status == kPcdOk && !buffer[0]) return kPcdBadSignature;
  return status;
}

PcdStatus PcdSetThumbnailLevel(OverviewPack* overview, int level) {
  if (!overview || level < 0 || level > 1) return kPcdInvalidArgument;
  overview->thumbnailLevel = level;
  return kPcdOk;
}

PcdStatus PcdSetFormat(OverviewPack* overview, int code) {
  if (!overview) return kPcdInvalidArgument;
  return PcdChangeFormat(code, overview->format, overview->bytesPerPixel, overview->componentSpacing);
}

PcdStatus PcdGetRowBytes(const OverviewPack* overview, int width, int& bytes) {
  bytes = 0;
  if (!overview || width < 0) return kPcdInvalidArgument;
  bytes = overview->bytesPerPixel * width;
  return kPcdOk;
}

PcdStatus PcdGetThumbnailSize(const OverviewPack* overview, int& width, int& height) {
  width = height = 0;
  if (!overview) return kPcdInvalidArgument;
  width = overview->thumbnailLevel ? 192 : 96;
  height = overview->thumbnailLevel ? 128 : 64;
  if (overview->orientation & kOrientationSwapsAxes) std::swap(width, height);
  return kPcdOk;
}

PcdStatus PcdReadThumbnail(OverviewPack* overview, std::uint8_t* buffer, std::ptrdiff_t rowStride) {
  if (!overview || !buffer || overview->photoCount == 0) return kPcdInvalidArgument;
  int width = 0, height = 0;
  PcdGetThumbnailSize(overview, width, height);
  RowWriter writer;
  const OutputTarget target{overview->format, overview->bytesPerPixel, overview->componentSpacing,
                            overview->orientation};
  PcdStatus status = writer.Begin(target, height, width, buffer, rowStride);
  if (status != kPcdOk) return status;

  const BaseRowSource source{
      pcd::kOverviewThumbOffset + pcd::kOverviewThumbStride * (overview->currentPhoto - 1u), kThumbnailPairWidth,
      kThumbnailPairs, overview->thumbnailLevel == 0, overview->format == OutputFormat::LumaOnly};
  BaseRowReader rows;
  status = rows.Begin(overview->file, source);
  for (int row = 0; status == kPcdOk && row < rows.Height(); ++row) {
    const std::uint8_t *y = nullptr, *c1 = nullptr, *c2 = nullptr;
    status = rows.Row(row, y, c1, c2);
    if (status == kPcdOk) writer.Write(y, c1, c2, rows.Width());
  }
  return status;
}
