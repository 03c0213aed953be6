// The last step of every decode: rows of PhotoYCC (luma and full-width
// chroma) written into the caller's buffer in the handle's output format,
// through the orientation's placement steps.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "orientation.h"
#include "output_format.h"
#include "pcd_status.h"

// Bytes per pixel after switching format: one for LumaOnly and Indexed8;
// three for the others when it was one, else unchanged. 3001 for codes
// outside 10..13.
PcdStatus PcdFormatBytesPerPixel(int code, int currentBytesPerPixel, int& bytesPerPixel);

// Switches a handle's output format (PcdSetFormat of image and overview
// packs): format, bytes per pixel as above, adjacent components.
PcdStatus PcdChangeFormat(int code, OutputFormat& format, int& bytesPerPixel, int& componentSpacing);

struct OutputTarget {
  OutputFormat format;
  int bytesPerPixel;
  int componentSpacing;  // distance in bytes between the B, G and R (or Y, C1, C2) of a pixel
  Orientation orientation;
};

// Serpentine error diffusion state of Indexed8 output: per component an
// accumulator per column of the current and the next row.
struct ErrorDiffusion {
  std::vector<int> current;  // 3 per column, plus room for one column past each end
  std::vector<int> next;
  bool rightToLeft = false;
};

class RowWriter {
 public:
  // Prepares to write a rectangle of outputRows x outputColumns (oriented)
  // pixels into buffer with the given row stride. 3001 for a missing buffer,
  // a stride too small for a row, or a bad format; 3016 for memory.
  PcdStatus Begin(const OutputTarget& target, int outputRows, int outputColumns, std::uint8_t* buffer,
                  std::ptrdiff_t stride);
  // Writes the next stored row: count pixels from the luma and chroma rows.
  void Write(const std::uint8_t* y, const std::uint8_t* c1, const std::uint8_t* c2, int count);

 private:
  void WriteRgb(const std::uint8_t* y, const std::uint8_t* c1, const std::uint8_t* c2, int count);
  void WriteIndexed(const std::uint8_t* y, const std::uint8_t* c1, const std::uint8_t* c2, int count);

  OutputTarget target_{};
  std::uint8_t* row_ = nullptr;
  std::ptrdiff_t pixelStep_ = 0;
  std::ptrdiff_t rowStep_ = 0;
  ErrorDiffusion diffusion_;
};
