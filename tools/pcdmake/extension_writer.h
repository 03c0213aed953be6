// Writes the image pack extension that carries 64BASE: INFO.IPE for the
// extension folder, and INFO.IC with its component data files for the
// level folder 64BASE. The layout is described in docs/photo-cd-extension.md.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "pyramid.h"

namespace pcdmake {

struct NamedFile {
  std::string name;  // upper case; the disc writer applies the disc's case
  std::vector<std::uint8_t> bytes;
};

struct ExtensionFiles {
  std::vector<std::uint8_t> infoIpe;
  std::vector<NamedFile> level64;  // INFO.IC first, then the data files
};

// levels must hold the 64BASE residuals. Names inside INFO.IC are written in
// lower case when lowerCase is set; longCodes as for the pack's code tables.
ExtensionFiles WriteExtension(const PhotoLevels& levels, bool lowerCase, bool longCodes = false);

}  // namespace pcdmake
