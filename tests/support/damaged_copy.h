// Damage made by tests on a copy of a pack: the kind a rip with unreadable
// sectors shows.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace test_support {

// Zeroes 64 KB of the 16BASE residual data, 64 sectors after its row and code
// tables (the table sector K is stored big-endian at byte 0xE03).
inline bool ZeroBlockIn16BaseData(const std::string& pack) {
  std::FILE* f = std::fopen(pack.c_str(), "r+b");
  if (!f) return false;
  unsigned char k[2] = {};
  bool ok = std::fseek(f, 0xE03, SEEK_SET) == 0 && std::fread(k, 1, 2, f) == 2;
  const std::vector<char> zeros(65536, 0);
  ok = ok && std::fseek(f, ((k[0] << 8 | k[1]) + 13 + 64) * 2048L, SEEK_SET) == 0 &&
       std::fwrite(zeros.data(), 1, zeros.size(), f) == zeros.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace test_support
