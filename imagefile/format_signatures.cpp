#include "imagefile/format_signatures.h"

#include <algorithm>
#include <cstring>

#include "imagefile/byte_order.h"

namespace imagefile {

bool looksLikeBmp(const std::uint8_t* head, std::size_t length, std::uint64_t size, const std::string&) {
  if (size <= 53 || length < 30) return false;
  if (!((head[0] == 'B' && head[1] == 'M') || (head[0] == 'M' && head[1] == 'B'))) return false;
  std::uint32_t headerSize = readLe32(head + 14);
  unsigned bits, compression = 0;
  if (headerSize == 12) {
    bits = readLe16(head + 24);
  } else if (headerSize == 40 || headerSize == 52 || headerSize == 56 || headerSize == 64 || headerSize == 108 ||
             headerSize == 124) {
    if (length < 34) return false;
    bits = readLe16(head + 28);
    compression = readLe32(head + 30);
  } else {
    return false;
  }
  bool knownBits = bits == 1 || bits == 4 || bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32;
  return knownBits && compression <= 3;
}

bool looksLikeGif(const std::uint8_t* head, std::size_t length, std::uint64_t, const std::string&) {
  return length >= 13 && (std::memcmp(head, "GIF87a", 6) == 0 || std::memcmp(head, "GIF89a", 6) == 0);
}

// A .pcd file whose header sector reads as zeros is a pack that lost it: the
// Photo CD module decodes what its picture sectors hold.
bool looksLikePhotoCd(const std::uint8_t* head, std::size_t length, std::uint64_t size, const std::string& extension) {
  if (size > 3585 && length >= 2051 && std::memcmp(head + 2048, "PCD", 3) == 0) return true;
  return extension.rfind(".pcd", 0) == 0 && length >= 4095 &&
         std::all_of(head + 2048, head + std::min<std::size_t>(length, 4096), [](std::uint8_t b) { return b == 0; });
}

bool looksLikePcx(const std::uint8_t* head, std::size_t length, std::uint64_t, const std::string&) {
  constexpr std::uint32_t kDcxPageList = 0x3ADE68B1;
  if (length >= 8 && readLe32(head) == kDcxPageList) return true;
  if (length < 128 || head[0] != 0x0A) return false;
  unsigned bits = head[3] * head[65];  // bits per plane x planes
  return bits == 1 || bits == 4 || bits == 8 || bits == 15 || bits == 16 || bits == 24;
}

bool looksLikePict(const std::uint8_t* head, std::size_t length, std::uint64_t size, const std::string&) {
  constexpr std::uint32_t kPictWrapper = 0x34F68053;
  if (size <= 103 || length < 104 || readLe32(head) != kPictWrapper) return false;
  const char tag[] = "PICT";
  return std::search(head + 4, head + 104, tag, tag + 4) != head + 104;
}

bool looksLikeAliasPix(const std::uint8_t* head, std::size_t length, std::uint64_t size, const std::string& extension) {
  return extension == ".pix" && size > 9 && length >= 10 && readBe16(head + 8) == 24;
}

bool looksLikePng(const std::uint8_t* head, std::size_t length, std::uint64_t, const std::string&) {
  static const std::uint8_t signature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return length >= 8 && std::memcmp(head, signature, 8) == 0;
}

bool looksLikePhotoshop(const std::uint8_t* head, std::size_t length, std::uint64_t size, const std::string&) {
  return size > 25 && length >= 26 && std::memcmp(head, "8BPS", 4) == 0;
}

bool looksLikeSgi(const std::uint8_t* head, std::size_t length, std::uint64_t size, const std::string&) {
  if (size < 512 || length < 12 || readBe16(head) != 474) return false;
  unsigned dimension = readBe16(head + 4), channels = readBe16(head + 10);
  return (dimension == 2 || dimension == 3) && channels >= 1 && channels <= 4;
}

bool looksLikeTga(const std::uint8_t* head, std::size_t length, std::uint64_t, const std::string&) {
  if (length < 18) return false;
  unsigned mapType = head[1], imageType = head[2], mapEntryBits = head[7], depth = head[16];
  if (!((imageType >= 1 && imageType <= 3) || (imageType >= 9 && imageType <= 11)) || mapType > 1) return false;
  bool mapped = imageType == 1 || imageType == 9;
  if (mapped && (mapType != 1 || (mapEntryBits != 16 && mapEntryBits != 24))) return false;
  return depth == 8 || depth == 16 || depth == 24 || depth == 32;
}

bool looksLikeEmf(const std::uint8_t* head, std::size_t length, std::uint64_t size, const std::string&) {
  return size > 43 && length >= 44 && std::memcmp(head + 40, " EMF", 4) == 0;
}

bool looksLikeWmf(const std::uint8_t* head, std::size_t length, std::uint64_t size, const std::string& extension) {
  constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
  if (extension == ".wmf") return true;
  if (size < 50 || length < 22 || readLe32(head) != kPlaceableKey) return false;
  unsigned checksum = 0;  // XOR of the ten words before it
  for (int i = 0; i < 20; i += 2) checksum ^= readLe16(head + i);
  return checksum == readLe16(head + 20);
}

bool looksLikeIff(const std::uint8_t* head, std::size_t length, std::uint64_t, const std::string&) {
  if (length < 12 || (std::memcmp(head, "FORM", 4) != 0 && std::memcmp(head, "FOR4", 4) != 0)) return false;
  const std::uint8_t* type = head + 8;
  return std::memcmp(type, "ILBM", 4) == 0 || std::memcmp(type, "PBM ", 4) == 0 || std::memcmp(type, "CIMG", 4) == 0;
}

bool looksLikeKodakCamera(const std::uint8_t*, std::size_t, std::uint64_t, const std::string& extension) {
  return extension == ".kdc";
}

bool looksLikeTiff(const std::uint8_t* head, std::size_t length, std::uint64_t, const std::string&) {
  return length >= 2 && ((head[0] == 'I' && head[1] == 'I') || (head[0] == 'M' && head[1] == 'M'));
}

bool looksLikeJpeg(const std::uint8_t* head, std::size_t length, std::uint64_t, const std::string&) {
  return length >= 2 && head[0] == 0xFF && head[1] == 0xD8;
}

}  // namespace imagefile
