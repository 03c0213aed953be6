// Helpers for the writer tests: source bitmaps with known pixels, running a
// writer to the end, sinks that fail, and reading files back.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "../imaging/bitmap_helpers.h"
#include "imagefile/image_writer.h"
#include "../support/unique_temp.h"

namespace writer_test {

inline std::string tempPath(const std::string& name) { return test_support::UniqueTempPath(name); }

// A smooth colour picture with some detail: 0x00RRGGBB at (x, y).
inline std::uint32_t photoPixel(int x, int y) {
  return static_cast<std::uint32_t>((x * 7 + y) & 255) << 16 | static_cast<std::uint32_t>((y * 5) & 255) << 8 |
         static_cast<std::uint32_t>((x * 3 + y * 2) & 255);
}

inline imaging::BitmapHandle makeColourPalette(imaging::BitmapHandle bitmap, int entries) {
  std::vector<imaging::RgbQuad> table(entries);
  for (int i = 0; i < entries; ++i)
    table[i] = imaging::RgbQuad{static_cast<std::uint8_t>(i * 37), static_cast<std::uint8_t>(255 - i),
                                static_cast<std::uint8_t>(i * 11), 0};
  imaging::setDibColourTable(bitmap, table.data(), entries);
  return bitmap;
}

// Runs the writer from open to close on a file; 0 or the first failure.
inline int writeWhole(imagefile::ImageWriter& writer, imaging::BitmapHandle bitmap, const std::string& path,
                      int rowsPerStep = 7) {
  writer.setOutput(path);
  int result = writer.setSource(bitmap);
  if (result == 0) result = writer.open();
  while (result == 0 && writer.rowsWritten() < writer.source().height) result = writer.writeRows(rowsPerStep);
  int closed = writer.close();
  return result ? result : closed;
}

inline std::vector<std::uint8_t> readBytes(const std::string& path) {
  std::vector<std::uint8_t> data;
  if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
    std::uint8_t buffer[65536];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) data.insert(data.end(), buffer, buffer + n);
    std::fclose(f);
  }
  return data;
}

inline bool fileExists(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (f) std::fclose(f);
  return f != nullptr;
}

// Accepts the first `room` bytes, then refuses every write.
class LimitedSink : public imagefile::ByteSink {
 public:
  explicit LimitedSink(std::size_t room) : room_(room) {}
  bool write(const void* data, std::size_t size) override {
    if (size > room_) return false;
    room_ -= size;
    bytes.insert(bytes.end(), static_cast<const std::uint8_t*>(data), static_cast<const std::uint8_t*>(data) + size);
    return true;
  }
  std::vector<std::uint8_t> bytes;

 private:
  std::size_t room_;
};

// Red, green, blue of the source pixel at (x, y) as the writers see it.
inline void sourceRgb(imaging::BitmapHandle bitmap, int x, int y, std::uint8_t rgb[3]) {
  imaging::DibSectionInfo info;
  imaging::describeDibSection(bitmap, info);
  imaging::PixelView view = imaging::makeView(info.header, info.bits);
  std::uint32_t v = imaging::getPixel(view, x, y);
  if (view.bitCount <= 8) {
    const imaging::RgbQuad& c = info.colours[v];
    rgb[0] = c.red, rgb[1] = c.green, rgb[2] = c.blue;
  } else {
    rgb[0] = static_cast<std::uint8_t>(v >> 16), rgb[1] = static_cast<std::uint8_t>(v >> 8);
    rgb[2] = static_cast<std::uint8_t>(v);
  }
}

}  // namespace writer_test
