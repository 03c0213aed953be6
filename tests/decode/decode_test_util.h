// Helpers shared by the decoder tests: files in a temporary folder and
// decoding into plain buffers.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "image_decode.h"
#include "pcd_test_files.h"

struct PackCloser {
  void operator()(ImagePack* pack) const { PcdCloseImagePack(pack); }
};
using PackPtr = std::unique_ptr<ImagePack, PackCloser>;

struct Decoded {
  PcdStatus status = 0;
  int rows = 0, columns = 0, bytesPerPixel = 0;
  std::vector<std::uint8_t> pixels;
  const std::uint8_t* Row(int bufferRow) const { return pixels.data() + static_cast<std::size_t>(bufferRow) * columns * bytesPerPixel; }
};

// Decodes a rectangle (or the whole output) of the pack's current level.
Decoded DecodeRect(ImagePack* pack, const OutputRect* rect = nullptr);

// Bottom-up buffers: output row y of an R-row rectangle is buffer row R - 1 - (y - top).
inline int BufferRow(int outputRow, int top, int rows) { return rows - 1 - (outputRow - top); }
