// The clipboard's file list (CF_HDROP) as bytes: a 20-byte DROPFILES header
// (list at offset 20, drop point 0,0, narrow characters), each path with its
// zero, then one more zero.
#pragma once
#include <string>
#include <vector>

namespace imagefile {

std::vector<unsigned char> FileDropList(const std::vector<std::string>& paths);

}  // namespace imagefile
