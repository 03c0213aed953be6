#include "cli/manifest.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "cli/output_names.h"
#include "cli/pack_info.h"
#include "cli/sha256.h"
#include "photocd/pcd_local_file.h"

namespace fs = std::filesystem;

namespace cli {

namespace {

// The modification time in nanoseconds of the file clock, as the manifest keeps it.
bool fileStamp(const std::string& file, std::uintmax_t& size, long long& modified, std::string& error) {
  std::error_code ec;
  const fs::path path = fs::u8path(file);
  size = fs::file_size(path, ec);
  if (!ec) {
    const fs::file_time_type time = fs::last_write_time(path, ec);
    modified = std::chrono::duration_cast<std::chrono::nanoseconds>(time.time_since_epoch()).count();
  }
  if (ec) error = ec.message();
  return !ec;
}

}  // namespace

std::vector<nlohmann::ordered_json> readManifestLines(const std::string& file) {
  std::vector<nlohmann::ordered_json> lines;
  std::ifstream in(fs::u8path(file), std::ios::binary);
  for (std::string text; std::getline(in, text);) {
    nlohmann::ordered_json line = nlohmann::ordered_json::parse(text, nullptr, false);
    if (line.is_object() && line.contains("output") && line["output"].is_string()) lines.push_back(std::move(line));
  }
  return lines;
}

bool Manifest::open(const std::string& file, std::string& error) {
  file_ = file;
  lines_.clear();
  std::error_code ec;
  const fs::path path = fs::u8path(file);
  if (!fs::exists(path, ec)) return true;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read the manifest " + shownPath(file) + ": " + std::strerror(errno);
    return false;
  }
  for (nlohmann::ordered_json& line : readManifestLines(file)) {
    const std::string output = line["output"];
    lines_[output] = std::move(line);
  }
  in.seekg(-1, std::ios::end);
  char last = '\n';
  needsNewline_ = in.get(last) && last != '\n';
  return true;
}

const nlohmann::ordered_json* Manifest::lineFor(const std::string& output) const {
  const auto found = lines_.find(shownPath(output));
  return found == lines_.end() ? nullptr : &found->second;
}

bool Manifest::append(const nlohmann::ordered_json& line, std::string& error) {
  std::lock_guard<std::mutex> hold(lock_);
  const std::string text = (needsNewline_ ? "\n" : "") + line.dump() + "\n";
  std::FILE* out = PcdLocalOpenStream(file_.c_str(), "ab");
  if (!out) {
    error = "cannot open the manifest " + shownPath(file_) + ": " + std::strerror(errno);
    return false;
  }
  // One write of a whole line, so that lines of runs appending at once stay
  // whole; it reaches the disk before the photo's file gets its name.
  const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size() && PcdLocalSyncStream(out);
  const int number = errno;
  if (std::fclose(out) != 0 || !written) {
    error = "cannot write the manifest " + shownPath(file_) + ": " + std::strerror(written ? errno : number);
    return false;
  }
  needsNewline_ = false;
  lines_[line["output"].get<std::string>()] = line;
  return true;
}

bool manifestLine(const ExportResult& r, const std::string& written, nlohmann::ordered_json& line, std::string& error) {
  std::string digest;
  std::uintmax_t size = 0;
  long long modified = 0;
  if (!fileStamp(written, size, modified, error) || !sha256OfFile(written, digest, error)) return false;
  line = {{"source", shownPath(r.input)},
          {"output", shownPath(r.output)},
          {"level", r.level >= 0 ? nlohmann::ordered_json(levelName(r.level)) : nlohmann::ordered_json()},
          {"size", size},
          {"modified", modified},
          {"sha256", digest},
          {"repairs", r.repairs}};
  return true;
}

std::string differenceFromLine(const std::string& output, const nlohmann::ordered_json& line, bool checksum) {
  std::uintmax_t size = 0;
  long long modified = 0;
  std::string error, digest;
  if (!fileStamp(output, size, modified, error)) return "cannot be read: " + error;
  // A line another program edited may hold anything: a wrong type is a difference.
  const nlohmann::ordered_json lineSize = line.value("size", nlohmann::ordered_json());
  const nlohmann::ordered_json lineTime = line.value("modified", nlohmann::ordered_json());
  const nlohmann::ordered_json lineDigest = line.value("sha256", nlohmann::ordered_json());
  if (!lineSize.is_number_unsigned() || lineSize.get<std::uintmax_t>() != size)
    return "its size differs from its manifest line";
  if (checksum) {
    if (!sha256OfFile(output, digest, error)) return "cannot be read: " + error;
    if (!lineDigest.is_string() || lineDigest.get<std::string>() != digest) return "its SHA-256 differs from its manifest line";
  } else if (!lineTime.is_number_integer() || lineTime.get<long long>() != modified) {
    return "its modification time differs from its manifest line";
  }
  return {};
}

}  // namespace cli
