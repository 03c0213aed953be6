// Writes 1-, 8- and 24-bit sources as baseline or progressive JPEG through
// the JPEG library's compressor, with the metadata as an EXIF segment and the
// ICC profile. Library errors end the step with a failure instead of ending
// the process.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "imagefile/export_options.h"
#include "imagefile/image_writer.h"

namespace imagefile {

class JpegWriter : public ImageWriter {
 public:
  explicit JpegWriter(const JpegOptions& options);
  ~JpegWriter() override;

 protected:
  int begin() override;
  int writeSomeRows(int count) override;
  int finish() override;
  void release() override;

 private:
  struct Compressor;
  bool startCompressor();
  bool writeScanline(std::uint8_t* row);
  bool finishCompressor();
  void writeMetadataMarkers();
  const std::uint8_t* convertRow(int imageRow);

  JpegOptions options_;
  std::unique_ptr<Compressor> compressor_;
  std::vector<std::uint8_t> rowBuffer_;
  std::vector<std::uint8_t> exifBlock_;  // APP1 body, made before the compressor starts
  std::vector<std::uint8_t> xmpBlock_;   // the XMP APP1 body, likewise
};

}  // namespace imagefile
