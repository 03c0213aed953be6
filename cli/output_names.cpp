#include "cli/output_names.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "cli/pack_info.h"
#include "imagefile/metadata_text.h"

namespace cli {

const char* const kNamePatternHelp =
    "output file name without extension; fields: {name} the pack's name (IMG0001), {photo} the photo number "
    "(0001), {serial} the disc's serial number (a digest of the disc, pcd-..., when it has no plausible one), {disc} the disc image's or disc folder's name, {date} the scan date (1996-05-14), {time} the scan time (094210); "
    "a / makes subfolders";

namespace {

const char* const kFields[] = {"name", "photo", "serial", "disc", "date", "time"};

// A field's value made safe for a file name: no separators, no characters
// Windows refuses, and never "." or "..", which would name a folder above.
std::string safe(std::string text) {
  for (char& c : text)
    if (std::strchr("<>:\"/\\|?*", c) || static_cast<unsigned char>(c) < 32) c = '_';
  if (text == "." || text == "..") text.assign(text.size(), '_');
  return text;
}

std::string fieldValue(const std::string& field, const NameFields& f) {
  char text[16];
  if (field == "name") return safe(f.name);
  if (field == "photo") {
    std::snprintf(text, sizeof text, "%04d", f.photo);
    return text;
  }
  if (field == "serial") return f.serial.empty() ? "unknown" : safe(f.serial);
  if (field == "disc") return f.disc.empty() ? "unknown" : safe(f.disc);
  if (!f.hasScanTime) return "undated";
  std::string stamp = formatTime(f.scanTime);  // "YYYY-MM-DD HH:MM:SS"
  if (field == "date") return stamp.substr(0, 10);
  return stamp.substr(11, 2) + stamp.substr(14, 2) + stamp.substr(17, 2);
}

}  // namespace

std::string checkNamePattern(const std::string& pattern) {
  std::size_t at = 0;
  bool text = false;
  while (at < pattern.size()) {
    if (pattern[at] == '}') return "a } without its {";
    if (pattern[at] != '{') {
      if (std::strchr("<>:\"\\|?*", pattern[at])) return std::string("a file name cannot hold ") + pattern[at];
      text = text || pattern[at] != '/';
      ++at;
      continue;
    }
    std::size_t close = pattern.find('}', at);
    if (close == std::string::npos) return "a { without its }";
    std::string field = pattern.substr(at + 1, close - at - 1);
    bool known = false;
    for (const char* f : kFields) known = known || field == f;
    if (!known) return "unknown field {" + field + "}";
    text = true;
    at = close + 1;
  }
  if (!text) return "the pattern makes no name";
  if (pattern.front() == '/' || pattern.back() == '/') return "the pattern must not begin or end with /";
  if (pattern.find("..") != std::string::npos) return "the pattern must not hold ..";
  return {};
}

bool usesField(const std::string& pattern, const char* field) {
  return pattern.find(std::string("{") + field + "}") != std::string::npos;
}

std::string expandNamePattern(const std::string& pattern, const NameFields& fields) {
  std::string out;
  for (std::size_t at = 0; at < pattern.size();) {
    std::size_t open = pattern.find('{', at);
    if (open == std::string::npos) {
      out += pattern.substr(at);
      break;
    }
    std::size_t close = pattern.find('}', open);
    out += pattern.substr(at, open - at) + fieldValue(pattern.substr(open + 1, close - open - 1), fields);
    at = close + 1;
  }
  return out;
}

std::string fileTitle(const std::string& input) {
  std::size_t slash = input.find_last_of("/\\");
  std::string title = slash == std::string::npos ? input : input.substr(slash + 1);
  std::size_t semicolon = title.find(';');  // ISO 9660 version suffix
  if (semicolon != std::string::npos) title.erase(semicolon);
  std::size_t dot = title.rfind('.');
  return dot == std::string::npos ? title : title.substr(0, dot);
}

std::string shownPath(const std::string& path) {
  return imagefile::EscapedUtf8(std::filesystem::u8path(path).make_preferred().u8string());
}

}  // namespace cli
