// SHA-256 digests for the manifest and the photos' unique ids, computed with
// what the platform offers: nettle on POSIX systems (sha256_posix.cpp), CNG on
// Windows (sha256_win.cpp).
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace cli {

class Sha256 {
 public:
  Sha256();
  ~Sha256();
  Sha256(const Sha256&) = delete;
  Sha256& operator=(const Sha256&) = delete;
  void add(const void* data, std::size_t size);
  // The lower-case hexadecimal digest of everything added; ends the hash.
  std::string finishHex();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Lower-case hexadecimal of bytes.
std::string hexOf(const std::uint8_t* bytes, std::size_t size);
std::string sha256Hex(const std::string& text);
// Digest of a file's contents; false with the system's reason when it cannot be read.
bool sha256OfFile(const std::string& path, std::string& hex, std::string& error);

}  // namespace cli
