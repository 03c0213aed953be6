// The writer base: source description, sink, file creation and progress.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "../support/unique_temp.h"
#include "../imaging/bitmap_helpers.h"
#include "imagefile/image_writer.h"

using namespace imagefile;

namespace {

// Writes a one-byte marker at begin, each row's first byte, and 'E' at finish.
class MarkerWriter : public ImageWriter {
 protected:
  int begin() override { return put("B", 1) ? 0 : kWriterFailed; }
  int writeSomeRows(int count) override {
    for (int i = 0; i < count && rowsWritten() < source().height; ++i) {
      if (!put(source().row(rowsWritten()), 1)) return kWriterFailed;
      countRows(1);
    }
    return 0;
  }
  int finish() override { return put("E", 1) ? 0 : kWriterFailed; }
};

class StringSink : public ByteSink {
 public:
  bool write(const void* data, std::size_t size) override {
    text.append(static_cast<const char*>(data), size);
    return true;
  }
  std::string text;
};

}  // namespace

TEST(Writer, DescribesTheSourceAndDrivesTheConcreteWriter) {
  imaging::BitmapHandle bitmap =
      testing_bitmaps::makeSection(3, 4, 8, true, [](int, int y) { return static_cast<std::uint32_t>('a' + y); });
  MarkerWriter writer;
  StringSink sink;
  writer.setSink(&sink);
  ASSERT_EQ(writer.setSource(bitmap), 0);
  EXPECT_EQ(writer.source().width, 3);
  EXPECT_EQ(writer.source().stride, 4u);
  EXPECT_EQ(writer.source().colourCount, 256);
  EXPECT_TRUE(writer.source().grey);
  EXPECT_TRUE(writer.source().bottomUp);
  ASSERT_EQ(writer.open(), 0);
  ASSERT_EQ(writer.writeRows(3), 0);
  EXPECT_EQ(writer.progress(), 7500);
  ASSERT_EQ(writer.writeRows(3), 0);
  EXPECT_EQ(writer.progress(), 10000);
  ASSERT_EQ(writer.close(), 0);
  EXPECT_EQ(sink.text, "BabcdE");
  imaging::deleteBitmap(bitmap);

  EXPECT_EQ(writer.setSource(nullptr), kWriterFailed);
}

TEST(Writer, OneBitGreyTablesTellWhetherZeroIsWhite) {
  imaging::BitmapHandle bitmap = testing_bitmaps::makeSection(8, 1, 1, true, [](int, int) { return 0u; });
  MarkerWriter writer;
  ASSERT_EQ(writer.setSource(bitmap), 0);
  EXPECT_FALSE(writer.source().zeroIsWhite);  // entry 0 is black
  imaging::RgbQuad inverted[2] = {{255, 255, 255, 0}, {0, 0, 0, 0}};
  imaging::setDibColourTable(bitmap, inverted, 2);
  ASSERT_EQ(writer.setSource(bitmap), 0);
  EXPECT_TRUE(writer.source().zeroIsWhite);
  imaging::deleteBitmap(bitmap);
}

TEST(Writer, CreatesTheOutputFileOrFails) {
  imaging::BitmapHandle bitmap = testing_bitmaps::makeSection(2, 2, 24, false, [](int, int) { return 0x414141u; });
  MarkerWriter writer;
  ASSERT_EQ(writer.setSource(bitmap), 0);
  writer.setOutput(::testing::TempDir() + "no-such-folder/out.bin");
  EXPECT_EQ(writer.open(), kWriterFailed);
  std::string path = test_support::UniqueTempPath("writer-out.bin");
  writer.setOutput(path);
  ASSERT_EQ(writer.open(), 0);
  ASSERT_EQ(writer.writeRows(10), 0);
  ASSERT_EQ(writer.close(), 0);
  std::FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  char buffer[8] = {};
  EXPECT_EQ(std::fread(buffer, 1, sizeof buffer, f), 4u);
  std::fclose(f);
  EXPECT_STREQ(buffer, "BAAE");
  std::remove(path.c_str());
  imaging::deleteBitmap(bitmap);
}
