#include "image_info.h"

#include <cstring>

#include "pcd_bytes.h"
#include "pcd_layout.h"

static_assert(offsetof(ImagePackInfo, scanTime) == 8, "record layout");
static_assert(offsetof(ImagePackInfo, mediaType) == 16, "record layout");
static_assert(offsetof(ImagePackInfo, scannerPixelSize) == 105, "record layout");
static_assert(offsetof(ImagePackInfo, byte127) == 127, "record layout");
static_assert(offsetof(ImagePackInfo, photofinisher) == 160, "record layout");
static_assert(offsetof(ImagePackInfo, word324) == 324, "record layout");
static_assert(offsetof(ImagePackInfo, rightsFileName) == 327, "record layout");
static_assert(offsetof(ImagePackInfo, word355) == 355, "record layout");

namespace {

// Fields copied byte for byte: block offset, record offset, length.
struct Copy {
  std::uint32_t blockOffset;
  std::size_t recordOffset;
  std::size_t size;
};
constexpr Copy kCopies[] = {
    {pcd::kIpiMediaTypeOffset, offsetof(ImagePackInfo, mediaType), 1},
    {pcd::kIpiMediaInfoOffset, offsetof(ImagePackInfo, mediaInfo), 20},
    {pcd::kIpiScannerVendorOffset, offsetof(ImagePackInfo, scannerVendor), 20},
    {pcd::kIpiScannerProductOffset, offsetof(ImagePackInfo, scannerProduct), 16},
    {pcd::kIpiFirmwareVersionOffset, offsetof(ImagePackInfo, scannerFirmwareVersion), 4},
    {pcd::kIpiFirmwareDateOffset, offsetof(ImagePackInfo, scannerFirmwareDate), 8},
    {pcd::kIpiScannerSerialOffset, offsetof(ImagePackInfo, scannerSerial), 20},
    {pcd::kIpiPixelSizeOffset, offsetof(ImagePackInfo, scannerPixelSize), 2},
    {pcd::kIpiWorkstationMakerOffset, offsetof(ImagePackInfo, workstationMaker), 20},
    {pcd::kIpiByte132Offset, offsetof(ImagePackInfo, byte127), 1},
    {pcd::kIpiBytes133Offset, offsetof(ImagePackInfo, bytes128), 32},
    {pcd::kIpiPhotofinisherOffset, offsetof(ImagePackInfo, photofinisher), 60},
    {pcd::kIpiBytes225Offset, offsetof(ImagePackInfo, bytes220), 104},
    {pcd::kIpiWord329Offset, offsetof(ImagePackInfo, word324), 2},
    {pcd::kIpiWord360Offset, offsetof(ImagePackInfo, word355), 2},
};

// Cuts trailing blanks and NULs and lower-cases the letters. A name that
// fills all 28 characters stays unterminated, like the other text fields.
void TidyRightsFileName(char (&name)[28]) {
  std::size_t length = sizeof name;
  while (length > 0 && (name[length - 1] == ' ' || name[length - 1] == '\0')) --length;
  for (std::size_t i = 0; i < length; ++i)
    if (name[i] >= 'A' && name[i] <= 'Z') name[i] = static_cast<char>(name[i] - 'A' + 'a');
  std::memset(name + length, 0, sizeof name - length);
}

}  // namespace

PcdStatus PcdParseImageInfo(const std::uint8_t* block, std::size_t size, ImagePackInfo& info) {
  if (!block || size < pcd::kIpiBlockSize) return kPcdInvalidArgument;
  info = ImagePackInfo{};
  auto* record = reinterpret_cast<std::uint8_t*>(&info);
  for (const Copy& copy : kCopies) std::memcpy(record + copy.recordOffset, block + copy.blockOffset, copy.size);
  info.discVersion = PcdBigEndian16(block + pcd::kIpiVersionOffset);
  info.workstationVersion = PcdBigEndian16(block + pcd::kIpiWorkstationVersionOffset);
  info.magnification = PcdBigEndian16(block + pcd::kIpiMagnificationOffset);
  info.scanTime = PcdBigEndian32(block + pcd::kIpiScanTimeOffset);
  info.modificationTime = PcdBigEndian32(block + pcd::kIpiModificationTimeOffset);
  if (info.discVersion >= pcd::kIpiRightsMinVersion) {
    info.rightsStatus = block[pcd::kIpiRightsStatusOffset];
    std::memcpy(info.rightsFileName, block + pcd::kIpiRightsFileOffset, sizeof info.rightsFileName);
    TidyRightsFileName(info.rightsFileName);
  }
  return kPcdOk;
}
