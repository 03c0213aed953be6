#include "export/file_drop_list.h"

namespace imagefile {

std::vector<unsigned char> FileDropList(const std::vector<std::u16string>& paths) {
  constexpr unsigned char kListOffset = 20;
  constexpr std::size_t kWideFlag = 16;
  std::vector<unsigned char> bytes(kListOffset, 0);
  bytes[0] = kListOffset;  // little-endian 32-bit offset
  bytes[kWideFlag] = 1;    // the names are UTF-16; the drop point and other fields are 0
  auto put = [&bytes](char16_t unit) {
    bytes.push_back(static_cast<unsigned char>(unit & 0xFF));
    bytes.push_back(static_cast<unsigned char>(unit >> 8));
  };
  for (const std::u16string& path : paths) {
    for (char16_t unit : path) put(unit);
    put(0);
  }
  put(0);
  return bytes;
}

}  // namespace imagefile
