// The export command: decode each input, turn it, write it into the output
// folder under a temporary name and rename it into place once complete, on
// several worker threads.
#pragma once
#include <atomic>
#include <string>
#include <vector>

#include "cli/photo_decode.h"
#include "imagefile/export_options.h"

namespace cli {

struct ExportSettings {
  std::string folder;
  std::string format = "tif";  // tif, jpg, bmp or png: also the file extension
  DecodeSettings decode;
  int rotation = 0;  // 0, 90, 180 or 270 degrees clockwise
  imagefile::JpegOptions jpeg;
  imagefile::TiffOptions tiff;
  int jobs = 1;
  bool progressBar = false;
  // Set from elsewhere (an interrupt) to stop: the file being written is
  // dropped and the photos not yet started are skipped.
  const std::atomic<bool>* cancel = nullptr;
};

struct ExportResult {
  std::string input;
  std::string output;
  bool ok = false;
  std::string error;
  std::string note;  // written, but not quite as asked (a lower level)
};

// The output path of an input: its file title with the extension replaced
// (or appended when it has none), in folder.
std::string outputPath(const std::string& folder, const std::string& input, const std::string& extension);

// Exports every input; results in input order.
std::vector<ExportResult> exportPhotos(const std::vector<std::string>& inputs, const ExportSettings& settings);

}  // namespace cli
