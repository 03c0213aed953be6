#include "cli/image_output.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>

#include "cli/durable_file.h"
#include "cli/output_names.h"
#include "imagefile/bmp_writer.h"
#include "imagefile/jpeg_writer.h"
#include "imagefile/png_writer.h"
#include "imagefile/tiff_writer.h"

namespace fs = std::filesystem;

namespace cli {

namespace {

std::unique_ptr<imagefile::ImageWriter> makeWriter(const WriteOptions& o) {
  if (o.format == "jpg") return std::make_unique<imagefile::JpegWriter>(o.jpeg);
  if (o.format == "bmp") return std::make_unique<imagefile::BmpWriter>();
  if (o.format == "png") {
    auto png = std::make_unique<imagefile::PngWriter>();
    png->setFast(o.fastPng);
    return png;
  }
  auto tiff = std::make_unique<imagefile::TiffWriter>(o.tiff);
  tiff->setMessageHandler(nullptr);  // its last error is reported with the photo
  tiff->setPredictor(true);
  return tiff;
}

// "permission denied": the system's text for an error, as a message part.
std::string reason(const std::error_code& code) {
  std::string text = code.message();
  if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  return text;
}

}  // namespace

std::string existsMessage(const std::string& output) {
  return shownPath(output) + " exists; not replaced (--overwrite replaces it)";
}

std::string conflictMessage(const std::string& output, const std::string& difference) {
  return "conflict: " + shownPath(output) + " exists but is not this photo (" + difference + "); not replaced";
}

WriteOutcome writeImageFile(imaging::BitmapHandle bitmap, const imagefile::ImageMetadata* metadata, const WriteOptions& o,
                    const std::string& output, std::string& error) {
  std::error_code ec;
  const fs::path outputFile = fs::u8path(output);  // names are UTF-8 on every system
  if (!o.overwrite && fs::exists(outputFile, ec)) {
    error = existsMessage(output);
    return WriteOutcome::Exists;
  }
  const fs::path folder = outputFile.parent_path();
  if (!folder.empty() && !fs::is_directory(folder, ec) && !fs::create_directories(folder, ec) && ec) {
    error = "cannot create the folder " + shownPath(folder.u8string()) + ": " + reason(ec);
    return WriteOutcome::Failed;
  }
  removeStalePartials(folder.u8string());
  std::unique_ptr<imagefile::ImageWriter> writer = makeWriter(o);
  if (metadata) writer->setMetadata(*metadata);
  const std::string temporary = temporaryPathIn(folder.u8string());
  const fs::path temporaryFile = fs::u8path(temporary);
  writer->setOutput(temporary);
  if (writer->setSource(bitmap) != 0) {
    error = "invalid bitmap";
    return WriteOutcome::Failed;
  }
  // The C library's error number says why a file could not be made or
  // written; the writers report only that it failed.
  errno = 0;
  int result = writer->open();
  const char* step = "cannot create ";
  while (result == 0 && writer->rowsWritten() < writer->source().height) {
    step = "cannot write ";
    if (o.cancel && *o.cancel) {
      error = "cancelled";
      result = imagefile::kWriterFailed;
    } else {
      result = writer->writeRows(64);
    }
  }
  if (result == 0) {
    step = "cannot finish ";
    result = writer->close();
  }
  if (result != 0) {
    const int number = errno;
    if (error.empty()) {
      error = step + shownPath(output);
      if (number != 0) error += ": " + reason(std::error_code(number, std::generic_category()));
      const std::string& detail = writer->libraryMessage();
      if (!detail.empty()) error += " (" + detail + ")";
    }
    writer->abandon();
    fs::remove(temporaryFile, ec);
    return WriteOutcome::Failed;
  }
  // The writer's close put the data on the disk before the name gets there:
  // a power cut never leaves an empty file under the final name.
  // A file that appeared meanwhile (another run) is not replaced either.
  if (!o.overwrite && fs::exists(outputFile, ec)) {
    error = existsMessage(output);
    fs::remove(temporaryFile, ec);
    return WriteOutcome::Exists;
  }
  if (o.beforeRename && !o.beforeRename(temporary, error)) {
    fs::remove(temporaryFile, ec);
    return WriteOutcome::Failed;
  }
  fs::rename(temporaryFile, outputFile, ec);
  if (ec) {
    error = "cannot rename into place " + shownPath(output) + ": " + reason(ec);
    fs::remove(temporaryFile, ec);
    return WriteOutcome::Failed;
  }
  std::string why;
  if (!syncFolder(folder.u8string(), why)) {
    error = "cannot write the folder of " + shownPath(output) + " to the disk: " + why;
    return WriteOutcome::Failed;
  }
  return WriteOutcome::Written;
}

}  // namespace cli
