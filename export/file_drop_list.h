// The clipboard's file list (CF_HDROP) as bytes: a 20-byte DROPFILES header
// (list at offset 20, drop point 0,0, wide characters), each path in UTF-16
// little-endian with its zero, then one more zero.
#pragma once
#include <string>
#include <vector>

namespace imagefile {

std::vector<unsigned char> FileDropList(const std::vector<std::u16string>& paths);

}  // namespace imagefile
