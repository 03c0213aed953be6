// The export command: decode each input, turn it and write it into the
// output folder under its pattern's name, on several worker threads.
#pragma once
#include <atomic>
#include <string>
#include <vector>

#include "cli/image_output.h"
#include "cli/output_names.h"
#include "cli/photo_decode.h"
#include "imaging/quarter_turns.h"

namespace cli {

class Manifest;

// The file options, and a cancel flag that also skips the photos not yet started.
struct ExportSettings : WriteOptions {
  std::string folder;  // made when missing
  std::string namePattern = kDefaultNamePattern;
  DecodeSettings decode;
  imaging::QuarterTurns turn;
  int jobs = 1;
  bool progressBar = false;
  bool strict = false;  // write no photo that needed a repair or a lower level
  bool dryRun = false;  // name the files, write nothing
  // Gets a line for every file written; a file already there is checked
  // against its line (size and modification time, or with checksum its SHA-256).
  Manifest* manifest = nullptr;
  bool checksum = false;
};

struct ExportResult {
  std::string input;
  std::string output;
  bool ok = false;
  std::string error;
  std::string note;  // written, but not quite as asked (a lower level, repairs)
  bool repaired = false;    // damage was decoded around
  bool lowerLevel = false;  // some or all of it comes from a lower level than asked for
  bool exists = false;  // not written because the file exists
  bool present = false;   // not written because the file is there as its manifest line says
  bool conflict = false;  // a file is there that is not the photo its manifest names
  int level = -1;       // the Photo CD level written; -1 for other inputs
  std::vector<std::string> repairs;  // what was repaired or came from a lower level, for the manifest
};

// The output path of an input named by the pattern, with the extension, in folder.
std::string outputPath(const std::string& folder, const std::string& pattern, const NameFields& fields,
                       const std::string& extension);
// The fields of the input at position index (0-based) of a run, whose disc has
// the identity given; the scan time is read only when the pattern uses it.
NameFields nameFieldsOf(const std::string& input, std::size_t index, const std::string& pattern,
                        const std::string& identity);
// True when path lies inside folder, judged by the names alone.
bool insideFolder(const std::string& path, const std::string& folder);

// Exports every input; results in input order.
std::vector<ExportResult> exportPhotos(const std::vector<std::string>& inputs, const ExportSettings& settings);

}  // namespace cli
