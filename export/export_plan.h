// What the Export command decides before it touches a file: the format table,
// the resolution names, the output names and which option blocks to keep.
#pragma once
#include <string>
#include <vector>

#include "imagefile/export_options.h"
#include "imagefile/format_module.h"

namespace imagefile {

struct ExportFormat {
  int id;                // the reader and writer format identifier
  const char* listText;  // its row in the Format list
  const char* extension;
  bool hasOptions;       // whether "Options..." opens a dialog for it
};
constexpr int kExportFormatCount = 3;
extern const ExportFormat kExportFormats[kExportFormatCount];

// The row of a format identifier; the first row when none matches.
int ExportFormatRow(int formatId);

constexpr int kResolutionCount = 7;
extern const char* const kResolutionTexts[kResolutionCount];

// The file title of sourcePath with its extension replaced by extension (or
// appended when it has none), joined to folder.
std::string ExportOutputPath(const std::string& folder, const std::string& sourcePath,
                             const std::string& extension);
// The part of a path after its last "\" or "/".
std::string FileTitle(const std::string& path);

// The line the list of repaired photos gives a photo: its title, what
// happened to it, and every cause the decode named, in one line.
std::string RepairedPhotoLine(const std::string& title, const std::string& what,
                              const std::vector<std::string>& causes);

// Rows the reader decodes per step: fewer for wider pictures, at least one.
int DecodeRowsPerStep(int width);

// Bits of the Export dialog's keep-as-defaults flags.
constexpr unsigned kKeepJpegOptions = 1;
constexpr unsigned kKeepTiffOptions = 2;
// The record to store after an export: the stored one with only the option
// blocks the user asked to keep taken from the working copy.
ExportOptions OptionsToStore(const ExportOptions& stored, const ExportOptions& working, unsigned keepFlags);

}  // namespace imagefile
