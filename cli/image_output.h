// Writing one bitmap into an image file: under a short temporary name beside the
// final one, renamed into place only when complete, never replacing a file
// unless asked to.
#pragma once
#include <atomic>
#include <functional>
#include <string>

#include "imagefile/export_options.h"
#include "imagefile/image_metadata.h"
#include "imaging/dib_types.h"

namespace cli {

struct WriteOptions {
  std::string format = "tif";  // tif, jpg, bmp or png: also the file extension
  imagefile::JpegOptions jpeg;
  imagefile::TiffOptions tiff;
  bool overwrite = false;  // replace files that exist
  bool fastPng = false;    // quicker, larger PNG files
  // Set from elsewhere (an interrupt) to stop: the file being written is dropped.
  const std::atomic<bool>* cancel = nullptr;
  // Called with the complete, synced temporary file just before it is renamed
  // into place (the manifest's line goes in then); false with a message stops the write.
  std::function<bool(const std::string& temporary, std::string& error)> beforeRename;
};

// The text of an existing output that is left alone.
std::string existsMessage(const std::string& output);
// The text of an existing output that is not the photo the manifest names there.
std::string conflictMessage(const std::string& output, const std::string& difference);

enum class WriteOutcome { Written, Exists, Failed };

// Writes the bitmap to output, creating missing folders on the way. Exists
// when the file is there and may not be replaced; Failed on failure or when
// cancelled. Either comes with a message naming the file (and the system's
// reason), and nothing of the attempt is left behind.
WriteOutcome writeImageFile(imaging::BitmapHandle bitmap, const imagefile::ImageMetadata* metadata, const WriteOptions& options,
                    const std::string& output, std::string& error);

}  // namespace cli
