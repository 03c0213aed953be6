#include "cli/durable_file.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <set>
#include <system_error>

#include "cli/sha256.h"

namespace fs = std::filesystem;

namespace cli {

namespace {

constexpr const char* kPrefix = ".lvx-";
constexpr const char* kSuffix = ".partial";

// "HOST-" of this machine: 8 hexadecimal digits.
const std::string& hostTag() {
  static const std::string tag = sha256Hex(machineName()).substr(0, 8) + "-";
  return tag;
}

// The process id in a temporary name of this machine; 0 for other names.
unsigned long ownerOf(const std::string& name) {
  const std::string start = kPrefix + hostTag();
  const std::string end = kSuffix;
  if (name.size() <= start.size() + end.size() || name.compare(0, start.size(), start) != 0 ||
      name.compare(name.size() - end.size(), end.size(), end) != 0)
    return 0;
  unsigned long pid = 0, sequence = 0;
  char tail[16] = {};
  if (std::sscanf(name.c_str() + start.size(), "%lu-%lu%15s", &pid, &sequence, tail) != 3 || end != tail) return 0;
  return pid;
}

}  // namespace

std::string temporaryPathIn(const std::string& folder) {
  static std::atomic<unsigned long> sequence{0};
  const std::string name = kPrefix + hostTag() + std::to_string(currentProcessId()) + "-" +
                           std::to_string(sequence++) + kSuffix;
  return folder.empty() ? name : (fs::u8path(folder) / name).u8string();
}

void removeStalePartials(const std::string& folder) {
  static std::mutex lock;
  static std::set<std::string> seen;
  {
    std::lock_guard<std::mutex> hold(lock);
    if (!seen.insert(folder).second) return;
  }
  std::error_code ec;
  for (const fs::directory_entry& entry : fs::directory_iterator(fs::u8path(folder.empty() ? "." : folder), ec)) {
    const unsigned long owner = ownerOf(entry.path().filename().u8string());
    if (owner != 0 && owner != currentProcessId() && !processAlive(owner)) fs::remove(entry.path(), ec);
  }
}

}  // namespace cli
