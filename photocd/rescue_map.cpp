#include "rescue_map.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <mutex>
#include <sstream>

#include "pcd_local_file.h"

namespace {

// ddrescue writes hexadecimal with 0x; an edited map may hold decimal or
// octal, as C++ integer constants are written.
bool ParseNumber(const std::string& word, std::uint64_t& value) {
  if (word.empty() || word[0] == '-' || word[0] == '+') return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtoull(word.c_str(), &end, 0);
  return errno == 0 && end == word.c_str() + word.size();
}

std::string WithoutComment(const std::string& line) {
  for (std::size_t i = 0; i < line.size(); ++i)
    if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) return line.substr(0, i);
  return line;
}

std::mutex g_mapsMutex;
std::map<std::string, std::shared_ptr<const PcdRescueMap>> g_maps;  // by local path

std::string Stem(const std::string& path) {
  const std::size_t dot = path.find_last_of('.');
  const std::size_t slash = path.find_last_of("/\\");
  return dot == std::string::npos || (slash != std::string::npos && dot < slash) ? path : path.substr(0, dot);
}

}  // namespace

bool PcdRescueMap::Readable(std::uint64_t begin, std::uint64_t finish) const {
  if (finish > end) return false;
  // The first unread area that ends after begin must start at or past finish.
  auto area = std::upper_bound(unread.begin(), unread.end(), begin,
                               [](std::uint64_t at, const std::pair<std::uint64_t, std::uint64_t>& a) { return at < a.second; });
  return area == unread.end() || area->first >= finish;
}

bool PcdParseRescueMap(const std::string& text, PcdRescueMap& map, std::string& why) {
  map = PcdRescueMap{};
  std::istringstream in(text);
  std::string line;
  bool statusLine = true;
  for (int number = 1; std::getline(in, line); ++number) {
    std::istringstream words(WithoutComment(line));
    std::string first, second, third, extra;
    if (!(words >> first)) continue;
    words >> second >> third >> extra;
    const std::string where = "line " + std::to_string(number) + ": ";
    std::uint64_t position = 0, size = 0;
    if (statusLine) {
      // Where the copy stood, its phase and pass; nothing the areas need.
      if (!ParseNumber(first, position) || second.size() != 1 || third.empty() || !extra.empty() ||
          std::string("?*/-FG+").find(second[0]) == std::string::npos) {
        why = where + "not the status line of a ddrescue mapfile";
        return false;
      }
      statusLine = false;
      continue;
    }
    if (!ParseNumber(first, position) || !ParseNumber(second, size) || third.size() != 1 || !extra.empty() ||
        std::string("?*/-+").find(third[0]) == std::string::npos) {
      why = where + "not a \"position size status\" line";
      return false;
    }
    if (position != map.end || size == 0 || position + size < position) {
      why = where + "the area does not follow the one before";
      return false;
    }
    map.end = position + size;
    if (third[0] == '+') continue;
    if (!map.unread.empty() && map.unread.back().second == position)
      map.unread.back().second = map.end;
    else
      map.unread.emplace_back(position, map.end);
  }
  if (statusLine) {
    why = "no status line: not a ddrescue mapfile";
    return false;
  }
  return true;
}

PcdStatus PcdReadRescueMap(const std::string& path, PcdRescueMap& map, std::string& why) {
  std::FILE* file = PcdLocalOpenStream(path.c_str(), "rb");
  if (!file) {
    why = "cannot read the mapfile " + path;
    return kPcdOpenFailed;
  }
  std::string text;
  char chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;) text.append(chunk, n);
  const bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
    why = "cannot read the mapfile " + path;
    return kPcdReadFailed;
  }
  if (!PcdParseRescueMap(text, map, why)) {
    why = path + ", " + why;
    return kPcdBadSignature;
  }
  return kPcdOk;
}

void PcdUseRescueMap(const std::string& path, std::shared_ptr<const PcdRescueMap> map) {
  std::lock_guard<std::mutex> lock(g_mapsMutex);
  if (map)
    g_maps[path] = std::move(map);
  else
    g_maps.erase(path);
}

PcdStatus PcdRescueMapOf(const std::string& path, bool discImage, std::shared_ptr<const PcdRescueMap>& map,
                         std::string& why) {
  map.reset();
  {
    std::lock_guard<std::mutex> lock(g_mapsMutex);
    auto given = g_maps.find(path);
    if (given != g_maps.end()) {
      map = given->second;
      return kPcdOk;
    }
  }
  if (!discImage) return kPcdOk;
  for (const char* extension : {".map", ".mapfile"}) {
    const std::string beside = Stem(path) + extension;
    if (!PcdLocalFileExists(beside.c_str())) continue;
    auto read = std::make_shared<PcdRescueMap>();
    const PcdStatus status = PcdReadRescueMap(beside, *read, why);
    if (status != kPcdOk) return status;
    map = std::move(read);
    return kPcdOk;
  }
  return kPcdOk;
}
