// The PNG writer: lossless read-back through libpng, colour types, the EXIF
// and text chunks and sRGB tagging.
#include <gtest/gtest.h>

#include <png.h>

#include <cstring>

#include "exif_reading.h"
#include "imagefile/exif_block.h"
#include "imagefile/png_writer.h"
#include "writer_test_util.h"

using namespace imagefile;
using namespace writer_test;

namespace {

struct PngFile {
  png_uint_32 width = 0, height = 0;
  int colourType = -1, depth = 0, intent = -1;
  std::vector<std::uint8_t> rgb;  // expanded to 8-bit RGB
  std::vector<std::pair<std::string, std::string>> texts;
  std::vector<std::uint8_t> exif;  // as a JPEG APP1 body, for exifText
};

PngFile readPng(const std::string& path) {
  PngFile f;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return f;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    ADD_FAILURE() << "libpng failed on " << path;
    return PngFile{};
  }
  png_init_io(png, file);
  png_read_info(png, info);
  f.width = png_get_image_width(png, info);
  f.height = png_get_image_height(png, info);
  f.colourType = png_get_color_type(png, info);
  f.depth = png_get_bit_depth(png, info);
  png_get_sRGB(png, info, &f.intent);
  png_textp texts = nullptr;
  int count = png_get_text(png, info, &texts, nullptr);
  for (int i = 0; i < count; ++i) f.texts.emplace_back(texts[i].key, texts[i].text);
  png_bytep exif = nullptr;
  png_uint_32 exifSize = 0;
  if (png_get_eXIf_1(png, info, &exifSize, &exif)) {
    f.exif.assign(kExifHeaderSize, 0);
    std::memcpy(f.exif.data(), "Exif", 4);
    f.exif.insert(f.exif.end(), exif, exif + exifSize);
  }
  png_set_expand(png);
  png_set_gray_to_rgb(png);
  png_read_update_info(png, info);
  f.rgb.resize(static_cast<std::size_t>(f.width) * f.height * 3);
  for (png_uint_32 y = 0; y < f.height; ++y) png_read_row(png, &f.rgb[static_cast<std::size_t>(y) * f.width * 3], nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  return f;
}

void expectSamePixels(const PngFile& f, imaging::BitmapHandle bitmap) {
  for (png_uint_32 y = 0; y < f.height; ++y)
    for (png_uint_32 x = 0; x < f.width; ++x) {
      std::uint8_t rgb[3];
      sourceRgb(bitmap, static_cast<int>(x), static_cast<int>(y), rgb);
      ASSERT_EQ(std::memcmp(&f.rgb[(static_cast<std::size_t>(y) * f.width + x) * 3], rgb, 3), 0) << x << "," << y;
    }
}

}  // namespace

TEST(PngWriter, EveryDepthComesBackPixelForPixel) {
  auto index = [](int x, int y) { return static_cast<std::uint32_t>(x * 3 + y); };
  struct Case {
    int bits;
    bool colourTable;
    int colourType;
  } cases[] = {{24, false, PNG_COLOR_TYPE_RGB},    {8, true, PNG_COLOR_TYPE_PALETTE},
               {8, false, PNG_COLOR_TYPE_GRAY},   {4, true, PNG_COLOR_TYPE_PALETTE},
               {1, false, PNG_COLOR_TYPE_GRAY},   {16, false, PNG_COLOR_TYPE_RGB}};
  for (const Case& c : cases) {
    for (bool bottomUp : {true, false}) {
      imaging::BitmapHandle bitmap = c.bits > 8 ? testing_bitmaps::makeSection(13, 7, c.bits, bottomUp, photoPixel)
                                                : testing_bitmaps::makeSection(13, 7, c.bits, bottomUp, [&](int x, int y) {
                                                    return index(x, y) & ((1u << c.bits) - 1);
                                                  });
      if (c.colourTable) makeColourPalette(bitmap, 1 << c.bits);
      PngWriter writer;
      std::string path = tempPath("writer.png");
      ASSERT_EQ(writeWhole(writer, bitmap, path), 0) << writer.libraryMessage();
      PngFile f = readPng(path);
      EXPECT_EQ(f.colourType, c.colourType) << c.bits;
      EXPECT_EQ(f.width, 13u);
      if (c.bits == 16) {
        // 5-5-5 pixels widen to 8 bits; compare with the widened source.
        imaging::DibSectionInfo info;
        imaging::describeDibSection(bitmap, info);
        std::uint32_t v = imaging::getPixel(imaging::makeView(info.header, info.bits), 2, 3);
        EXPECT_EQ(f.rgb[(3 * 13 + 2) * 3], imaging::widen5(v >> 10 & 31));
      } else {
        expectSamePixels(f, bitmap);
      }
      imaging::deleteBitmap(bitmap);
    }
  }
}

TEST(PngWriter, MetadataBecomesExifTextChunksAndSrgb) {
  imaging::BitmapHandle bitmap = testing_bitmaps::makeSection(4, 4, 24, true, photoPixel);
  ImageMetadata m;
  m.make = "Maker";
  m.model = "Model 2000";
  m.copyright = "Rights reserved";
  m.dateTime = "1996:05:04 12:00:00";
  m.srgb = true;
  PngWriter writer;
  writer.setMetadata(m);
  std::string path = tempPath("meta.png");
  ASSERT_EQ(writeWhole(writer, bitmap, path), 0);
  PngFile f = readPng(path);
  EXPECT_EQ(f.intent, PNG_sRGB_INTENT_PERCEPTUAL);
  using Text = std::pair<std::string, std::string>;
  EXPECT_NE(std::find(f.texts.begin(), f.texts.end(), Text{"Source", "Maker Model 2000"}), f.texts.end());
  EXPECT_NE(std::find(f.texts.begin(), f.texts.end(), Text{"Copyright", "Rights reserved"}), f.texts.end());
  // The form PNG suggests for it, with the zone unknown.
  EXPECT_NE(std::find(f.texts.begin(), f.texts.end(), Text{"Creation Time", "Sat, 04 May 1996 12:00:00 -0000"}),
            f.texts.end());
  EXPECT_EQ(exifText(f.exif, EXIF_IFD_0, EXIF_TAG_MODEL), m.model);
  EXPECT_EQ(exifText(f.exif, EXIF_IFD_0, EXIF_TAG_COPYRIGHT).rfind(m.copyright, 0), 0u);
  // One eXIf chunk, ahead of the pixels.
  std::string bytes;
  for (std::uint8_t b : readBytes(path)) bytes += static_cast<char>(b);
  EXPECT_LT(bytes.find("eXIf"), bytes.find("IDAT"));
  EXPECT_EQ(bytes.find("eXIf", bytes.find("IDAT")), std::string::npos);
  imaging::deleteBitmap(bitmap);
}

TEST(PngWriter, ShortWritesAndMissingRowsFail) {
  imaging::BitmapHandle bitmap = testing_bitmaps::makeSection(64, 64, 24, true, photoPixel);
  LimitedSink sink(20);
  PngWriter writer;
  writer.setSink(&sink);
  ASSERT_EQ(writer.setSource(bitmap), 0);
  int result = writer.open();
  while (result == 0 && writer.rowsWritten() < 64) result = writer.writeRows(16);
  if (result == 0) result = writer.close();
  EXPECT_EQ(result, kWriterFailed);

  PngWriter partial;
  partial.setOutput(tempPath("partial.png"));
  ASSERT_EQ(partial.setSource(bitmap), 0);
  ASSERT_EQ(partial.open(), 0);
  ASSERT_EQ(partial.writeRows(3), 0);
  EXPECT_EQ(partial.close(), kWriterFailed);
  imaging::deleteBitmap(bitmap);
}
