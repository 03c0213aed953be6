// Reader life cycle: sources, identification, ownership hand-over, pages,
// rotation and error texts.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

#include "../support/unique_temp.h"
#include "../imaging/bitmap_helpers.h"
#include "bmp_builder.h"
#include "imagefile/format_module.h"
#include "imagefile/image_errors.h"
#include "imagefile/image_reader.h"
#include "imaging/packed_dib.h"

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

using namespace imagefile;

namespace {

std::uint32_t colour(int x, int y) { return static_cast<std::uint32_t>(x << 16 | y << 8 | (x ^ y)); }

std::string tempPath(const char* name) { return test_support::UniqueTempPath(name); }

void writeFile(const std::string& path, const std::vector<std::uint8_t>& data) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

bool decodeAll(ImageReader& reader, const DecodeRequest& request) {
  if (!reader.beginDecode(request)) return false;
  while (reader.progress() < 10000)
    if (reader.step(5) != 1) return false;
  return true;
}

}  // namespace

TEST(Reader, MissingFileHasNoWidthAndError101) {
  ImageReader reader;
  reader.open(tempPath("no-such-picture.bmp"));
  EXPECT_EQ(reader.width(), 0);
  EXPECT_EQ(reader.error(), kImageFileMissing);
  EXPECT_EQ(reader.format(), kFormatUnrecognised);
  EXPECT_FALSE(reader.beginDecode(DecodeRequest{}));
  EXPECT_EQ(reader.error(), kImageFileMissing);
  EXPECT_STREQ(errorText(kImageFileMissing), "Cannot access file");
}

TEST(Reader, ReadsFromAPathAndKnowsOtherSignatures) {
  std::string path = tempPath("reader-path.BMP");
  writeFile(path, bmp_builder::make(5, 4, 24, colour));
  ImageReader reader;
  reader.open(path);
  EXPECT_EQ(reader.format(), kFormatBmp);
  DecodeRequest request;
  request.displayDepth = 24;
  ASSERT_TRUE(decodeAll(reader, request));
  EXPECT_EQ(testing_bitmaps::pixelsOf(reader.firstBitmap())[3 * 5 + 2], colour(2, 3));
  reader.close();
  std::remove(path.c_str());

  const std::uint8_t jpeg[] = {0xFF, 0xD8, 0xFF, 0xE0, 0, 0};
  reader.open(jpeg, sizeof jpeg);
  EXPECT_EQ(reader.format(), kFormatJpeg);
  EXPECT_FALSE(reader.beginDecode(DecodeRequest{}));
  EXPECT_EQ(reader.error(), kImageNoDecoder);
  const std::uint8_t tiff[] = {'I', 'I', 42, 0};
  reader.open(tiff, sizeof tiff);
  EXPECT_EQ(reader.format(), kFormatTiff);
  std::vector<std::uint8_t> pcd(4096, 0);
  pcd[2048] = 'P', pcd[2049] = 'C', pcd[2050] = 'D';
  reader.open(pcd.data(), pcd.size());
  EXPECT_EQ(reader.format(), kFormatPhotoCd);
}

#ifndef _WIN32
TEST(Reader, ReadsFromAHandleAtAnOffset) {
  auto bmp = bmp_builder::make(6, 3, 8, [](int x, int) { return static_cast<std::uint32_t>(x * 40); });
  std::vector<std::uint8_t> packed(100, 0xAA);
  packed.insert(packed.end(), bmp.begin(), bmp.end());
  std::string path = tempPath("reader-handle.bin");
  writeFile(path, packed);
  int fd = ::open(path.c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ImageReader reader;
  reader.open(static_cast<FileHandle>(fd), 100, bmp.size());
  EXPECT_EQ(reader.format(), kFormatBmp);
  EXPECT_EQ(reader.width(), 6);
  reader.close();
  ::close(fd);
  std::remove(path.c_str());
}
#endif

TEST(Reader, BeginWhileDecodingFailsWithoutDisturbingTheDecode) {
  auto file = bmp_builder::make(10, 10, 24, colour);
  ImageReader reader;
  reader.open(file.data(), file.size());
  DecodeRequest request;
  request.displayDepth = 24;
  ASSERT_TRUE(reader.beginDecode(request));
  ASSERT_EQ(reader.step(4), 1);
  EXPECT_EQ(reader.progress(), 4000);
  EXPECT_FALSE(reader.beginDecode(request));
  EXPECT_TRUE(reader.decoding());
  ASSERT_EQ(reader.step(6), 1);
  EXPECT_EQ(reader.progress(), 10000);
  EXPECT_TRUE(reader.isComplete());
}

TEST(Reader, OwnershipMovesToTheFrameOnCompletionAndIncompleteDecodesCanBeDropped) {
  auto file = bmp_builder::make(10, 10, 24, colour);
  ImageReader reader;
  reader.open(file.data(), file.size());
  DecodeRequest request;
  request.displayDepth = 24;
  request.keepFullBitmap = true;
  ASSERT_TRUE(reader.beginDecode(request));
  imaging::DibImage* frame = reader.frame();
  ASSERT_NE(frame, nullptr);
  EXPECT_FALSE(frame->ownsDisplay);  // the output stage owns them while decoding
  EXPECT_EQ(frame->width, 10);
  while (reader.progress() < 10000) ASSERT_EQ(reader.step(3), 1);
  ASSERT_EQ(reader.step(1), 1);  // the completing step hands the bitmaps over
  EXPECT_TRUE(frame->ownsDisplay);
  EXPECT_TRUE(frame->ownsFull);
  reader.finish(true);
  EXPECT_TRUE(reader.isComplete());
  EXPECT_NE(reader.dibSection(), nullptr);

  // An abandoned decode with release-incomplete leaves no bitmaps behind.
  ASSERT_TRUE(reader.beginDecode(request));
  ASSERT_EQ(reader.step(2), 1);
  reader.finish(true);
  EXPECT_EQ(reader.firstBitmap(), nullptr);
  EXPECT_FALSE(reader.isComplete());
  EXPECT_EQ(reader.progress(), 0);

  // Kept when asked, and dropped by release.
  ASSERT_TRUE(reader.beginDecode(request));
  ASSERT_EQ(reader.step(2), 1);
  reader.finish(false);
  EXPECT_NE(reader.firstBitmap(), nullptr);
  EXPECT_TRUE(reader.frame()->ownsDisplay);
  reader.release();
  EXPECT_EQ(reader.firstBitmap(), nullptr);
}

TEST(Reader, RotatesTheDecodedPage) {
  auto file = bmp_builder::make(7, 3, 24, colour);
  ImageReader reader;
  reader.open(file.data(), file.size());
  DecodeRequest request;
  request.displayDepth = 24;
  request.keepFullBitmap = true;
  EXPECT_FALSE(reader.rotate(imaging::kTurnRight));  // nothing decoded yet
  ASSERT_TRUE(decodeAll(reader, request));
  EXPECT_FALSE(reader.rotate(imaging::kTurnRight));  // not while decoding
  reader.finish(false);
  ASSERT_TRUE(reader.rotate(imaging::kTurnRight));
  EXPECT_EQ(reader.displayedWidth(), 3);
  EXPECT_EQ(reader.width(), 3);
  EXPECT_EQ(testing_bitmaps::headerOf(reader.dibSection()).width, 3);
  // Clockwise: the bottom-left source pixel is now the top-left one.
  EXPECT_EQ(testing_bitmaps::pixelsOf(reader.firstBitmap())[0], colour(0, 2));
}

TEST(Reader, AdoptsPackedDibsAsFrameZero) {
  auto file = bmp_builder::make(4, 4, 8, [](int x, int) { return static_cast<std::uint32_t>(x); });
  ImageReader source;
  source.open(file.data(), file.size());
  DecodeRequest request;
  request.displayDepth = 24;
  request.keepFullBitmap = true;
  ASSERT_TRUE(decodeAll(source, request));
  source.finish(false);
  imaging::PackedDib packed;
  ASSERT_TRUE(packed.copyFrom(source.dibSection()));
  ImageReader picture;
  ASSERT_TRUE(picture.adoptPackedDibs(&packed, nullptr));
  EXPECT_EQ(picture.displayedWidth(0), 4);
  EXPECT_NE(picture.palette(), nullptr);
  EXPECT_TRUE(picture.isComplete());
}

namespace {

// A three-page format: page p is a 4 x 2 true-colour picture of blue value p;
// page 2 cannot be started.
class PagesDecoder : public FormatDecoder {
 public:
  int open(ImageSource&, int* pageCount) override {
    *pageCount = 3;
    return 0;
  }
  int selectPage(int page, imaging::SourceDescription& d) override {
    if (page == 2) return kImageBadHeader;
    page_ = page;
    d = imaging::SourceDescription{};
    d.width = 4;
    d.height = 2;
    d.bits = 24;
    return 0;
  }
  int beginRows(imaging::OutputStage&) override {
    next_ = 0;
    return 0;
  }
  int deliverRows(imaging::OutputStage& stage, int count) override {
    std::uint8_t row[12] = {};
    for (int x = 0; x < 4; ++x) row[3 * x] = static_cast<std::uint8_t>(page_);
    for (int k = 0; k < count && next_ < 2; ++k, ++next_)
      if (!stage.putRow(row, next_)) return stage.error();
    return 0;
  }
  int page_ = 0, next_ = 0;
};

bool recognisePages(const std::uint8_t* head, std::size_t length, std::uint64_t, const std::string&) {
  return length >= 5 && std::string(reinterpret_cast<const char*>(head), 5) == "PAGES";
}

std::unique_ptr<FormatDecoder> createPages() { return std::make_unique<PagesDecoder>(); }

}  // namespace

TEST(Reader, DecodesEveryPageWhenAskedAndStopsAtAPageThatFails) {
  static const std::vector<FormatModule> modules = {{42, recognisePages, createPages}};
  const char data[] = "PAGES";
  ImageReader reader(modules);
  reader.open(data, 5);
  EXPECT_EQ(reader.pageCount(), 3);
  DecodeRequest request;
  request.displayDepth = 24;
  request.allPages = true;
  ASSERT_TRUE(reader.beginDecode(request));
  bool changed = true;
  imaging::PixelRect rect;
  ASSERT_EQ(reader.step(2, &changed, &rect), 1);  // page 0 done
  ASSERT_EQ(reader.step(1), 1);                   // hand over, start page 1
  EXPECT_EQ(reader.currentPage(), 1);
  EXPECT_TRUE(reader.frame(0)->complete);
  ASSERT_EQ(reader.step(1, &changed, &rect), 1);
  EXPECT_FALSE(changed);  // later pages report only their completion
  ASSERT_EQ(reader.step(1, &changed, &rect), 1);
  EXPECT_TRUE(changed);
  EXPECT_EQ(rect.right, 4);
  ASSERT_EQ(reader.step(1), 1);  // page 2 fails to start: stay on page 1
  EXPECT_EQ(reader.currentPage(), 1);
  EXPECT_EQ(reader.progress(), 10000);
  reader.finish(true);
  EXPECT_EQ(reader.currentPage(), 0);
  EXPECT_EQ(testing_bitmaps::pixelsOf(reader.firstBitmap(0))[0], 0u);
  EXPECT_EQ(testing_bitmaps::pixelsOf(reader.firstBitmap(1))[0], 1u);
  EXPECT_EQ(reader.firstBitmap(2), nullptr);

  request.allPages = false;
  request.page = 5;
  EXPECT_FALSE(reader.beginDecode(request));
  EXPECT_EQ(reader.error(), kImagePageMissing);
}

TEST(ErrorTexts, TableMatchesTheStringTableScript) {
  std::ifstream rc(std::string(LUMIVEXA_SOURCE_DIR) + "/imagefile/imagefile_strings.rc");
  ASSERT_TRUE(rc.good());
  std::stringstream text;
  text << rc.rdbuf();
  std::string script = text.str();
  std::regex line(R"re((\d+),\s*"([^"]*)")re");
  int seen = 0;
  for (std::sregex_iterator it(script.begin(), script.end(), line), end; it != end; ++it, ++seen)
    EXPECT_STREQ(errorTextById(std::stoi((*it)[1])), (*it)[2].str().c_str());
  EXPECT_EQ(seen, kLastErrorTextId - kFirstErrorTextId + 1);
  EXPECT_EQ(errorTextId(kImageBadHeader), 1207);
  EXPECT_EQ(errorTextId(kImagePalette), 1212);
  EXPECT_EQ(errorTextId(12345), 1221);
}
