// Writes an authored file tree as a disc image: an .iso of 2048-byte sectors,
// or a raw .bin of 2352-byte Mode 2 sectors with its .cue sheet.
#pragma once
#include <cstdint>
#include <filesystem>

namespace pcdmake {

struct ImageLayout {
  bool raw = false;         // .bin/.cue instead of .iso
  int unitSectors = 0;      // > 0: files are interleaved, this many data sectors
  int gapSectors = 0;       //   then this many Form 2 sectors, over and over
  std::uint32_t firstLba = 0;  // disc sector of the image's first sector (a later session's start)
};

// Writes every folder and file under root (the folder holding PHOTO_CD) into
// image; a raw image gets the cue sheet beside it (same name, ".cue").
void WriteDiscImage(const std::filesystem::path& root, const std::filesystem::path& image, const ImageLayout& layout);

}  // namespace pcdmake
