// The JPEG writer: read back with the JPEG library, options, conversions,
// EXIF and ICC markers and library errors that must not end the process.
#include <gtest/gtest.h>

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>

#include "exif_reading.h"
#include "imagefile/jpeg_writer.h"
#include "writer_test_util.h"

using namespace imagefile;
using namespace writer_test;

namespace {

struct Decoded {
  int width = 0, height = 0, components = 0;
  bool progressive = false;
  int lumaSampling = 0, lumaVerticalSampling = 0;
  std::vector<std::uint8_t> pixels;
  std::vector<std::uint8_t> exif;  // the APP1 body
  std::vector<std::uint8_t> icc;
};

Decoded decodeJpeg(const std::vector<std::uint8_t>& data) {
  Decoded d;
  jpeg_decompress_struct info;
  jpeg_error_mgr errors;
  info.err = jpeg_std_error(&errors);
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data.data(), static_cast<unsigned long>(data.size()));
  jpeg_save_markers(&info, JPEG_APP0 + 1, 0xFFFF);
  jpeg_save_markers(&info, JPEG_APP0 + 2, 0xFFFF);
  jpeg_read_header(&info, TRUE);
  d.progressive = info.progressive_mode;
  d.lumaSampling = info.comp_info[0].h_samp_factor;
  d.lumaVerticalSampling = info.comp_info[0].v_samp_factor;
  for (jpeg_saved_marker_ptr m = info.marker_list; m; m = m->next)
    if (m->marker == JPEG_APP0 + 1) d.exif.assign(m->data, m->data + m->data_length);
  JOCTET* icc = nullptr;
  unsigned iccLength = 0;
  if (jpeg_read_icc_profile(&info, &icc, &iccLength)) {
    d.icc.assign(icc, icc + iccLength);
    std::free(icc);
  }
  jpeg_start_decompress(&info);
  d.width = info.output_width, d.height = info.output_height, d.components = info.output_components;
  d.pixels.resize(static_cast<std::size_t>(d.width) * d.height * d.components);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = &d.pixels[static_cast<std::size_t>(info.output_scanline) * d.width * d.components];
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return d;
}

Decoded writeAndDecode(imaging::BitmapHandle bitmap, const JpegOptions& options, std::size_t* fileSize = nullptr,
                       const ImageMetadata& metadata = {}) {
  JpegWriter writer(options);
  writer.setMetadata(metadata);
  std::string path = tempPath("writer.jpg");
  EXPECT_EQ(writeWhole(writer, bitmap, path), 0) << writer.libraryMessage();
  std::vector<std::uint8_t> data = readBytes(path);
  if (fileSize) *fileSize = data.size();
  return decodeJpeg(data);
}

// Mean absolute difference between the decoded RGB pixels and the source.
double meanError(const Decoded& d, imaging::BitmapHandle bitmap) {
  double sum = 0;
  for (int y = 0; y < d.height; ++y)
    for (int x = 0; x < d.width; ++x) {
      std::uint8_t rgb[3];
      sourceRgb(bitmap, x, y, rgb);
      for (int c = 0; c < 3; ++c)
        sum += std::abs(d.pixels[(static_cast<std::size_t>(y) * d.width + x) * 3 + c] - rgb[c]);
    }
  return sum / (3.0 * d.width * d.height);
}

}  // namespace

TEST(JpegWriter, TrueColourAndPaletteSourcesComeBackClose) {
  JpegOptions options;
  options.quality = 95;
  for (bool bottomUp : {true, false}) {
    imaging::BitmapHandle bitmap = testing_bitmaps::makeSection(37, 21, 24, bottomUp, photoPixel);
    Decoded d = writeAndDecode(bitmap, options);
    ASSERT_EQ(d.components, 3);
    EXPECT_EQ(d.width, 37);
    EXPECT_EQ(d.height, 21);
    EXPECT_LT(meanError(d, bitmap), 4.0);
    imaging::deleteBitmap(bitmap);
  }
  imaging::BitmapHandle palette = makeColourPalette(
      testing_bitmaps::makeSection(32, 16, 8, true, [](int x, int y) { return static_cast<std::uint32_t>(x / 4 + y / 8 * 8); }),
      256);
  Decoded d = writeAndDecode(palette, options);
  ASSERT_EQ(d.components, 3);
  EXPECT_LT(meanError(d, palette), 6.0);
  imaging::deleteBitmap(palette);
}

TEST(JpegWriter, GreyTablesWriteOneComponentOfGreyLevels) {
  JpegOptions options;
  options.quality = 100;
  imaging::BitmapHandle grey =
      testing_bitmaps::makeSection(16, 16, 8, true, [](int x, int) { return static_cast<std::uint32_t>(x * 16); });
  Decoded d = writeAndDecode(grey, options);
  ASSERT_EQ(d.components, 1);
  EXPECT_NEAR(d.pixels[15], 240, 2);
  imaging::deleteBitmap(grey);

  // 1-bit with entry 0 white: pixel 0 becomes 255 and pixel 1 becomes 0.
  imaging::BitmapHandle bilevel =
      testing_bitmaps::makeSection(16, 8, 1, true, [](int x, int) { return static_cast<std::uint32_t>(x >= 8); });
  imaging::RgbQuad whiteFirst[2] = {{255, 255, 255, 0}, {0, 0, 0, 0}};
  imaging::setDibColourTable(bilevel, whiteFirst, 2);
  d = writeAndDecode(bilevel, options);
  ASSERT_EQ(d.components, 1);
  EXPECT_NEAR(d.pixels[0], 255, 3);
  EXPECT_NEAR(d.pixels[15], 0, 3);
  imaging::deleteBitmap(bilevel);
}

TEST(JpegWriter, OptionsReachTheCompressor) {
  imaging::BitmapHandle bitmap = testing_bitmaps::makeSection(64, 48, 24, true, photoPixel);
  JpegOptions options;
  std::size_t plain = 0, optimised = 0, low = 0, high = 0;
  Decoded d = writeAndDecode(bitmap, options, &plain);
  EXPECT_FALSE(d.progressive);
  EXPECT_EQ(d.lumaSampling, 2);

  options.optimise = 1;
  writeAndDecode(bitmap, options, &optimised);
  EXPECT_LT(optimised, plain);

  options.progressive = 1;
  options.sampling = 1;
  d = writeAndDecode(bitmap, options);
  EXPECT_TRUE(d.progressive);
  EXPECT_EQ(d.lumaSampling, 1);

  options.sampling = kSampling422;
  d = writeAndDecode(bitmap, options);
  EXPECT_EQ(d.lumaSampling, 2);
  EXPECT_EQ(d.lumaVerticalSampling, 1);

  // "Neither" sampling keeps the library's 2 x 2 instead of failing.
  options = JpegOptions{};
  options.sampling = 4;
  d = writeAndDecode(bitmap, options);
  EXPECT_EQ(d.lumaSampling, 2);

  // Quality 0 and 100 are handed to the library, which clamps 0 to 1.
  options = JpegOptions{};
  options.quality = 0;
  writeAndDecode(bitmap, options, &low);
  options.quality = 100;
  writeAndDecode(bitmap, options, &high);
  EXPECT_LT(low * 3, high);

  options = JpegOptions{};
  options.smoothing = 100;
  d = writeAndDecode(bitmap, options);
  EXPECT_EQ(d.width, 64);
  imaging::deleteBitmap(bitmap);
}

TEST(JpegWriter, MetadataGoesIntoExifAndIccMarkers) {
  imaging::BitmapHandle bitmap = testing_bitmaps::makeSection(8, 6, 24, true, photoPixel);
  ImageMetadata m;
  m.dateTime = "1996:05:04 12:00:00";
  m.make = "Scanner maker";
  m.description = "Photo CD image; medium: Color negative";
  m.iccProfile.assign(70000, 7);  // longer than one marker holds
  Decoded d = writeAndDecode(bitmap, JpegOptions{}, nullptr, m);
  EXPECT_EQ(exifText(d.exif, EXIF_IFD_0, EXIF_TAG_MAKE), m.make);
  EXPECT_EQ(exifText(d.exif, EXIF_IFD_0, EXIF_TAG_IMAGE_DESCRIPTION), m.description);
  EXPECT_EQ(exifText(d.exif, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_DIGITIZED), m.dateTime);
  EXPECT_EQ(exifText(d.exif, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_X_DIMENSION), "8");
  EXPECT_EQ(d.icc, m.iccProfile);
  imaging::deleteBitmap(bitmap);
}

TEST(JpegWriter, LibraryErrorsAndShortWritesFailTheStep) {
  imaging::BitmapHandle bitmap = testing_bitmaps::makeSection(256, 64, 24, true, photoPixel);
  // The last case fails while the metadata markers are written.
  ImageMetadata large;
  large.make = "Scanner maker";
  large.iccProfile.assign(70000, 7);
  for (std::size_t room : {std::size_t{10}, std::size_t{1000}, std::size_t{20000}}) {
    LimitedSink sink(room);
    JpegWriter writer{JpegOptions{}};
    if (room == 20000) writer.setMetadata(large);
    writer.setSink(&sink);
    ASSERT_EQ(writer.setSource(bitmap), 0);
    int result = writer.open();
    while (result == 0 && writer.rowsWritten() < 64) result = writer.writeRows(8);
    if (result == 0) result = writer.close();
    EXPECT_EQ(result, kWriterFailed) << room;
    EXPECT_FALSE(writer.libraryMessage().empty());
  }
  // Closing before every row is there is a library error, not a crash.
  JpegWriter writer{JpegOptions{}};
  std::string path = tempPath("short.jpg");
  writer.setOutput(path);
  ASSERT_EQ(writer.setSource(bitmap), 0);
  ASSERT_EQ(writer.open(), 0);
  ASSERT_EQ(writer.writeRows(10), 0);
  EXPECT_EQ(writer.close(), kWriterFailed);
  writer.abandon();  // what a failed close leaves is half-written
  EXPECT_FALSE(fileExists(path));
  imaging::deleteBitmap(bitmap);
}
