// The fast paths of decoding above BASE give the bytes of the plain one: the
// two-thread decode with SSE2 kernels against the single-threaded scalar
// decode, on authored photos in every rotation, in the reader's bands, in odd
// rectangles and walking up the image.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "imagefile/image_reader.h"
#include "imagefile/requested_level.h"
#include "pcd_layout.h"
#include "sample_kernels.h"

#include "authored_photos.h"
#include "decode_test_util.h"

namespace {

// Scalar kernels for the life of a scope.
class ScalarKernels {
 public:
  ScalarKernels() : saved_(PcdUseVectorKernels(false)) {}
  ~ScalarKernels() { PcdUseVectorKernels(saved_); }

 private:
  bool saved_;
};

// The rectangles of a walk over a pack's output, decoded one after another
// with the given threads; each rectangle's bytes end to end.
std::vector<std::uint8_t> Walk(const std::string& path, int level, int threads, const std::vector<OutputRect>& rects) {
  PackPtr pack = nullptr;
  ImagePack* raw = nullptr;
  EXPECT_EQ(PcdOpenImagePack(path.c_str(), raw), kPcdOk);
  pack.reset(raw);
  std::vector<std::uint8_t> all;
  if (!pack || PcdSetResolution(pack.get(), level) != kPcdOk || PcdSetDecodeThreads(pack.get(), threads) != kPcdOk)
    return all;
  for (const OutputRect& r : rects) {
    const Decoded d = DecodeRect(pack.get(), &r);
    EXPECT_EQ(d.status, kPcdOk);
    all.insert(all.end(), d.pixels.begin(), d.pixels.end());
  }
  return all;
}

// The reader's bands (16 rows, or 16 columns of a quarter turn), downwards
// or upwards, the last one twice, and a few odd rectangles after them.
std::vector<OutputRect> Bands(int width, int height, bool strips, bool upwards, int maxBands = 1 << 30) {
  std::vector<OutputRect> rects;
  const int lines = strips ? width : height;
  for (int k = 0; k < std::min(lines / 16, maxBands); ++k) {
    const int start = upwards ? lines - 16 * (k + 1) : 16 * k;
    const auto s = static_cast<std::int16_t>(start), e = static_cast<std::int16_t>(start + 16);
    rects.push_back(strips ? OutputRect{0, s, static_cast<std::int16_t>(height), e}
                           : OutputRect{s, 0, e, static_cast<std::int16_t>(width)});
  }
  rects.push_back(rects.back());  // the same band again, with nothing decoded ahead for it
  rects.push_back({7, 5, 300, 123});
  rects.push_back({301, 3, 371, 1001});
  rects.push_back({static_cast<std::int16_t>(height - 77), static_cast<std::int16_t>(width - 333),
                   static_cast<std::int16_t>(height), static_cast<std::int16_t>(width - 1)});
  return rects;
}

class TwoThreads : public ::testing::TestWithParam<int> {};
INSTANTIATE_TEST_SUITE_P(ParallelDecode, TwoThreads, ::testing::Range(0, 4));

TEST_P(TwoThreads, AndSse2GiveTheBytesOfOneScalarThread) {
  const int rotation = GetParam();
  for (const char* scene : {"photo", "harbour"}) {
    const AuthoredPhoto& photo = Authored(scene, rotation, 5);
    for (int level : {4, 5}) {
      const int w = (rotation & 1) ? pcd::LevelHeight(level) : pcd::LevelWidth(level);
      const int h = (rotation & 1) ? pcd::LevelWidth(level) : pcd::LevelHeight(level);
      // Rotation 2 also walks up the stored image; its upward walk walks down.
      const std::vector<OutputRect> rects = Bands(w, h, rotation & 1, rotation == 1);
      std::vector<std::uint8_t> plain;
      {
        ScalarKernels scalar;
        plain = Walk(photo.pack, level, 1, rects);
      }
      ASSERT_FALSE(plain.empty());
      EXPECT_EQ(Walk(photo.pack, level, 1, rects), plain) << scene << " level " << level << ", one thread";
      EXPECT_EQ(Walk(photo.pack, level, 2, rects), plain) << scene << " level " << level << ", two threads";
    }
  }
}

// 64BASE from an image pack extension, in its first bands and odd rectangles.
TEST(ParallelDecode, ExtensionLevelsGiveTheBytesOfOneScalarThread) {
  const AuthoredPhoto& photo = Authored("harbour", 0, 6);
  const std::vector<OutputRect> rects = Bands(6144, 4096, false, false, 24);
  std::vector<std::uint8_t> plain;
  {
    ScalarKernels scalar;
    plain = Walk(photo.pack, 6, 1, rects);
  }
  ASSERT_FALSE(plain.empty());
  EXPECT_EQ(Walk(photo.pack, 6, 2, rects), plain);
}

// What a user sees: the reader's 16BASE bitmap of a turned photo with two
// threads equals the one it makes with one.
TEST(ParallelDecode, TheReadersBitmapIsTheSameWithTwoThreads) {
  const AuthoredPhoto& photo = Authored("photo", 1, 5);
  RequestedLevelScope level(5);
  const auto decode = [&](int threads) {
    imagefile::ImageReader reader;
    reader.open(photo.pack);
    return DecodeOpened(reader, 0, 0, nullptr, threads);
  };
  const Picture one = decode(1), two = decode(2);
  EXPECT_EQ(one.width, 2048);
  EXPECT_EQ(one.height, 3072);
  EXPECT_TRUE(one.bgr == two.bgr);
}

}  // namespace
