// What pcdmake is asked to do, from the command line and a manifest file.
#pragma once
#include <string>
#include <vector>

#include "disc_image_writer.h"
#include "disc_writer.h"
#include "pack_writer.h"

namespace pcdmake {

struct PhotoJob {
  std::string source;     // picture file, or scene:NAME[:SEED]
  int rotation = -1;      // -1: from the source's shape
  int topLevel = 5;       // 3 BASE, 4 4BASE, 5 16BASE, 6 64BASE
  PackOptions pack;
  std::string rightsName; // upper case, without suffix; empty: none
};

struct DiscJob {
  std::string outDir;
  bool replace = false;
  bool verbose = false;
  NameStyle style;
  DiscFields fields;
  bool stampSet = false;
  std::string rightsText = "All photographs on this disc are the property of their makers.\r\n";
  std::vector<PhotoJob> photos;
  std::string isoImage;          // also write the tree as this .iso
  std::string rawImage;          // and as this raw .bin with its .cue
  ImageLayout imageLayout;       // interleaving of the images
};

enum class ParseResult { kRun, kHelp, kError };

// Fills job from argv (and the manifest it names); on kError, error says why.
ParseResult ParseCommandLine(int argc, const char* const argv[], DiscJob& job, std::string& error);

std::string HelpText();

// Seconds since 1970-01-01 00:00 UTC from "YYYY-MM-DD[ HH:MM[:SS]]" (or with
// a T between date and time) or a plain number; false if malformed.
bool ParseTime(const std::string& text, std::uint32_t& seconds);

}  // namespace pcdmake
