// Fuzz inputs reach the toolkit through its file layer: each target writes
// its input to a file in a private temporary folder made once per process.
#pragma once
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

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
