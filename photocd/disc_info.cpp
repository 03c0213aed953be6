#include "disc_info.h"

#include <cstddef>
#include <cstring>

#include "pcd_bytes.h"
#include "pcd_file.h"
#include "pcd_layout.h"

namespace {

// The fields in file order, each read with one call: where it lands in the
// record and how long it is.
struct Field {
  std::uint32_t fileOffset;
  std::size_t recordOffset;
  std::uint32_t size;
};
constexpr Field kFields[] = {
    {0, offsetof(DiscInfo, signature), 8},
    {pcd::kDiscVersionMajorOffset, offsetof(DiscInfo, versionMajor), 1},
    {pcd::kDiscVersionMinorOffset, offsetof(DiscInfo, versionMinor), 1},
    {pcd::kDiscSerialOffset, offsetof(DiscInfo, serialNumber), 12},
    {pcd::kDiscCreationTimeOffset, offsetof(DiscInfo, creationTime), 4},
    {pcd::kDiscSecondTimeOffset, offsetof(DiscInfo, secondTime), 4},
    {pcd::kDiscWord30Offset, offsetof(DiscInfo, word32), 2},
    {pcd::kDiscByte32Offset, offsetof(DiscInfo, byte34), 1},
    {pcd::kDiscByte33Offset, offsetof(DiscInfo, byte35), 1},
    {pcd::kDiscBytes34Offset, offsetof(DiscInfo, bytes36), 3},
    {pcd::kDiscByte37Offset, offsetof(DiscInfo, byte39), 1},
};

constexpr bool FieldsFollowEachOther() {
  std::uint32_t next = 0;
  for (const Field& field : kFields) {
    if (field.fileOffset != next) return false;
    next += field.size;
  }
  return next == pcd::kDiscInfoFileSize;
}
static_assert(FieldsFollowEachOther(), "INFO.PCD is read sequentially without gaps");

PcdStatus ReadFields(PcdFile* file, DiscInfo& info) {
  auto* record = reinterpret_cast<unsigned char*>(&info);
  for (const Field& field : kFields) {
    std::uint32_t got = 0;
    PcdStatus status = PcdFileRead(file, record + field.recordOffset, field.size, got);
    if (status != kPcdOk) return status;
    // A short field would leave the record half filled: treat it like no data.
    if (got != field.size) return kPcdReadFailed;
  }
  if (std::memcmp(info.signature, pcd::kDiscSignature, sizeof info.signature) != 0) return kPcdBadSignature;
  if (info.versionMajor * 256u + info.versionMinor < pcd::kMinFormatVersion) return kPcdBadVersion;
  return kPcdOk;
}

}  // namespace

PcdStatus PcdReadDiscInfo(const char* path, DiscInfo& info) {
  PcdFile* file = nullptr;
  PcdStatus status = PcdFileOpen(path, file);
  if (status != kPcdOk) return status;
  status = ReadFields(file, info);
  if (status != kPcdOk) {
    PcdFileClose(file);
    return status;
  }
  if (PcdFileClose(file) != kPcdOk) status = kPcdCloseFailed;
  auto* bytes = reinterpret_cast<const std::uint8_t*>(&info);
  info.creationTime = PcdBigEndian32(bytes + offsetof(DiscInfo, creationTime));
  info.secondTime = PcdBigEndian32(bytes + offsetof(DiscInfo, secondTime));
  info.word32 = PcdBigEndian16(bytes + offsetof(DiscInfo, word32));
  return status;
}
