// The fast paths of decoding above BASE give the bytes of the plain one: the
// SSE2 kernels against the scalar ones, and the two-thread decode against
// the single-threaded scalar decode, on authored photos in every rotation,
// in the reader's bands, in odd rectangles and walking up the image.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
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

TEST(SampleKernels, Sse2GivesTheScalarResultForEveryColourAndLength) {
  if (!kPcdSse2Kernels) GTEST_SKIP() << "no SSE2 on this processor family";
  const PcdSampleKernels &scalar = kPcdScalarKernels, &vector = *kPcdSse2Kernels;
  // Every PhotoYCC triple: 256 rows of 65536 pixels (odd lengths leave tails).
  std::vector<std::uint8_t> y(65536), c1(65536), c2(65536), a(3 * 65536), b(3 * 65536);
  for (int i = 0; i < 65536; ++i) {
    c1[i] = static_cast<std::uint8_t>(i >> 8);
    c2[i] = static_cast<std::uint8_t>(i);
  }
  for (int luma = 0; luma < 256; ++luma) {
    std::fill(y.begin(), y.end(), static_cast<std::uint8_t>(luma));
    const int n = 65536 - (luma & 7);
    scalar.yccToBgr(y.data(), c1.data(), c2.data(), n, a.data());
    vector.yccToBgr(y.data(), c1.data(), c2.data(), n, b.data());
    ASSERT_EQ(std::memcmp(a.data(), b.data(), 3 * n), 0) << "luma " << luma;
  }

  std::mt19937 random(7);
  const auto bytes = [&](int n) {
    std::vector<std::uint8_t> v(n);
    for (auto& x : v) x = static_cast<std::uint8_t>(random());
    return v;
  };
  for (int n = 0; n < 100; ++n) {
    const std::vector<std::uint8_t> s = bytes(n + 1), q = bytes(n + 1);
    std::vector<std::uint8_t> outA(4 * n + 1), outB(4 * n + 1);
    std::vector<std::int8_t> residuals(n);
    for (auto& r : residuals) r = static_cast<std::int8_t>(random());
    std::vector<std::uint8_t> samplesA = s, samplesB = s;
    scalar.addResiduals(samplesA.data(), residuals.data(), n);
    vector.addResiduals(samplesB.data(), residuals.data(), n);
    EXPECT_EQ(samplesA, samplesB) << n;
    scalar.widenPairs(s.data(), n, outA.data());
    vector.widenPairs(s.data(), n, outB.data());
    EXPECT_EQ(outA, outB) << n;
    scalar.blendPairs(s.data(), q.data(), n, outA.data());
    vector.blendPairs(s.data(), q.data(), n, outB.data());
    EXPECT_EQ(outA, outB) << n;
    std::vector<std::int16_t> sums(n + 1);
    for (int k = 0; k <= n; ++k) sums[k] = static_cast<std::int16_t>(4 * s[k] - (q[k] & 3) * (s[k] - q[k]));
    scalar.quarterGroups(sums.data(), n, outA.data());
    vector.quarterGroups(sums.data(), n, outB.data());
    EXPECT_EQ(outA, outB) << n;
  }
}

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
// or upwards, and a few odd rectangles after them.
std::vector<OutputRect> Bands(int width, int height, bool strips, bool upwards) {
  std::vector<OutputRect> rects;
  const int lines = strips ? width : height;
  for (int k = 0; k < lines / 16; ++k) {
    const int start = upwards ? lines - 16 * (k + 1) : 16 * k;
    const auto s = static_cast<std::int16_t>(start), e = static_cast<std::int16_t>(start + 16);
    rects.push_back(strips ? OutputRect{0, s, static_cast<std::int16_t>(height), e}
                           : OutputRect{s, 0, e, static_cast<std::int16_t>(width)});
  }
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
        EXPECT_EQ(Walk(photo.pack, level, 2, rects), plain) << scene << " level " << level << ", scalar";
      }
      ASSERT_FALSE(plain.empty());
      EXPECT_EQ(Walk(photo.pack, level, 1, rects), plain) << scene << " level " << level << ", one thread";
      EXPECT_EQ(Walk(photo.pack, level, 2, rects), plain) << scene << " level " << level << ", two threads";
    }
  }
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
