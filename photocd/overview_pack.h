// The overview pack (OVERVIEW.PCD): photo count, each photo's orientation
// and a BASE/16 thumbnail of every photo.
#pragma once
#include <cstddef>
#include <cstdint>

#include "orientation.h"
#include "output_format.h"
#include "pcd_block.h"
#include "pcd_file.h"
#include "pcd_layout.h"
#include "pcd_status.h"

// Owned by whoever opened it; released with PcdCloseOverview.
struct OverviewPack {
  PcdFile* file;
  std::uint16_t version;
  std::uint16_t photoCount;
  std::uint16_t currentPhoto;   // 1-based
  Orientation orientation;      // of the current photo
  int thumbnailLevel;           // 0: 96 x 64, 1: 192 x 128
  OutputFormat format;
  int bytesPerPixel;
  int componentSpacing;
  std::uint8_t attributes[pcd::kOverviewMaxPhotos];
};

// 3010 when the file cannot be opened, 3000 for a wrong signature, 3007 for a
// short header, 3016; a version below 0.5 opens with no photos.
PcdStatus PcdOpenOverview(const char* path, OverviewPack*& overview);
// 3001 without a handle; 3008 when closing the file fails (the handle is freed).
PcdStatus PcdCloseOverview(OverviewPack* overview);

PcdStatus PcdGetPhotoCount(const OverviewPack* overview, std::uint16_t& count);
// Makes photo n (1 to the count) current; 3001 otherwise.
PcdStatus PcdSelectPhoto(OverviewPack* overview, int n);
PcdStatus PcdGetPhotoOrientation(const OverviewPack* overview, Orientation& orientation);
// "img%4.4d.pcd" of the current photo into a buffer of at least 13 characters.
PcdStatus PcdGetImageFileName(const OverviewPack* overview, char* buffer);
// 0 (96 x 64) or 1 (192 x 128); 3001 otherwise.
PcdStatus PcdSetThumbnailLevel(OverviewPack* overview, int level);
// As for image packs: codes 10 to 13.
PcdStatus PcdSetFormat(OverviewPack* overview, int code);
PcdStatus PcdGetRowBytes(const OverviewPack* overview, int width, int& bytes);

// Size of the current photo's thumbnail in display orientation.
PcdStatus PcdGetThumbnailSize(const OverviewPack* overview, int& width, int& height);
// Decodes the current photo's thumbnail into buffer (rows rowStride bytes
// apart, bottom-up for orientation 0). 3001, 3009, 3007, 5, 3016.
PcdStatus PcdReadThumbnail(OverviewPack* overview, std::uint8_t* buffer, std::ptrdiff_t rowStride);

// A packed bitmap of the current thumbnail in a new block owned by the
// caller: 40-byte BITMAPINFOHEADER, a 256-entry colour table (grey ramp for
// LumaOnly, the 3-3-2 palette for Rgb24 and Indexed8, none for RawYcc24),
// bottom-up pixel rows and 12 spare bytes. No block on failure.
PcdStatus PcdMakeThumbnailBitmap(OverviewPack* overview, PcdBlock& block);

// The same bitmap made from the photo's own image pack, which holds BASE/64
// and BASE/16 too: for a photo whose overview thumbnail cannot be read (a
// scratched disc often loses overview sectors while the packs read fine).
// Takes the overview's current level, format and orientation; the statuses
// of opening and decoding the pack.
PcdStatus PcdMakePackThumbnailBitmap(const OverviewPack* overview, const char* imagePackPath, PcdBlock& block);

// The same bitmap from an image pack alone (a disc without an overview pack,
// or loose packs), at level 0 (BASE/64) or 1 (BASE/16), upright as the pack's
// own rotation says; only the pack's header and that level's sectors are read.
PcdStatus PcdMakeImagePackThumbnail(const char* imagePackPath, int level, OutputFormat format, PcdBlock& block);

// Grey value of palette entry i of LumaOnly thumbnails.
extern const std::uint8_t kPcdGreyRamp[256];
