// Fuzz inputs reach the toolkit through its file layer: each target writes
// its input to a file in a private temporary folder made once per process.
#pragma once
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

class FuzzFolder {
 public:
  FuzzFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lumivexa-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    path_ = pattern;
  }
  ~FuzzFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  // Writes the bytes to a path relative to the folder and returns its full path.
  std::string Write(const std::string& relative, const std::uint8_t* data, std::size_t size) const {
    std::filesystem::path file = path_ / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return file.string();
  }
  std::string Join(const std::string& relative) const { return (path_ / relative).string(); }

 private:
  std::filesystem::path path_;
};

// An image pack made from a fuzz input that carries only what the residual
// decoders read: the 10 attribute bytes (rotation, class, K, N, interleave),
// then every byte from the 4BASE row table (sector 387) on. The image
// information block is valid and the base levels are a fixed pattern, written
// once; each input rewrites only its own bytes.
inline std::string WriteResidualPack(const FuzzFolder& folder, const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kIpi = 0x800, kAttributes = 0xE00, kAttributeBytes = 10, kTail = 0xC1800;
  static const std::string path = [&folder] {
    std::vector<std::uint8_t> prefix(kTail);
    std::memcpy(prefix.data() + kIpi, "PCD_IPI", 7);
    prefix[kIpi + 7] = 1;
    for (std::size_t at = 0x2000; at < kTail; ++at) prefix[at] = static_cast<std::uint8_t>(at * 7 / 5);
    return folder.Write("PHOTO_CD/IMAGES/IMG0001.PCD", prefix.data(), prefix.size());
  }();
  if (size < kAttributeBytes) return {};
  {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(kAttributes);
    file.write(reinterpret_cast<const char*>(data), kAttributeBytes);
    file.seekp(kTail);
    file.write(reinterpret_cast<const char*>(data + kAttributeBytes), static_cast<std::streamsize>(size - kAttributeBytes));
  }
  std::filesystem::resize_file(path, kTail + size - kAttributeBytes);
  return path;
}
