// Writes the Photo CD file tree: PHOTO_CD with INFO.PCD, OVERVIEW.PCD, the
// image packs in IMAGES, extensions in IPE and rights texts in RIGHTS.
#pragma once
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "extension_writer.h"

namespace pcdmake {

// How names appear on the disc: upper or lower case, files with or without
// the ISO 9660 version suffix ";1".
struct NameStyle {
  bool lowerCase = false;
  bool versionSuffix = false;
  std::string Folder(const std::string& upper) const;
  std::string File(const std::string& upper) const;
};

struct DiscFields {
  std::uint8_t versionMajor = 1, versionMinor = 0;
  std::string serial;                // 12 characters
  std::uint32_t created = 0;         // seconds since 1970
  std::uint32_t stamp = 0;           // second time stamp
};

class DiscWriter {
 public:
  // Creates root/PHOTO_CD; an existing one is replaced only when replace is set.
  DiscWriter(const std::filesystem::path& root, NameStyle style, bool replace);

  // Adds photo n (numbered from 1 in the order of calls).
  void AddPhoto(const std::vector<std::uint8_t>& pack, const std::vector<std::uint8_t>& thumbnailRowPairs,
                std::uint8_t attribute, const ExtensionFiles* extension);

  // Writes INFO.PCD, OVERVIEW.PCD and RIGHTS/<name> for every rights text.
  void Finish(const DiscFields& fields, const std::map<std::string, std::string>& rightsTexts);

  int PhotoCount() const { return static_cast<int>(attributes_.size()); }

 private:
  std::filesystem::path Dir(const std::filesystem::path& parent, const std::string& upper) const;
  void Write(const std::filesystem::path& dir, const std::string& upper, const std::vector<std::uint8_t>& bytes) const;

  NameStyle style_;
  std::filesystem::path photoCd_;
  std::vector<std::uint8_t> attributes_;
  std::vector<std::uint8_t> thumbnails_;
};

}  // namespace pcdmake
