#include "export/export_plan.h"

#include "ui/path_utils.h"

namespace imagefile {

const ExportFormat kExportFormats[kExportFormatCount] = {
    {kFormatBmp, "BMP - Windows Bitmap", "bmp", false},
    {kFormatJpeg, "JPG - JPEG", "jpg", true},
    {kFormatTiff, "TIF  - Tag Image File Format", "tif", true},
};

const char* const kResolutionTexts[kResolutionCount] = {"BASE/64", "BASE/16", "BASE/4", "BASE",
                                                        "4 BASE",  "16 BASE", "64 BASE"};

int ExportFormatRow(int formatId) {
  for (int row = 0; row < kExportFormatCount; ++row)
    if (kExportFormats[row].id == formatId) return row;
  return 0;
}

std::string RepairedPhotoLine(const std::string& title, const std::string& what,
                              const std::vector<std::string>& causes) {
  std::string line = title + ": " + what;
  for (std::size_t i = 0; i < causes.size(); ++i) line += (i == 0 ? " (" : "; ") + causes[i];
  return causes.empty() ? line : line + ")";
}

std::string FileTitle(const std::string& path) {
  std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ExportOutputPath(const std::string& folder, const std::string& sourcePath,
                             const std::string& extension) {
  return JoinPath(folder, ReplaceExtension(FileTitle(sourcePath), extension));
}

int DecodeRowsPerStep(int width) {
  int wide = width / 200;
  return wide < 20 ? 20 - wide : 1;
}

ExportOptions OptionsToStore(const ExportOptions& stored, const ExportOptions& working, unsigned keepFlags) {
  ExportOptions out = stored;
  if (keepFlags & kKeepJpegOptions) out.jpeg = working.jpeg;
  if (keepFlags & kKeepTiffOptions) out.tiff = working.tiff;
  return out;
}

}  // namespace imagefile
