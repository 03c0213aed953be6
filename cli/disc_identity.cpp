#include "cli/disc_identity.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "cli/pack_info.h"
#include "cli/photo_inputs.h"
#include "cli/sha256.h"
#include "photocd/pcd_file.h"

namespace cli {

namespace {

constexpr std::uint32_t kHeaderBytes = 3 * 2048;  // a pack's information and attribute sectors
constexpr std::uint32_t kWholeFileLimit = 64 * 2048;

// Adds the file's first bytes (up to limit) and their count to the digest; a
// file that cannot be read adds its name only.
void addFile(Sha256& digest, const std::string& path, std::uint32_t limit) {
  PcdFile* file = nullptr;
  if (path.empty() || PcdFileOpen(path.c_str(), file) != kPcdOk) {
    const std::string name = packFileName(path);
    digest.add(name.data(), name.size());
    return;
  }
  std::vector<char> bytes(limit);
  std::uint32_t got = 0;
  PcdFileRead(file, bytes.data(), limit, got);
  PcdFileClose(file);
  digest.add(bytes.data(), got);
  digest.add(&got, sizeof got);
}

}  // namespace

bool plausibleSerial(const std::string& serial) {
  if (serial.empty() || serial == "." || serial == "..") return false;
  if (std::all_of(serial.begin(), serial.end(), [&](char c) { return c == serial[0]; })) return false;
  return std::none_of(serial.begin(), serial.end(), [](char c) {
    return static_cast<unsigned char>(c) < 32 || c == 127 || std::strchr("<>:\"/\\|?*", c) != nullptr;
  });
}

std::string discIdentity(const std::string& photoCdFolder, const std::vector<std::string>& packs) {
  const std::string serial = discSerial(photoCdFolder);
  if (plausibleSerial(serial)) return serial;
  Sha256 digest;
  if (!photoCdFolder.empty()) {
    addFile(digest, findChild(photoCdFolder, "INFO.PCD"), kHeaderBytes);
    addFile(digest, findChild(photoCdFolder, "OVERVIEW.PCD"), kWholeFileLimit);
  }
  for (const std::string& pack : packs) addFile(digest, pack, kHeaderBytes);
  return "pcd-" + digest.finishHex().substr(0, 16);
}

}  // namespace cli
