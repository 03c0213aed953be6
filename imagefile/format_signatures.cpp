#include "imagefile/format_signatures.h"

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

bool looksLikePhotoCd(const std::uint8_t* head, std::size_t length, std::uint64_t size, const std::string&) {
  return size > 3585 && length >= 2051 && std::memcmp(head + 2048, "PCD", 3) == 0;
}

bool looksLikeTiff(const std::uint8_t* head, std::size_t length, std::uint64_t, const std::string&) {
  return length >= 2 && ((head[0] == 'I' && head[1] == 'I') || (head[0] == 'M' && head[1] == 'M'));
}

bool looksLikeJpeg(const std::uint8_t* head, std::size_t length, std::uint64_t, const std::string&) {
  return length >= 2 && head[0] == 0xFF && head[1] == 0xD8;
}

}  // namespace imagefile
