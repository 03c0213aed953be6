// The BMP writer: headers, colour tables, row order and failing writes.
#include <gtest/gtest.h>

#include "imagefile/bmp_writer.h"
#include "imagefile/byte_order.h"
#include "imagefile/export_options.h"
#include "imagefile/jpeg_writer.h"
#include "imagefile/tiff_writer.h"
#include "writer_test_util.h"

using namespace imagefile;
using namespace writer_test;

TEST(BmpWriter, ThreeByTwoTrueColourIs78BytesWithRowsBottomUp) {
  for (bool bottomUp : {true, false}) {
    imaging::BitmapHandle bitmap = testing_bitmaps::makeSection(3, 2, 24, bottomUp, photoPixel);
    BmpWriter writer;
    std::string path = tempPath("bmp-3x2.bmp");
    ASSERT_EQ(writeWhole(writer, bitmap, path), 0);
    std::vector<std::uint8_t> f = readBytes(path);
    ASSERT_EQ(f.size(), 78u);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(f[1], 'M');
    EXPECT_EQ(readLe32(&f[2]), 78u);
    EXPECT_EQ(readLe32(&f[10]), 54u);
    EXPECT_EQ(readLe32(&f[14]), 40u);
    EXPECT_EQ(readLe32(&f[18]), 3u);
    EXPECT_EQ(readLe32(&f[22]), 2u);
    EXPECT_EQ(readLe16(&f[26]), 1u);
    EXPECT_EQ(readLe16(&f[28]), 24u);
    EXPECT_EQ(readLe32(&f[30]), 0u);
    EXPECT_EQ(readLe32(&f[38]), 2880u);
    EXPECT_EQ(readLe32(&f[42]), 2880u);
    EXPECT_EQ(readLe32(&f[46]), 0u);
    // The first stored row is the image's bottom row (y = 1), padded to 12 bytes.
    for (int x = 0; x < 3; ++x) {
      std::uint32_t v = photoPixel(x, 1);
      EXPECT_EQ(f[54 + 3 * x], v & 255);
      EXPECT_EQ(f[54 + 3 * x + 2], v >> 16);
      EXPECT_EQ(f[54 + 12 + 3 * x], photoPixel(x, 0) & 255);
    }
    imaging::deleteBitmap(bitmap);
  }
}

TEST(BmpWriter, PaletteImagesCarryTheirColourTable) {
  imaging::BitmapHandle bitmap = makeColourPalette(
      testing_bitmaps::makeSection(5, 3, 8, true, [](int x, int y) { return static_cast<std::uint32_t>(x + 40 * y); }),
      256);
  BmpWriter writer;
  std::string path = tempPath("bmp-8.bmp");
  ASSERT_EQ(writeWhole(writer, bitmap, path), 0);
  std::vector<std::uint8_t> f = readBytes(path);
  EXPECT_EQ(readLe32(&f[10]), 1078u);
  EXPECT_EQ(readLe32(&f[46]), 256u);
  ASSERT_EQ(f.size(), 1078u + 3 * 8);
  EXPECT_EQ(f[54 + 4 * 3], 3 * 37);       // entry 3's blue
  EXPECT_EQ(f[54 + 4 * 3 + 1], 255 - 3);  // green
  EXPECT_EQ(f[1078], 80);                 // bottom row first: x 0 of y 2
  imaging::deleteBitmap(bitmap);
}

TEST(BmpWriter, FourBitSourcesAreWrittenOnlyAsBmp) {
  imaging::BitmapHandle bitmap =
      testing_bitmaps::makeSection(9, 2, 4, true, [](int x, int) { return static_cast<std::uint32_t>(x); });
  BmpWriter bmp;
  std::string path = tempPath("bmp-4.bmp");
  ASSERT_EQ(writeWhole(bmp, bitmap, path), 0);
  std::vector<std::uint8_t> f = readBytes(path);
  EXPECT_EQ(readLe32(&f[10]), 54u + 64);
  EXPECT_EQ(f.size(), 54u + 64 + 2 * 8);

  JpegWriter jpeg{JpegOptions{}};
  EXPECT_EQ(writeWhole(jpeg, bitmap, tempPath("four.jpg")), kWriterFailed);
  TiffWriter tiff{TiffOptions{}};
  EXPECT_EQ(writeWhole(tiff, bitmap, tempPath("four.tif")), kWriterFailed);
  imaging::deleteBitmap(bitmap);
}

TEST(BmpWriter, ShortWritesFailTheStep) {
  imaging::BitmapHandle bitmap = testing_bitmaps::makeSection(4, 4, 24, true, photoPixel);
  {
    LimitedSink sink(53);  // not even the headers fit
    BmpWriter writer;
    writer.setSink(&sink);
    ASSERT_EQ(writer.setSource(bitmap), 0);
    EXPECT_EQ(writer.open(), kWriterFailed);
  }
  {
    LimitedSink sink(54 + 2 * 12);  // headers and two rows
    BmpWriter writer;
    writer.setSink(&sink);
    ASSERT_EQ(writer.setSource(bitmap), 0);
    ASSERT_EQ(writer.open(), 0);
    EXPECT_EQ(writer.writeRows(2), 0);
    EXPECT_EQ(writer.writeRows(1), kWriterFailed);
    EXPECT_EQ(writer.rowsWritten(), 2);
  }
  imaging::deleteBitmap(bitmap);
}

TEST(BmpWriter, AbandonLeavesNoFile) {
  imaging::BitmapHandle bitmap = testing_bitmaps::makeSection(4, 4, 24, true, photoPixel);
  std::string path = tempPath("abandoned.bmp");
  BmpWriter writer;
  writer.setOutput(path);
  ASSERT_EQ(writer.setSource(bitmap), 0);
  ASSERT_EQ(writer.open(), 0);
  ASSERT_EQ(writer.writeRows(2), 0);
  EXPECT_TRUE(fileExists(path));
  writer.abandon();
  EXPECT_FALSE(fileExists(path));
  imaging::deleteBitmap(bitmap);
}

TEST(ExportOptions, StoredRecordIs52LittleEndianBytes) {
  ExportOptions options;
  std::uint8_t stored[kExportOptionsSize];
  storeExportOptions(options, stored);
  EXPECT_EQ(readLe32(stored + 0), 3u);
  EXPECT_EQ(readLe32(stored + 16), 3u);
  EXPECT_EQ(readLe32(stored + 20), 65u);
  EXPECT_EQ(readLe32(stored + 32), 2u);
  EXPECT_EQ(readLe32(stored + 44), 72u);
  EXPECT_EQ(readLe32(stored + 48), 72u);

  stored[12] = 0xA6, stored[13] = stored[14] = stored[15] = 0xFF;  // rotation -90
  stored[40] = 4;                                                  // Deflate
  ExportOptions loaded;
  ASSERT_TRUE(loadExportOptions(stored, sizeof stored, loaded));
  EXPECT_EQ(loaded.rotation, -90);
  EXPECT_EQ(loaded.tiff.compression, kTiffDeflate);
  EXPECT_FALSE(loadExportOptions(stored, 51, loaded));

  const int tags[] = {1, 3, 4, 5, 32946, 7};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(tiffCompressionTag(i), tags[i]);
  EXPECT_EQ(tiffCompressionTag(6), 0);
  EXPECT_EQ(tiffCompressionTag(-1), 0);
}
