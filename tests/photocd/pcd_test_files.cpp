#include "pcd_test_files.h"

#include <cstring>
#include <fstream>
#include <random>

#include "pcd_layout.h"

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::random_device random;
  path_ = fs::temp_directory_path() / ("lumivexa-pcd-" + std::to_string(random()) + std::to_string(random()));
  fs::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(path_, ignored);
}

std::string TempDir::Write(const std::string& relative, const Bytes& bytes) const {
  fs::path file = path_ / relative;
  fs::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return file.string();
}

void PutBigEndian16(Bytes& bytes, std::size_t offset, std::uint16_t value) {
  bytes.at(offset) = static_cast<std::uint8_t>(value >> 8);
  bytes.at(offset + 1) = static_cast<std::uint8_t>(value);
}

void PutBigEndian32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
  PutBigEndian16(bytes, offset, static_cast<std::uint16_t>(value >> 16));
  PutBigEndian16(bytes, offset + 2, static_cast<std::uint16_t>(value));
}

Bytes DiscInfoBytes(std::uint8_t major, std::uint8_t minor, std::uint32_t creation, std::uint32_t second) {
  Bytes bytes(pcd::kDiscInfoFileSize, 0);
  std::memcpy(bytes.data(), pcd::kDiscSignature, 8);
  bytes[pcd::kDiscVersionMajorOffset] = major;
  bytes[pcd::kDiscVersionMinorOffset] = minor;
  std::memcpy(bytes.data() + pcd::kDiscSerialOffset, "SERIAL000042", 12);
  PutBigEndian32(bytes, pcd::kDiscCreationTimeOffset, creation);
  PutBigEndian32(bytes, pcd::kDiscSecondTimeOffset, second);
  PutBigEndian16(bytes, pcd::kDiscWord30Offset, 0x1234);
  bytes[pcd::kDiscByte37Offset] = 0x77;
  return bytes;
}

Bytes ImagePackBytes(const PackFields& fields) {
  Bytes bytes(pcd::kIpiOffset + pcd::kIpiBlockSize, 0);
  std::memcpy(bytes.data() + pcd::kIpiOffset, pcd::kIpiSignature, 7);
  PutBigEndian16(bytes, pcd::kIpiOffset + pcd::kIpiVersionOffset, fields.version);
  bytes[pcd::kAttributeOffset + pcd::kAttrRotationByte] = fields.attributeByte;
  PutBigEndian16(bytes, pcd::kAttributeOffset + pcd::kAttrKOffset, fields.k);
  PutBigEndian16(bytes, pcd::kAttributeOffset + pcd::kAttrNOffset, fields.n);
  bytes[pcd::kAttributeOffset + pcd::kAttrInterleaveByte] = fields.interleave;
  bytes.resize(fields.size, 0);
  return bytes;
}

Bytes InfoIpeBytes(std::uint8_t levelFlags, std::uint32_t textPosition, std::uint32_t levelPosition,
                   std::size_t size) {
  Bytes bytes(size, 0);
  bytes.at(pcd::kIpeLevelFlagsOffset) = levelFlags;
  PutBigEndian32(bytes, pcd::kIpeTextRecordOffset, textPosition);
  PutBigEndian32(bytes, pcd::kIpeLevelRecordOffset, levelPosition);
  return bytes;
}
