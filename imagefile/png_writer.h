// Writes 1-, 4-, 8-, 16- and 24-bit sources losslessly as PNG through libpng:
// true colour as RGB, grey tables as grey, other palettes as a palette; the
// metadata as an eXIf chunk and text chunks.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imagefile/image_writer.h"

namespace imagefile {

class PngWriter : public ImageWriter {
 public:
  PngWriter();
  ~PngWriter() override;
  // Trades file size for speed, for large pictures wanted at once.
  void setFast(bool fast) { fast_ = fast; }

 protected:
  int begin() override;
  int writeSomeRows(int count) override;
  int finish() override;
  void release() override;

 private:
  struct Encoder;
  bool startEncoder();
  bool writeRow(const std::uint8_t* row);
  bool endEncoder();
  void convertRow(int imageRow);

  std::unique_ptr<Encoder> encoder_;
  std::vector<std::uint8_t> rowBuffer_;
  bool greyOut_ = false;
  bool fast_ = false;
  std::string sourceText_;  // the "Source" text: scanner make and model
  std::vector<std::uint8_t> exifBlock_;  // made before the encoder starts
  std::string xmp_;                      // likewise
};

}  // namespace imagefile
