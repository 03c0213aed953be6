// Writes 1-, 8- and 24-bit sources as TIFF through libtiff, uncompressed or
// with CCITT Group 3/4 (bilevel), LZW, Deflate or JPEG compression, in strips
// of modest size, with the metadata as tags and an EXIF directory.
#pragma once
#include <cstdint>
#include <vector>

#include "imagefile/export_options.h"
#include "imagefile/image_writer.h"
#include "imagefile/library_messages.h"

struct tiff;

namespace imagefile {

class TiffWriter : public ImageWriter {
 public:
  explicit TiffWriter(const TiffOptions& options) : options_(options) {}
  ~TiffWriter() override;
  // Where libtiff's reports go (default: showLibraryMessage).
  void setMessageHandler(LibraryMessageHandler handler) { messages_ = handler; }
  // Horizontal differencing before LZW or Deflate: smaller photos, same pixels.
  void setPredictor(bool on) { predictor_ = on; }

 protected:
  int begin() override;
  int writeSomeRows(int count) override;
  int finish() override;
  void release() override;

 private:
  struct Io;
  bool writeExifDirectory();
  bool setTags();
  std::uint32_t rowsPerStrip() const;
  void setMetadataTags(bool withRgbProfile);
  void convertRow(int imageRow);

  TiffOptions options_;
  LibraryMessageHandler messages_ = showLibraryMessage;
  bool predictor_ = false;
  ::tiff* tiff_ = nullptr;
  bool bilevel_ = false;      // CCITT Group 3 or 4
  bool jpeg_ = false;         // JPEG compression
  bool expandToRgb_ = false;  // a colour palette written as RGB (JPEG)
  std::uint64_t exifOffset_ = 0;  // where the EXIF directory went; 0 without one
  std::vector<std::uint8_t> rowBuffer_;
};

}  // namespace imagefile
