// The TIFF writer: every compression read back with libtiff, tags and
// photometric rules, bilevel packing, and the row buffer libtiff may rewrite.
#include <gtest/gtest.h>

#include <tiffio.h>

#include <cstring>

#include "imagefile/library_messages.h"
#include "imagefile/tiff_writer.h"
#include "writer_test_util.h"

using namespace imagefile;
using namespace writer_test;

namespace {

struct TiffFile {
  std::uint32_t width = 0, height = 0;
  std::uint16_t compression = 0, photometric = 0, samples = 0, bits = 0, predictor = 0, orientation = 0;
  float xDpi = 0, yDpi = 0;
  std::vector<std::uint16_t> colourMap;  // red, green, blue arrays one after the other
  std::vector<std::vector<std::uint8_t>> rows;
  std::string make, dateTime, digitised;  // digitised: from the EXIF directory
  std::uint32_t iccLength = 0, rowsPerStrip = 0;
};

void quiet(const char*, const char*, va_list) {}

// Warnings are expected (Deflate's legacy identifier); errors are not.
void failOnError(bool isError, const char* module, const char* text) {
  EXPECT_FALSE(isError) << module << ": " << text;
}

TiffFile readTiff(const std::string& path) {
  TiffFile f;
  TIFFSetWarningHandler(quiet);
  TIFF* t = TIFFOpen(path.c_str(), "r");
  EXPECT_NE(t, nullptr);
  if (!t) return f;
  TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &f.width);
  TIFFGetField(t, TIFFTAG_IMAGELENGTH, &f.height);
  TIFFGetField(t, TIFFTAG_COMPRESSION, &f.compression);
  if (f.compression == COMPRESSION_LZW || f.compression == COMPRESSION_DEFLATE)
    TIFFGetFieldDefaulted(t, TIFFTAG_PREDICTOR, &f.predictor);
  TIFFGetField(t, TIFFTAG_PHOTOMETRIC, &f.photometric);
  TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLESPERPIXEL, &f.samples);
  TIFFGetFieldDefaulted(t, TIFFTAG_BITSPERSAMPLE, &f.bits);
  TIFFGetField(t, TIFFTAG_ORIENTATION, &f.orientation);
  TIFFGetField(t, TIFFTAG_XRESOLUTION, &f.xDpi);
  TIFFGetField(t, TIFFTAG_YRESOLUTION, &f.yDpi);
  char* text = nullptr;
  if (TIFFGetField(t, TIFFTAG_MAKE, &text)) f.make = text;
  if (TIFFGetField(t, TIFFTAG_DATETIME, &text)) f.dateTime = text;
  void* icc = nullptr;
  TIFFGetField(t, TIFFTAG_ICCPROFILE, &f.iccLength, &icc);
  TIFFGetField(t, TIFFTAG_ROWSPERSTRIP, &f.rowsPerStrip);
  std::uint64_t exifOffset = 0;
  bool hasExif = TIFFGetField(t, TIFFTAG_EXIFIFD, &exifOffset);
  std::uint16_t *red, *green, *blue;
  if (f.photometric == PHOTOMETRIC_PALETTE && TIFFGetField(t, TIFFTAG_COLORMAP, &red, &green, &blue)) {
    std::size_t n = std::size_t{1} << f.bits;
    f.colourMap.insert(f.colourMap.end(), red, red + n);
    f.colourMap.insert(f.colourMap.end(), green, green + n);
    f.colourMap.insert(f.colourMap.end(), blue, blue + n);
  }
  if (f.compression == COMPRESSION_JPEG) TIFFSetField(t, TIFFTAG_JPEGCOLORMODE, JPEGCOLORMODE_RGB);
  for (std::uint32_t y = 0; y < f.height; ++y) {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(TIFFScanlineSize(t)));
    EXPECT_EQ(TIFFReadScanline(t, row.data(), y, 0), 1);
    f.rows.push_back(row);
  }
  if (hasExif && TIFFReadEXIFDirectory(t, exifOffset) && TIFFGetField(t, EXIFTAG_DATETIMEDIGITIZED, &text))
    f.digitised = text;
  TIFFClose(t);
  return f;
}

TiffFile writeAndRead(imaging::BitmapHandle bitmap, std::int32_t compression, bool predictor = false,
                      const ImageMetadata& metadata = {}) {
  TiffOptions options;
  options.compression = compression;
  options.xDpi = 300;
  options.yDpi = 150;
  TiffWriter writer(options);
  writer.setMessageHandler(failOnError);
  writer.setPredictor(predictor);
  writer.setMetadata(metadata);
  std::string path = tempPath("writer.tif");
  EXPECT_EQ(writeWhole(writer, bitmap, path), 0) << writer.libraryMessage();
  return readTiff(path);
}

}  // namespace

TEST(TiffWriter, LosslessCompressionsKeepEveryTrueColourPixel) {
  const int tags[] = {COMPRESSION_NONE, 0, 0, COMPRESSION_LZW, COMPRESSION_DEFLATE};
  for (int compression : {kTiffNone, kTiffLzw, kTiffDeflate}) {
    for (bool bottomUp : {true, false}) {
      imaging::BitmapHandle bitmap = testing_bitmaps::makeSection(41, 19, 24, bottomUp, photoPixel);
      TiffFile f = writeAndRead(bitmap, compression);
      EXPECT_EQ(f.compression, tags[compression]);
      EXPECT_EQ(f.photometric, PHOTOMETRIC_RGB);
      EXPECT_EQ(f.samples, 3);
      EXPECT_EQ(f.bits, 8);
      EXPECT_EQ(f.orientation, ORIENTATION_TOPLEFT);
      EXPECT_FLOAT_EQ(f.xDpi, 300);
      EXPECT_FLOAT_EQ(f.yDpi, 150);
      ASSERT_EQ(f.rows.size(), 19u);
      for (int y = 0; y < 19; ++y)
        for (int x = 0; x < 41; ++x) {
          std::uint8_t rgb[3];
          sourceRgb(bitmap, x, y, rgb);
          ASSERT_EQ(std::memcmp(&f.rows[y][3 * x], rgb, 3), 0) << compression << " " << x << "," << y;
        }
      imaging::deleteBitmap(bitmap);
    }
  }
}

TEST(TiffWriter, PalettesGetAColourMapAndGreyTablesGreyLevels) {
  auto index = [](int x, int y) { return static_cast<std::uint32_t>((x * 13 + y * 7) & 255); };
  imaging::BitmapHandle palette = makeColourPalette(testing_bitmaps::makeSection(23, 9, 8, true, index), 256);
  TiffFile f = writeAndRead(palette, kTiffLzw);
  EXPECT_EQ(f.photometric, PHOTOMETRIC_PALETTE);
  EXPECT_EQ(f.samples, 1);
  EXPECT_EQ(f.bits, 8);
  ASSERT_EQ(f.colourMap.size(), 3u * 256);
  EXPECT_EQ(f.colourMap[5], 5 * 11 * 256);           // red of entry 5
  EXPECT_EQ(f.colourMap[256 + 5], (255 - 5) * 256);  // green
  EXPECT_EQ(f.colourMap[512 + 5], (5 * 37 & 255) * 256);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 23; ++x) ASSERT_EQ(f.rows[y][x], index(x, y));

  // JPEG compression writes palette pictures as RGB without a colour map.
  f = writeAndRead(palette, kTiffJpeg);
  EXPECT_EQ(f.compression, COMPRESSION_JPEG);
  EXPECT_EQ(f.photometric, PHOTOMETRIC_RGB);
  EXPECT_EQ(f.samples, 3);
  EXPECT_TRUE(f.colourMap.empty());
  imaging::deleteBitmap(palette);

  imaging::BitmapHandle grey = testing_bitmaps::makeSection(16, 4, 8, true, index);
  f = writeAndRead(grey, kTiffDeflate);
  EXPECT_EQ(f.photometric, PHOTOMETRIC_MINISBLACK);
  for (int x = 0; x < 16; ++x) EXPECT_EQ(f.rows[2][x], index(x, 2));
  imaging::deleteBitmap(grey);
}

TEST(TiffWriter, OneBitGreyKeepsItsBitsAndSaysWhichIsWhite) {
  imaging::BitmapHandle bitmap =
      testing_bitmaps::makeSection(10, 3, 1, true, [](int x, int y) { return static_cast<std::uint32_t>((x + y) & 1); });
  TiffFile f = writeAndRead(bitmap, kTiffNone);  // grey ramp: entry 0 black
  EXPECT_EQ(f.photometric, PHOTOMETRIC_MINISBLACK);
  EXPECT_EQ(f.bits, 1);
  EXPECT_EQ(f.rows[0][0], 0x55);
  imaging::RgbQuad whiteFirst[2] = {{255, 255, 255, 0}, {0, 0, 0, 0}};
  imaging::setDibColourTable(bitmap, whiteFirst, 2);
  f = writeAndRead(bitmap, kTiffNone);
  EXPECT_EQ(f.photometric, PHOTOMETRIC_MINISWHITE);
  EXPECT_EQ(f.rows[0][0], 0x55);
  // Under JPEG the bits become grey levels, so the levels are plain grey.
  f = writeAndRead(bitmap, kTiffJpeg);
  EXPECT_EQ(f.photometric, PHOTOMETRIC_MINISBLACK);
  EXPECT_EQ(f.bits, 8);
  EXPECT_GT(f.rows[0][0], 200);  // pixel 0 is entry 0, white
  EXPECT_LT(f.rows[0][1], 55);
  imaging::deleteBitmap(bitmap);
}

TEST(TiffWriter, CcittPacksTenPixelRowsIntoTwoBytesWithOneForBlack) {
  // Pixel x of row y is 1 for x >= 8 (the last two) and for x == y.
  imaging::BitmapHandle bitmap = testing_bitmaps::makeSection(
      10, 4, 1, true, [](int x, int y) { return static_cast<std::uint32_t>(x >= 8 || x == y); });
  imaging::RgbQuad whiteFirst[2] = {{255, 255, 255, 0}, {0, 0, 0, 0}};
  imaging::setDibColourTable(bitmap, whiteFirst, 2);
  for (int compression : {kTiffCcittGroup3, kTiffCcittGroup4}) {
    TiffFile f = writeAndRead(bitmap, compression);
    EXPECT_EQ(f.compression, compression == kTiffCcittGroup3 ? COMPRESSION_CCITTFAX3 : COMPRESSION_CCITTFAX4);
    EXPECT_EQ(f.photometric, PHOTOMETRIC_MINISWHITE);
    ASSERT_EQ(f.rows.size(), 4u);
    for (int y = 0; y < 4; ++y) {
      ASSERT_EQ(f.rows[y].size(), 2u);
      EXPECT_EQ(f.rows[y][0], 0x80 >> y);
      EXPECT_EQ(f.rows[y][1], 0xC0);
    }
  }
  // With entry 0 black the bits are inverted: 1 still means black.
  imaging::RgbQuad blackFirst[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  imaging::setDibColourTable(bitmap, blackFirst, 2);
  TiffFile f = writeAndRead(bitmap, kTiffCcittGroup4);
  EXPECT_EQ(f.rows[0][0], 0x7F);
  EXPECT_EQ(f.rows[0][1], 0x00);
  imaging::deleteBitmap(bitmap);
}

TEST(TiffWriter, CcittThresholdsTrueColourAt127000) {
  // 587 g + 299 r + 114 b: grey 127 gives 127000 (white), grey 126 black.
  imaging::BitmapHandle bitmap = testing_bitmaps::makeSection(3, 1, 24, true, [](int x, int) {
    const std::uint32_t values[] = {0x7F7F7Fu, 0x7E7E7Eu, 0xFF0000u};
    return values[x];
  });
  TiffFile f = writeAndRead(bitmap, kTiffCcittGroup3);
  ASSERT_EQ(f.rows.size(), 1u);
  EXPECT_EQ(f.rows[0][0], 0x40 | 0x20);  // pixel 1 and pure red are black
  imaging::deleteBitmap(bitmap);
}

TEST(TiffWriter, JpegCompressionComesBackClose) {
  imaging::BitmapHandle bitmap = testing_bitmaps::makeSection(48, 32, 24, true, photoPixel);
  TiffFile f = writeAndRead(bitmap, kTiffJpeg);
  EXPECT_EQ(f.compression, COMPRESSION_JPEG);
  double sum = 0;
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 48; ++x) {
      std::uint8_t rgb[3];
      sourceRgb(bitmap, x, y, rgb);
      for (int c = 0; c < 3; ++c) sum += std::abs(f.rows[y][3 * x + c] - rgb[c]);
    }
  EXPECT_LT(sum / (48 * 32 * 3), 8.0);
  imaging::deleteBitmap(bitmap);
}

TEST(TiffWriter, PredictorLeavesTheSourceUntouched) {
  auto index = [](int x, int y) { return static_cast<std::uint32_t>((x * 5 + y) & 255); };
  imaging::BitmapHandle bitmap = makeColourPalette(testing_bitmaps::makeSection(30, 6, 8, true, index), 256);
  std::vector<std::uint32_t> before = testing_bitmaps::pixelsOf(bitmap);
  TiffFile f = writeAndRead(bitmap, kTiffLzw, true);
  EXPECT_EQ(f.predictor, PREDICTOR_HORIZONTAL);
  EXPECT_EQ(testing_bitmaps::pixelsOf(bitmap), before);
  for (int x = 0; x < 30; ++x) EXPECT_EQ(f.rows[5][x], index(x, 5));
  imaging::deleteBitmap(bitmap);
}

TEST(TiffWriter, MetadataBecomesTagsAndAnExifDirectory) {
  imaging::BitmapHandle bitmap = testing_bitmaps::makeSection(4, 4, 24, true, photoPixel);
  ImageMetadata m;
  m.make = "Scanner maker";
  m.dateTime = "1996:05:04 12:00:00";
  m.iccProfile.assign(500, 1);
  m.srgb = true;
  for (std::int32_t compression : {kTiffNone, kTiffCcittGroup4, kTiffJpeg}) {
    TiffFile f = writeAndRead(bitmap, compression, false, m);
    EXPECT_EQ(f.make, m.make);
    EXPECT_EQ(f.dateTime, m.dateTime);
    EXPECT_EQ(f.digitised, m.dateTime);
    // A bilevel image gets no RGB profile.
    EXPECT_EQ(f.iccLength, compression == kTiffCcittGroup4 ? 0u : 500u) << compression;
  }
  imaging::deleteBitmap(bitmap);
}

TEST(TiffWriter, StripsHoldTensOfKilobytes) {
  // 3000 bytes a row; JPEG strips are whole 16-row blocks.
  imaging::BitmapHandle bitmap = testing_bitmaps::makeSection(1000, 70, 24, true, photoPixel);
  for (std::int32_t compression : {kTiffNone, kTiffLzw, kTiffJpeg, kTiffCcittGroup3}) {
    TiffFile f = writeAndRead(bitmap, compression);
    std::uint32_t stripBytes = f.rowsPerStrip * (compression == kTiffCcittGroup3 ? 125 : 3000);
    EXPECT_LE(stripBytes, 65536u) << compression;
    if (compression != kTiffCcittGroup3) EXPECT_GE(stripBytes, 8192u) << compression;
    if (compression == kTiffJpeg) EXPECT_EQ(f.rowsPerStrip % 16, 0u);
    EXPECT_EQ(f.rows.size(), 70u);
  }
  imaging::deleteBitmap(bitmap);
}

TEST(TiffWriter, RefusesSinksUnknownCompressionsAndIncompleteImages) {
  imaging::BitmapHandle bitmap = testing_bitmaps::makeSection(4, 4, 24, true, photoPixel);
  LimitedSink sink(1 << 20);
  TiffWriter toSink{TiffOptions{}};
  toSink.setSink(&sink);
  ASSERT_EQ(toSink.setSource(bitmap), 0);
  EXPECT_EQ(toSink.open(), kWriterFailed);

  TiffOptions unknown;
  unknown.compression = 6;
  TiffWriter writer(unknown);
  EXPECT_EQ(writeWhole(writer, bitmap, tempPath("unknown.tif")), kWriterFailed);

  TiffWriter partial{TiffOptions{}};
  partial.setMessageHandler(nullptr);
  partial.setOutput(tempPath("partial.tif"));
  ASSERT_EQ(partial.setSource(bitmap), 0);
  ASSERT_EQ(partial.open(), 0);
  ASSERT_EQ(partial.writeRows(2), 0);
  EXPECT_EQ(partial.close(), kWriterFailed);
  imaging::deleteBitmap(bitmap);
}
