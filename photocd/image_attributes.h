// The attribute block of an image pack: rotation, resolution class, the
// 16BASE table location and the audio interleave.
#pragma once
#include <cstddef>
#include <cstdint>

#include "pcd_status.h"

struct ImageAttributes {
  std::uint8_t rotationCode;     // 0-3
  std::uint8_t resolutionClass;  // 0 up to BASE, 1 up to 4BASE, 2 up to 16BASE
  std::uint8_t bits56;           // bits 5-6 of the attribute byte, kept as read
  std::uint8_t imageSectors;     // interleave a: image sectors per group
  std::uint8_t audioSectors;     // interleave b: audio sectors per group; 0 = no interleave
  std::uint16_t k;               // as stored
  std::uint16_t n;               // as stored; nonzero when the pack holds 16BASE data
};

// Decodes the attribute block (at least pcd::kAttrBlockSize bytes). 3002 for
// resolution class 3; 3000 for an interleave with audio but no image sectors.
PcdStatus PcdParseAttributes(const std::uint8_t* block, std::size_t size, ImageAttributes& attributes);

// Highest level the pack holds itself: 3, 4 or 5.
int PcdHighestOwnLevel(const ImageAttributes& attributes);

// Image sector number x to disc sector, inserting the audio sectors.
std::uint32_t PcdImageToDiscSector(std::uint32_t x, unsigned a, unsigned b);
// Disc sector (as stored in tables) to image sector, removing them.
std::uint32_t PcdDiscToImageSector(std::uint32_t x, unsigned a, unsigned b);

// The 16BASE table sector T and entry offset E; both 0 without 16BASE data.
std::uint32_t PcdTableSector16Base(const ImageAttributes& attributes);
std::uint32_t PcdEntryOffset16Base(const ImageAttributes& attributes);
