#include "cli/sha256.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "photocd/pcd_local_file.h"

namespace cli {

std::string hexOf(const std::uint8_t* bytes, std::size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (std::size_t i = 0; i < size; ++i) {
    hex += kDigits[bytes[i] >> 4];
    hex += kDigits[bytes[i] & 15];
  }
  return hex;
}

std::string sha256Hex(const std::string& text) {
  Sha256 hash;
  hash.add(text.data(), text.size());
  return hash.finishHex();
}

bool sha256OfFile(const std::string& path, std::string& hex, std::string& error) {
  std::FILE* file = PcdLocalOpenStream(path.c_str(), "rb");
  if (!file) {
    error = std::strerror(errno);
    return false;
  }
  Sha256 hash;
  std::vector<char> buffer(1 << 16);
  std::size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), file)) > 0) hash.add(buffer.data(), n);
  const bool failed = std::ferror(file) != 0;
  const int number = errno;
  std::fclose(file);
  if (failed) {
    error = std::strerror(number);
    return false;
  }
  hex = hash.finishHex();
  return true;
}

}  // namespace cli
