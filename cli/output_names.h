// Output file names: a pattern with fields for the photo number, the disc's
// serial number and the scan date, so that many discs can share one folder.
#pragma once
#include <cstdint>
#include <string>

namespace cli {

// The default pattern: the pack's own name (IMG0001).
inline constexpr const char* kDefaultNamePattern = "{name}";

// The pattern syntax, for --help.
extern const char* const kNamePatternHelp;

// What a photo's name can be made of.
struct NameFields {
  std::string name;     // the input's file title without extension or version suffix
  int photo = 0;        // the photo's number on its disc
  std::string serial;   // the disc's identity: its serial number (UTF-8) or a digest
  std::string disc;     // the name of the disc image or of the disc's folder
  bool hasScanTime = false;
  std::uint32_t scanTime = 0;  // seconds since 1970-01-01 00:00
};

// Empty when the pattern is usable, otherwise what is wrong with it.
std::string checkNamePattern(const std::string& pattern);
// True when the pattern uses a field that needs the given text ("{serial}").
bool usesField(const std::string& pattern, const char* field);

// The pattern with its fields filled in; characters no file name may hold
// become "_" and a field is never "." or "..", so a field cannot lead out of
// the output folder; "/" in the pattern makes a subfolder.
std::string expandNamePattern(const std::string& pattern, const NameFields& fields);

// The file title of an input path (IMG0001 of .../IMG0001.PCD;1).
std::string fileTitle(const std::string& input);

// A path as this system writes it (backslashes on Windows), always valid
// UTF-8: bytes that are not UTF-8 are shown escaped as \xNN.
std::string shownPath(const std::string& path);

}  // namespace cli
