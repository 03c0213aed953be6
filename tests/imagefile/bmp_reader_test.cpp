// Decoding BMP files through the reader at several boxes, depths and gammas,
// and refusing hostile ones.
#include <gtest/gtest.h>

#include "../imaging/bitmap_helpers.h"
#include "bmp_builder.h"
#include "imagefile/format_module.h"
#include "imagefile/image_errors.h"
#include "imagefile/image_reader.h"

using namespace imagefile;
using testing_bitmaps::pixelsOf;

namespace {

std::uint32_t colour(int x, int y) {
  return static_cast<std::uint32_t>((x * 9 & 0xFF) << 16 | (y * 5 & 0xFF) << 8 | ((x + y) & 0xFF));
}

struct Decoded {
  bool ok = false;
  int error = 0;
  std::vector<std::uint32_t> display, full;
  int width = 0, height = 0, displayBits = 0;
};

Decoded decode(const std::vector<std::uint8_t>& file, DecodeRequest request) {
  Decoded out;
  ImageReader reader;
  reader.open(file.data(), file.size());
  out.ok = reader.beginDecode(request);
  while (out.ok && reader.progress() < 10000) out.ok = reader.step(7) == 1;
  out.error = reader.error();
  if (out.ok) {
    reader.finish(false);
    out.display = pixelsOf(reader.frame()->displayBitmap);
    out.full = pixelsOf(reader.dibSection());
    out.width = reader.displayedWidth();
    out.height = reader.displayedHeight();
    out.displayBits = reader.frame()->displayBits;
  }
  return out;
}

}  // namespace

TEST(BmpReader, IdentifiesAndReportsTheSize) {
  auto file = bmp_builder::make(40, 30, 24, colour);
  ImageReader reader;
  reader.open(file.data(), file.size());
  EXPECT_EQ(reader.format(), kFormatBmp);
  EXPECT_EQ(reader.width(), 40);
  EXPECT_EQ(reader.height(), 30);
  EXPECT_EQ(reader.bits(), 24);
  EXPECT_EQ(reader.displayedWidth(), 40);  // falls back to the image size
  EXPECT_EQ(reader.pageCount(), 1);
}

TEST(BmpReader, DecodesTrueColourAtFullSizeInBothRowOrders) {
  for (bool topDown : {false, true}) {
    auto file = bmp_builder::make(37, 11, 24, colour, {}, topDown);
    DecodeRequest request;
    request.displayDepth = 24;
    request.keepFullBitmap = true;
    Decoded d = decode(file, request);
    ASSERT_TRUE(d.ok) << d.error;
    ASSERT_EQ(d.display.size(), 37u * 11);
    for (int y = 0; y < 11; ++y)
      for (int x = 0; x < 37; ++x) ASSERT_EQ(d.display[y * 37 + x], colour(x, y)) << x << "," << y;
    EXPECT_EQ(d.full, d.display);
  }
}

TEST(BmpReader, PaletteDepthsDecodeToTheirIndices) {
  std::vector<std::uint32_t> palette16;
  for (int i = 0; i < 16; ++i) palette16.push_back(static_cast<std::uint32_t>(i * 0x100F01));
  struct Case { int bits; std::vector<std::uint32_t> palette; int wantBits; } cases[] = {
      {1, {}, 1}, {4, palette16, 8}, {8, {}, 8}};
  for (const Case& c : cases) {
    auto value = [&](int x, int y) { return static_cast<std::uint32_t>((x * 3 + y) % (1 << c.bits)); };
    auto file = bmp_builder::make(21, 6, c.bits, value, c.palette);
    DecodeRequest request;
    request.displayDepth = 24;
    request.bottomUp = true;
    Decoded d = decode(file, request);
    ASSERT_TRUE(d.ok) << c.bits;
    EXPECT_EQ(d.displayBits, c.wantBits);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 21; ++x) ASSERT_EQ(d.display[y * 21 + x], value(x, y)) << c.bits << " " << x << "," << y;
  }
}

TEST(BmpReader, FitsIntoTheBoxAndAppliesGamma) {
  auto file = bmp_builder::make(64, 32, 24, [](int, int) { return 0x808080u; });
  DecodeRequest request;
  request.displayDepth = 24;
  request.targetWidth = 16;
  request.targetHeight = 16;
  request.gamma = 2.0;
  Decoded d = decode(file, request);
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.width, 16);
  EXPECT_EQ(d.height, 8);
  EXPECT_EQ(d.display[0], 180u << 16 | 180u << 8 | 180u);
}

TEST(BmpReader, SixteenBitDisplayPacksTrueColour) {
  auto file = bmp_builder::make(8, 2, 24, [](int, int) { return 0xFF8008u; });
  DecodeRequest request;
  request.displayDepth = 16;
  request.dither16 = 0;
  request.keepFullBitmap = true;
  Decoded d = decode(file, request);
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.displayBits, 16);
  EXPECT_EQ(d.display[0], (31u << 10) | (16u << 5) | 1u);
  EXPECT_EQ(d.full[0], 0xFF8008u);
}

TEST(BmpReader, SixteenBitFilesWidenForTheFullCopy) {
  auto file = bmp_builder::make(4, 2, 16, [](int, int) { return (31u << 10) | (0u << 5) | 16u; });
  DecodeRequest request;
  request.displayDepth = 24;
  request.keepFullBitmap = true;
  Decoded d = decode(file, request);
  ASSERT_TRUE(d.ok);
  EXPECT_EQ(d.displayBits, 16);
  EXPECT_EQ(d.full[0], 0xFF0084u);  // red 31 -> 255, blue 16 -> 132
}

TEST(BmpReader, GreyPhotoOnAPaletteDisplayMapsThroughTheGreyPalette) {
  auto file = bmp_builder::make(256, 1, 8, [](int x, int) { return static_cast<std::uint32_t>(x); });
  ImageReader reader;
  reader.open(file.data(), file.size());
  DecodeRequest request;
  request.displayDepth = 8;
  ASSERT_TRUE(reader.beginDecode(request));
  while (reader.progress() < 10000) ASSERT_EQ(reader.step(10), 1);
  reader.finish(false);
  imaging::DibSectionInfo info;
  ASSERT_TRUE(imaging::describeDibSection(reader.firstBitmap(), info));
  EXPECT_EQ(info.colours[255].red, 254);  // value 255 -> entry 235
  EXPECT_EQ(info.colours[1].red, 0);      // value 1 -> entry 0
  imaging::RgbTriple entries[256];
  EXPECT_EQ(imaging::paletteEntries(reader.palette(), entries, 256), 236);
}

TEST(BmpReader, HostileFilesGiveErrors) {
  auto good = bmp_builder::make(16, 16, 8, [](int x, int) { return static_cast<std::uint32_t>(x); });
  struct Case { const char* what; std::function<void(std::vector<std::uint8_t>&)> spoil; int error; } cases[] = {
      {"truncated pixels", [](auto& f) { f.resize(f.size() - 1); }, kImageTruncated},
      {"huge width", [](auto& f) { bmp_builder::le32(f, 18, 0x7FFFFFFF); }, kImageTooWide},
      {"negative width", [](auto& f) { bmp_builder::le32(f, 18, 0xFFFFFFF0u); }, kImageBadHeader},
      {"zero height", [](auto& f) { bmp_builder::le32(f, 22, 0); }, kImageBadHeader},
      {"most negative height", [](auto& f) { bmp_builder::le32(f, 22, 0x80000000u); }, kImageTooWide},
      {"run-length", [](auto& f) { bmp_builder::le32(f, 30, 1); }, kImageMissingFeature},
      {"two planes", [](auto& f) { bmp_builder::le16(f, 26, 2); }, kImageBadHeader},
      {"pixels beyond the end", [](auto& f) { bmp_builder::le32(f, 10, 0xFFFFFF00u); }, kImageTruncated},
      {"unknown header", [](auto& f) { bmp_builder::le32(f, 14, 99); }, kImageBadHeader},
      {"odd depth", [](auto& f) { bmp_builder::le16(f, 28, 15); }, kImageMissingFeature},
  };
  for (const Case& c : cases) {
    auto file = good;
    c.spoil(file);
    ImageReader reader;
    reader.open(file.data(), file.size());
    EXPECT_FALSE(reader.beginDecode(DecodeRequest{})) << c.what;
    EXPECT_EQ(reader.error(), c.error) << c.what;
    EXPECT_FALSE(reader.decoding());
  }
  std::vector<std::uint8_t> tiny = {'B', 'M', 0, 0};
  ImageReader reader;
  reader.open(tiny.data(), tiny.size());
  EXPECT_EQ(reader.format(), kFormatUnrecognised);
  EXPECT_EQ(reader.error(), kImageBadHeader);
  EXPECT_EQ(reader.width(), 0);
}
