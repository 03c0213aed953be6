// The image reader on packs pcdmake authors: every level in every rotation
// against the authored source, the toolkit levels against whole-image
// decodes of the toolkit, the level a target size picks, and 64BASE from an
// image pack extension.
#include <gtest/gtest.h>

#include <cstring>
#include <iostream>
#include <memory>

#include "authored_photos.h"
#include "decode_test_util.h"

namespace {

const char* const kScenes[] = {"meadow", "city", "mosaic", "page"};

// Rows first..first + count of the toolkit's own decode of a level in the
// pack's orientation, turned top row first.
Picture ToolkitRows(const std::string& path, int level, int first, int count) {
  ImagePack* raw = nullptr;
  EXPECT_EQ(PcdOpenImagePack(path.c_str(), raw), kPcdOk);
  PackPtr pack(raw);
  Picture out;
  if (!pack || PcdSetResolution(pack.get(), level) != kPcdOk) return out;
  const OutputRect rect{static_cast<std::int16_t>(first), 0, static_cast<std::int16_t>(first + count),
                        static_cast<std::int16_t>(pack->outputWidth)};
  const Decoded d = DecodeRect(pack.get(), &rect);
  EXPECT_EQ(d.status, kPcdOk);
  out.width = d.columns;
  out.height = d.rows;
  for (int y = 0; y < d.rows; ++y) out.bgr.insert(out.bgr.end(), d.Row(d.rows - 1 - y), d.Row(d.rows - 1 - y) + 3 * d.columns);
  return out;
}

bool SameRows(const Picture& picture, const Picture& rows, int first) {
  const std::size_t bytes = static_cast<std::size_t>(rows.width) * 3;
  return picture.width == rows.width &&
         std::memcmp(picture.bgr.data() + first * bytes, rows.bgr.data(), bytes * rows.height) == 0;
}

// One photo per rotation code, each test case on its own.
class EveryRotation : public ::testing::TestWithParam<int> {
 protected:
  int rotation() const { return GetParam(); }
  const AuthoredPhoto& photo() const { return Authored(kScenes[rotation()], rotation(), 5); }
};
INSTANTIATE_TEST_SUITE_P(PhotoCdReaderAuthored, EveryRotation, ::testing::Range(0, 4));

TEST_P(EveryRotation, EveryLevelShowsTheSource) {
  // Base levels use the reader's own conversion, which neither rounds nor
  // rolls highlights off as pcdmake's inverse expects; the toolkit levels do.
  // Scenes with sharp colour edges lose most to half-resolution chroma.
  const double kMinimumPsnr[] = {0, 20, 20, 20, 24, 28};
  for (int level = 1; level <= 5; ++level) {
    const Picture picture = DecodeWithReader(photo().pack, level);
    const Picture source = SourceAt(photo(), level);
    ASSERT_EQ(picture.width, source.width) << "level " << level;
    ASSERT_EQ(picture.height, source.height) << "level " << level;
    const double psnr = Psnr(picture, source);
    std::cout << "  " << kScenes[rotation()] << " rotation " << rotation() << " level " << level << " ("
              << picture.width << " x " << picture.height << "): " << psnr << " dB\n";
    EXPECT_GE(psnr, kMinimumPsnr[level]) << "level " << level;
  }
}

TEST_P(EveryRotation, BandsAndStripsEqualTheToolkitsWholeDecode) {
  for (int level = 4; level <= 5; ++level) {
    const Picture picture = DecodeWithReader(photo().pack, level);
    const Picture whole = ToolkitRows(photo().pack, level, 0, picture.height);
    EXPECT_TRUE(SameRows(picture, whole, 0)) << "level " << level;
  }
}

TEST(PhotoCdReaderAuthored, TheTargetSizePicksTheLevel) {
  const AuthoredPhoto& turned = Authored("city", 1, 5);
  const Picture base = DecodeWithReader(turned.pack, 3);
  EXPECT_EQ(base.width, 512);  // a quarter-turned BASE is announced 512 x 768
  EXPECT_EQ(base.height, 768);
  EXPECT_EQ(DecodeWithReader(turned.pack, 6, 512, 768).bgr, base.bgr);
  EXPECT_EQ(DecodeWithReader(turned.pack, 6, 1024, 1536).bgr, DecodeWithReader(turned.pack, 4).bgr);

  const AuthoredPhoto& four = Authored("harbour", 0, 4);
  const Picture wide = DecodeWithReader(four.pack, 6, 800, 600);  // 4BASE, reduced to fit
  EXPECT_EQ(wide.width, 800);
  EXPECT_EQ(wide.height, 533);
  EXPECT_EQ(DecodeWithReader(four.pack, 6).width, 1536);  // the pack's own top level
  EXPECT_EQ(DecodeWithReader(four.pack, 6, 700, 400).bgr, DecodeWithReader(four.pack, 3, 700, 400).bgr);
}

TEST(PhotoCdReaderAuthored, SixtyFourBaseComesFromTheExtensionOnlyWhenRequested) {
  const AuthoredPhoto& photo = Authored("chart", 0, 6);
  EXPECT_EQ(DecodeWithReader(photo.pack, 5).width, 3072);
  const Picture picture = DecodeWithReader(photo.pack, 6);
  ASSERT_EQ(picture.width, 6144);
  ASSERT_EQ(picture.height, 4096);
  for (int first : {0, 2000, 4080})
    EXPECT_TRUE(SameRows(picture, ToolkitRows(photo.pack, 6, first, 16), first)) << first;
  const double psnr = Psnr(picture, SourceAt(photo, 6));
  std::cout << "  chart 64BASE: " << psnr << " dB\n";
  EXPECT_GE(psnr, 30);
}

}  // namespace
