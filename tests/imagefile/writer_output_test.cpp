// The writers produce the same bytes in every build: the native and the
// Windows programs write the same pictures and must match the hashes below,
// which were taken from the native build. After a deliberate change to a
// writer, print the new list with LUMIVEXA_PRINT_WRITER_HASHES=1.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "imagefile/bmp_writer.h"
#include "imagefile/jpeg_writer.h"
#include "imagefile/png_writer.h"
#include "imagefile/tiff_writer.h"
#include "writer_test_util.h"

using namespace imagefile;
using namespace writer_test;

namespace {

std::uint64_t fnv1a(const std::vector<std::uint8_t>& data) {
  std::uint64_t h = 14695981039346656037ull;
  for (std::uint8_t b : data) h = (h ^ b) * 1099511628211ull;
  return h;
}

std::unique_ptr<ImageWriter> makeWriter(const std::string& kind) {
  if (kind == "bmp") return std::make_unique<BmpWriter>();
  if (kind == "png") return std::make_unique<PngWriter>();
  if (kind == "jpeg") {
    JpegOptions o;
    o.optimise = 1;
    return std::make_unique<JpegWriter>(o);
  }
  if (kind == "jpeg-progressive") {
    JpegOptions o;
    o.progressive = 1;
    o.quality = 90;
    return std::make_unique<JpegWriter>(o);
  }
  TiffOptions o;
  const char* names[] = {"tiff-none", "tiff-g3", "tiff-g4", "tiff-lzw", "tiff-deflate", "tiff-jpeg"};
  for (int i = 0; i < 6; ++i)
    if (kind == names[i]) o.compression = i;
  auto tiff = std::make_unique<TiffWriter>(o);
  tiff->setMessageHandler(nullptr);
  return tiff;
}

}  // namespace

TEST(WriterOutput, IsTheSameInEveryBuild) {
  const struct {
    const char* kind;
    int bits;
    std::uint64_t hash;
  } cases[] = {
#include "writer_output_hashes.inc"
  };
  bool print = std::getenv("LUMIVEXA_PRINT_WRITER_HASHES") != nullptr;
  ImageMetadata metadata;
  metadata.make = "Maker";
  metadata.dateTime = "1996:05:04 12:00:00";
  metadata.iccProfile.assign(300, 9);
  metadata.srgb = true;
  for (const auto& c : cases) {
    imaging::BitmapHandle bitmap = testing_bitmaps::makeSection(61, 37, c.bits, true, [&](int x, int y) {
      return c.bits == 24 ? photoPixel(x, y) : static_cast<std::uint32_t>(x * 5 + y * 3) & ((1u << c.bits) - 1);
    });
    if (c.bits == 8) makeColourPalette(bitmap, 256);
    std::unique_ptr<ImageWriter> writer = makeWriter(c.kind);
    writer->setMetadata(metadata);
    std::string path = tempPath("same-bytes.out");
    ASSERT_EQ(writeWhole(*writer, bitmap, path), 0) << c.kind;
    std::uint64_t hash = fnv1a(readBytes(path));
    if (print) std::printf("    {\"%s\", %d, 0x%016llxull},\n", c.kind, c.bits, static_cast<unsigned long long>(hash));
    else EXPECT_EQ(hash, c.hash) << c.kind << " " << c.bits;
    imaging::deleteBitmap(bitmap);
  }
}
