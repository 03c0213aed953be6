// Running lumivexa-cli as a program in tests, and reading what it wrote with
// independent tools (ImageMagick's identify, exiftool).
#pragma once
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace clitest {

namespace fs = std::filesystem;

const std::string kDisc = LUMIVEXA_SOURCE_DIR "/build/sample-disc";

struct Result {
  int status;
  std::string output;
};

inline Result run(const std::string& command) {
  Result r{-1, {}};
  std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return r;
  std::array<char, 4096> buffer;
  std::size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) r.output.append(buffer.data(), n);
  int status = pclose(pipe);
  r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return r;
}

inline std::string program() { return LUMIVEXA_CLI; }

inline fs::path freshFolder(const std::string& name) {
  fs::path p = fs::path(::testing::TempDir()) / name;
  fs::remove_all(p);
  fs::create_directories(p);
  return p;
}

// "WIDTHxHEIGHT FORMAT" as identify reads the file.
inline std::string identify(const fs::path& file) {
  return run("identify -format '%wx%h %m' '" + file.string() + "'").output;
}

// Every tag exiftool reads from the file, by "Group:Name".
inline nlohmann::json exifTags(const fs::path& file) {
  Result r = run("exiftool -j -G1 -a -all -validate '" + file.string() + "'");
  nlohmann::json tags = nlohmann::json::parse(r.output, nullptr, false);
  return tags.is_array() && !tags.empty() ? tags[0] : nlohmann::json::object();
}

}  // namespace clitest
