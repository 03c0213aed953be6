#include "options.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

#include "image_io.h"
#include "scenes.h"

namespace pcdmake {
namespace {

struct Fail {
  std::string message;
};

int ParseInt(const std::string& key, const std::string& v, int lo, int hi) {
  char* end = nullptr;
  const long n = std::strtol(v.c_str(), &end, 10);
  if (v.empty() || *end || n < lo || n > hi)
    throw Fail{key + " must be a whole number from " + std::to_string(lo) + " to " + std::to_string(hi) + ", not \"" + v + "\""};
  return static_cast<int>(n);
}

// "M.m" as M << 8 | m, where m is a hundredths count for two-digit fractions.
std::uint16_t ParseDotted(const std::string& key, const std::string& v) {
  const auto dot = v.find('.');
  const int whole = ParseInt(key, v.substr(0, dot), 0, 255);
  const int part = dot == std::string::npos ? 0 : ParseInt(key, v.substr(dot + 1), 0, 99);
  return static_cast<std::uint16_t>(whole << 8 | part);
}

// "X.YY" as two binary-coded decimal bytes, as scanners record their pixel
// size: 11.48 gives 0x11 0x48. One fractional digit counts as tenths.
std::uint16_t ParseDecimalDotted(const std::string& key, const std::string& v) {
  const auto dot = v.find('.');
  const std::string fraction = dot == std::string::npos ? "0" : v.substr(dot + 1);
  if (fraction.empty() || fraction.size() > 2) throw Fail{key + " must be X.YY, not \"" + v + "\""};
  const int whole = ParseInt(key, v.substr(0, dot), 0, 99);
  const int hundredths = ParseInt(key, fraction, 0, 99) * (fraction.size() == 1 ? 10 : 1);
  const auto bcd = [](int n) { return n / 10 << 4 | n % 10; };
  return static_cast<std::uint16_t>(bcd(whole) << 8 | bcd(hundredths));
}

std::string Text(const std::string& key, const std::string& v, std::size_t size) {
  if (v.size() > size) throw Fail{key + " is longer than " + std::to_string(size) + " characters"};
  return v;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

std::uint32_t Time(const std::string& key, const std::string& v) {
  std::uint32_t t;
  if (!ParseTime(v, t)) throw Fail{key + " must be YYYY-MM-DD[ HH:MM[:SS]] or seconds since 1970, not \"" + v + "\""};
  return t;
}

int Level(const std::string& key, const std::string& v) {
  const std::string u = Upper(v);
  if (u == "BASE") return 3;
  if (u == "4BASE") return 4;
  if (u == "16BASE") return 5;
  if (u == "64BASE") return 6;
  throw Fail{key + " must be base, 4base, 16base or 64base, not \"" + v + "\""};
}

using DiscSetter = std::function<void(DiscJob&, const std::string&, const std::string&)>;
using PhotoSetter = std::function<void(PhotoJob&, const std::string&, const std::string&)>;

struct Key {
  const char* name;
  const char* arg;   // nullptr: a flag without value
  const char* help;
  DiscSetter disc;   // one of disc or photo is set
  PhotoSetter photo;
};

const std::vector<Key>& Keys() {
  static const std::vector<Key> keys = {
      {"out", "DIR", "folder that receives PHOTO_CD (required)", [](DiscJob& j, auto&, auto& v) { j.outDir = v; }, nullptr},
      {"manifest", "FILE", "read photos and options from FILE (see below)", nullptr, nullptr},
      {"force", nullptr, "replace an existing PHOTO_CD folder", [](DiscJob& j, auto&, auto&) { j.replace = true; }, nullptr},
      {"verbose", nullptr, "print a line per photo", [](DiscJob& j, auto&, auto&) { j.verbose = true; }, nullptr},
      {"lower-case", nullptr, "write file and folder names in lower case", [](DiscJob& j, auto&, auto&) { j.style.lowerCase = true; }, nullptr},
      {"version-suffix", nullptr, "end file names with \";1\"", [](DiscJob& j, auto&, auto&) { j.style.versionSuffix = true; }, nullptr},
      {"iso", "FILE", "also write the disc as an ISO 9660 image of 2048-byte sectors",
       [](DiscJob& j, auto&, auto& v) { j.isoImage = v; }, nullptr},
      {"bin", "FILE", "also write the disc as a raw image of 2352-byte Mode 2 sectors, with FILE's .cue beside it",
       [](DiscJob& j, auto&, auto& v) { j.rawImage = v; }, nullptr},
      {"form2-interleave", "A:B", "in the raw image, A sectors of each file then B Form 2 sectors, over and over",
       [](DiscJob& j, auto& k, auto& v) {
         const auto colon = v.find(':');
         if (colon == std::string::npos) throw Fail{k + " must be A:B"};
         j.imageLayout.unitSectors = ParseInt(k, v.substr(0, colon), 1, 255);
         j.imageLayout.gapSectors = ParseInt(k, v.substr(colon + 1), 0, 255);
       }, nullptr},
      {"disc-version", "M.m", "format version of INFO.PCD and OVERVIEW.PCD (default 1.0)",
       [](DiscJob& j, auto& k, auto& v) { const auto d = ParseDotted(k, v); j.fields.versionMajor = d >> 8; j.fields.versionMinor = d & 0xFF; }, nullptr},
      {"serial", "TEXT", "disc serial number, up to 12 characters", [](DiscJob& j, auto& k, auto& v) { j.fields.serial = Text(k, v, 12); }, nullptr},
      {"created", "TIME", "disc creation time", [](DiscJob& j, auto& k, auto& v) { j.fields.created = Time(k, v); }, nullptr},
      {"stamp", "TIME", "second disc time stamp (default: the creation time)",
       [](DiscJob& j, auto& k, auto& v) { j.fields.stamp = Time(k, v); j.stampSet = true; }, nullptr},
      {"rights-text", "TEXT", "text of the rights files named by rights=", [](DiscJob& j, auto&, auto& v) { j.rightsText = v; }, nullptr},
      {"levels", "LEVEL", "highest level: base, 4base, 16base (default) or 64base (adds an extension)",
       nullptr, [](PhotoJob& p, auto& k, auto& v) { p.topLevel = Level(k, v); }},
      {"rotation", "0-3", "rotation code: 0 none, 1 quarter turn counter-clockwise, 2 half turn, 3 quarter turn clockwise;"
                          " default 0, or 1 for portrait pictures",
       nullptr, [](PhotoJob& p, auto& k, auto& v) { p.rotation = ParseInt(k, v, 0, 3); }},
      {"interleave", "A:B", "A image sectors then B audio sectors per group (default 1:0)", nullptr,
       [](PhotoJob& p, auto& k, auto& v) {
         const auto colon = v.find(':');
         if (colon == std::string::npos) throw Fail{k + " must be A:B"};
         p.pack.imageSectors = ParseInt(k, v.substr(0, colon), 1, 15);
         p.pack.audioSectors = ParseInt(k, v.substr(colon + 1), 0, 15);
       }},
      {"long-codes", nullptr, "code tables with codes of 13 to 16 bits for the rarest residuals", nullptr,
       [](PhotoJob& p, auto&, auto&) { p.pack.longCodes = true; }},
      {"ipi-version", "M.m", "image information version (default 1.0)", nullptr,
       [](PhotoJob& p, auto& k, auto& v) { p.pack.info.ipiVersion = ParseDotted(k, v); }},
      {"workstation-version", "M.m", "workstation software version", nullptr,
       [](PhotoJob& p, auto& k, auto& v) { p.pack.info.workstationVersion = ParseDotted(k, v); }},
      {"magnification", "X.YY", "scanner magnification factor, or none", nullptr,
       [](PhotoJob& p, auto& k, auto& v) { p.pack.info.magnification = v == "none" ? 0xFFFF : ParseDotted(k, v); }},
      {"scan-time", "TIME", "scan time", nullptr, [](PhotoJob& p, auto& k, auto& v) { p.pack.info.scanTime = Time(k, v); }},
      {"modified-time", "TIME", "last modification time", nullptr,
       [](PhotoJob& p, auto& k, auto& v) { p.pack.info.modifiedTime = Time(k, v); }},
      {"medium", "-1..8", "medium code (-1 none)", nullptr,
       [](PhotoJob& p, auto& k, auto& v) { p.pack.info.mediaType = static_cast<std::int8_t>(ParseInt(k, v, -1, 8)); }},
      {"medium-text", "TEXT", "medium description, up to 20 characters", nullptr,
       [](PhotoJob& p, auto& k, auto& v) { p.pack.info.mediaText = Text(k, v, 20); }},
      {"scanner-vendor", "TEXT", "up to 20 characters", nullptr,
       [](PhotoJob& p, auto& k, auto& v) { p.pack.info.scannerVendor = Text(k, v, 20); }},
      {"scanner-product", "TEXT", "up to 16 characters", nullptr,
       [](PhotoJob& p, auto& k, auto& v) { p.pack.info.scannerProduct = Text(k, v, 16); }},
      {"scanner-firmware", "TEXT", "firmware version, up to 4 characters", nullptr,
       [](PhotoJob& p, auto& k, auto& v) { p.pack.info.scannerFirmware = Text(k, v, 4); }},
      {"scanner-firmware-date", "TEXT", "firmware date, up to 8 characters", nullptr,
       [](PhotoJob& p, auto& k, auto& v) { p.pack.info.scannerFirmwareDate = Text(k, v, 8); }},
      {"scanner-serial", "TEXT", "up to 20 characters", nullptr,
       [](PhotoJob& p, auto& k, auto& v) { p.pack.info.scannerSerial = Text(k, v, 20); }},
      {"scanner-pixel-size", "X.YY", "scanner pixel size in micrometres, or none", nullptr,
       [](PhotoJob& p, auto& k, auto& v) { p.pack.info.scannerPixelSize = v == "none" ? 0xFFFF : ParseDecimalDotted(k, v); }},
      {"workstation", "TEXT", "workstation manufacturer, up to 20 characters", nullptr,
       [](PhotoJob& p, auto& k, auto& v) { p.pack.info.workstation = Text(k, v, 20); }},
      {"photofinisher", "TEXT", "up to 60 characters; empty for none", nullptr,
       [](PhotoJob& p, auto& k, auto& v) { p.pack.info.photofinisher = Text(k, v, 60); }},
      {"rights", "NAME", "rights file RIGHTS/NAME for the photo (sets the rights status to 1)", nullptr,
       [](PhotoJob& p, auto& k, auto& v) { p.rightsName = Upper(Text(k, v, 25)); p.pack.info.rightsStatus = 1; }},
      {"rights-status", "0|1", "rights status byte", nullptr,
       [](PhotoJob& p, auto& k, auto& v) { p.pack.info.rightsStatus = static_cast<std::uint8_t>(ParseInt(k, v, 0, 1)); }},
  };
  return keys;
}

const Key* FindKey(const std::string& name) {
  for (const Key& k : Keys())
    if (name == k.name) return &k;
  return nullptr;
}

void CheckSource(const std::string& source) {
  if (source.rfind("scene:", 0) != 0) return;
  const std::string rest = source.substr(6);
  const std::string name = rest.substr(0, rest.find(':'));
  for (const std::string& n : SceneNames())
    if (n == name) return;
  std::string known;
  for (const std::string& n : SceneNames()) known += (known.empty() ? "" : ", ") + n;
  throw Fail{"unknown scene \"" + name + "\" (known: " + known + ")"};
}

// Applies key=value to the disc or to the photo defaults.
void Apply(DiscJob& job, PhotoJob& defaults, const std::string& key, const std::string& value) {
  const Key* k = FindKey(key);
  if (!k || !(k->disc || k->photo)) throw Fail{"unknown option \"" + key + "\""};
  if (k->disc) k->disc(job, key, value);
  else k->photo(defaults, key, value);
}

// The character a backslash escape inside quotes stands for: \r and \n are the
// line breaks a rights text needs, \t a tab; any other escaped character stands
// for itself (\" and \\).
char Unescape(char c) {
  switch (c) {
    case 'r': return '\r';
    case 'n': return '\n';
    case 't': return '\t';
    default: return c;
  }
}

// Splits a manifest line into words; double quotes group blanks, backslash escapes.
std::vector<std::string> Words(const std::string& line, int lineNumber) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false, quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '\\' && i + 1 < line.size()) word += Unescape(line[++i]);
      else if (c == '"') quoted = false;
      else word += c;
    } else if (c == '"') {
      quoted = inWord = true;
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else if (c == '#' && !inWord) {
      break;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (quoted) throw Fail{"line " + std::to_string(lineNumber) + ": unterminated quote"};
  if (inWord) words.push_back(word);
  return words;
}

void ReadManifest(const std::string& path, DiscJob& job, PhotoJob defaults) {
  std::ifstream in(path);
  if (!in) throw Fail{"cannot read manifest " + path};
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    const std::vector<std::string> words = Words(line, number);
    if (words.empty()) continue;
    const bool photo = words[0] == "photo";
    if (photo && words.size() < 2) throw Fail{path + " line " + std::to_string(number) + ": photo needs a source"};
    PhotoJob p = defaults;
    for (std::size_t i = photo ? 2 : 0; i < words.size(); ++i) {
      const auto eq = words[i].find('=');
      if (eq == std::string::npos) throw Fail{path + " line " + std::to_string(number) + ": expected key=value, not \"" + words[i] + "\""};
      try {
        Apply(job, photo ? p : defaults, words[i].substr(0, eq), words[i].substr(eq + 1));
      } catch (const Fail& f) {
        throw Fail{path + " line " + std::to_string(number) + ": " + f.message};
      }
    }
    if (photo) {
      p.source = words[1];
      CheckSource(p.source);
      job.photos.push_back(p);
    }
  }
}

int DaysFromCivil(int y, int m, int d) {  // days since 1970-01-01
  y -= m <= 2;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yoe = y - era * 400;
  const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace

bool ParseTime(const std::string& text, std::uint32_t& seconds) {
  if (!text.empty() && text.find_first_not_of("0123456789") == std::string::npos) {
    if (text.size() > 10) return false;
    const unsigned long long v = std::strtoull(text.c_str(), nullptr, 10);
    if (v > 0xFFFFFFFFull) return false;
    seconds = static_cast<std::uint32_t>(v);
    return true;
  }
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  char sep = ' ';
  int n = 0;
  const int fields = std::sscanf(text.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d%n", &y, &mo, &d, &sep, &h, &mi, &s, &n);
  if (fields == 3) {
    std::sscanf(text.c_str(), "%*4d-%*2d-%*2d%n", &n);
  } else if (fields == 6) {
    s = 0;
    std::sscanf(text.c_str(), "%*4d-%*2d-%*2d%*c%*2d:%*2d%n", &n);
  } else if (fields != 7) {
    return false;
  }
  if (static_cast<std::size_t>(n) != text.size() || (fields > 3 && sep != ' ' && sep != 'T')) return false;
  if (y < 1970 || y > 2105 || mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 59) return false;
  const long long t = DaysFromCivil(y, mo, d) * 86400LL + h * 3600 + mi * 60 + s;
  if (t < 0 || t > 0xFFFFFFFFLL) return false;
  seconds = static_cast<std::uint32_t>(t);
  return true;
}

ParseResult ParseCommandLine(int argc, const char* const argv[], DiscJob& job, std::string& error) {
  try {
    PhotoJob defaults;
    std::vector<std::string> manifests, sources;
    for (int i = 1; i < argc; ++i) {
      const std::string arg = argv[i];
      if (arg == "--help" || arg == "-h") return ParseResult::kHelp;
      if (arg.rfind("--", 0) != 0) {
        sources.push_back(arg);
        continue;
      }
      const auto eq = arg.find('=');
      const std::string key = arg.substr(2, eq == std::string::npos ? std::string::npos : eq - 2);
      const Key* k = FindKey(key);
      if (!k) throw Fail{"unknown option --" + key + " (see --help)"};
      std::string value;
      if (eq != std::string::npos) {
        if (!k->arg) throw Fail{"--" + key + " takes no value"};
        value = arg.substr(eq + 1);
      } else if (k->arg) {
        if (i + 1 >= argc) throw Fail{"--" + key + " needs a value"};
        value = argv[++i];
      }
      if (key == "manifest") manifests.push_back(value);
      else Apply(job, defaults, key, value);
    }
    if (job.outDir.empty()) throw Fail{"no output folder given (--out DIR)"};
    for (const std::string& m : manifests) ReadManifest(m, job, defaults);
    for (const std::string& s : sources) {
      CheckSource(s);
      PhotoJob p = defaults;
      p.source = s;
      job.photos.push_back(p);
    }
    if (job.photos.empty()) throw Fail{"no photos given"};
    if (job.photos.size() > 2036) throw Fail{"a disc holds at most 2036 photos"};
    if (!job.stampSet) job.fields.stamp = job.fields.created;
    return ParseResult::kRun;
  } catch (const Fail& f) {
    error = f.message;
    return ParseResult::kError;
  }
}

std::string HelpText() {
  std::ostringstream out;
  out << "Usage: pcdmake --out DIR [options] [PHOTO...]\n"
         "Authors a Photo CD file tree (DIR/PHOTO_CD) with INFO.PCD, OVERVIEW.PCD,\n"
         "IMAGES/IMGnnnn.PCD, IPE extensions (64BASE) and RIGHTS files.\n\n"
         "PHOTO is a picture file (" << SupportedInputFormats() << ") or scene:NAME[:SEED], a built-in\n"
         "scene (";
  for (std::size_t i = 0; i < SceneNames().size(); ++i) out << (i ? ", " : "") << SceneNames()[i];
  out << "). Pictures are scaled to 3072 x 2048 (6144 x 4096 for 64base);\n"
         "portrait pictures are stored turned, with a rotation code.\n\nOptions:\n";
  for (const Key& k : Keys()) {
    std::string left = std::string("  --") + k.name + (k.arg ? std::string("=") + k.arg : "");
    if (left.size() < 30) left.resize(30, ' ');
    else left += "\n" + std::string(30, ' ');
    out << left << k.help << (k.photo ? " [photo]" : "") << "\n";
  }
  out << "  --help                      show this text\n\n"
         "TIME is YYYY-MM-DD[ HH:MM[:SS]] (UTC) or seconds since 1970.\n"
         "Options marked [photo] set defaults for every photo. A manifest holds one\n"
         "item a line: \"photo SOURCE key=value ...\" adds a photo with its own settings;\n"
         "a line of key=value words sets disc options or defaults for the photos after it.\n"
         "Values with blanks go in double quotes, where \\r, \\n and \\t are a carriage\n"
         "return, a line feed and a tab, and \\\" and \\\\ a quote and a backslash;\n"
         "# starts a comment.\n";
  return out.str();
}

}  // namespace pcdmake
