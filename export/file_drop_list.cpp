#include "export/file_drop_list.h"

namespace imagefile {

std::vector<unsigned char> FileDropList(const std::vector<std::string>& paths) {
  constexpr unsigned char kListOffset = 20;
  std::vector<unsigned char> bytes(kListOffset, 0);
  bytes[0] = kListOffset;  // little-endian 32-bit offset; every other header field is 0
  for (const std::string& path : paths) {
    bytes.insert(bytes.end(), path.begin(), path.end());
    bytes.push_back(0);
  }
  bytes.push_back(0);
  return bytes;
}

}  // namespace imagefile
