#include "image_attributes.h"

#include "pcd_bytes.h"
#include "pcd_layout.h"

PcdStatus PcdParseAttributes(const std::uint8_t* block, std::size_t size, ImageAttributes& attributes) {
  if (!block || size < pcd::kAttrBlockSize) return kPcdInvalidArgument;
  const std::uint8_t flags = block[pcd::kAttrRotationByte];
  const std::uint8_t interleave = block[pcd::kAttrInterleaveByte];
  attributes.rotationCode = flags & pcd::kAttrRotationMask;
  attributes.resolutionClass = (flags & pcd::kAttrClassMask) >> pcd::kAttrClassShift;
  attributes.bits56 = (flags & pcd::kAttrBits56Mask) >> pcd::kAttrBits56Shift;
  attributes.imageSectors = interleave & 0x0F;
  attributes.audioSectors = interleave >> 4;
  attributes.k = PcdBigEndian16(block + pcd::kAttrKOffset);
  attributes.n = PcdBigEndian16(block + pcd::kAttrNOffset);
  if (attributes.resolutionClass == pcd::kResolutionClassInvalid) return kPcdBadVersion;
  // Groups of audio sectors with no image sectors would leave no image data
  // to address (and divide by zero when mapping sectors).
  if (attributes.audioSectors != 0 && attributes.imageSectors == 0) return kPcdBadSignature;
  return kPcdOk;
}

int PcdHighestOwnLevel(const ImageAttributes& attributes) {
  return pcd::kLevelBase + attributes.resolutionClass;
}

std::uint32_t PcdImageToDiscSector(std::uint32_t x, unsigned a, unsigned b) {
  if (b == 0 || a == 0) return x;
  return x % a + (a + b) * (x / a);
}

std::uint32_t PcdDiscToImageSector(std::uint32_t x, unsigned a, unsigned b) {
  if (b == 0) return x;
  return x % (a + b) + a * (x / (a + b));
}

std::uint32_t PcdTableSector16Base(const ImageAttributes& attributes) {
  if (attributes.n == 0) return 0;
  return PcdDiscToImageSector(attributes.k, attributes.imageSectors, attributes.audioSectors);
}

std::uint32_t PcdEntryOffset16Base(const ImageAttributes& attributes) {
  return attributes.n == 0 ? 0 : attributes.k;
}
