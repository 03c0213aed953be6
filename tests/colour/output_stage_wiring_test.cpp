// The reducers driven by the reader's output stage: what reaches the display
// bitmap must be what the reducers make of the same rows on their own.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "imaging/colour/colour_cube.h"
#include "imaging/colour/colour_reducer_factory.h"
#include "imaging/colour/two_pass_quantiser.h"
#include "imaging/gdi_backend.h"
#include "imaging/output_stage.h"
#include "imaging/pixel_ops.h"
#include "synthetic_photo.h"

using namespace imaging;

namespace {

constexpr int kWidth = 96, kHeight = 64;

class PhotoSource : public RowSource {
 public:
  PhotoSource() : photo_(colour_test::syntheticPhoto(kWidth, kHeight)) {}
  const std::uint8_t* row(int y) const { return &photo_[static_cast<std::size_t>(y) * kWidth * 3]; }
  int beginRows(OutputStage&) override {
    next_ = 0;
    return 0;
  }
  int deliverRows(OutputStage& stage, int count) override {
    for (int k = 0; k < count && next_ < kHeight; ++k, ++next_)
      if (!stage.putRow(row(next_), next_)) return stage.error();
    return 0;
  }

 private:
  std::vector<std::uint8_t> photo_;
  int next_ = 0;
};

std::vector<std::uint32_t> displayPixels(const OutputStage& stage) {
  std::vector<std::uint32_t> out;
  DibSectionInfo info;
  if (!describeDibSection(stage.displayBitmap(), info)) return out;
  PixelView view = makeView(info.header, info.bits);
  for (int y = 0; y < view.height; ++y)
    for (int x = 0; x < view.width; ++x) out.push_back(getPixel(view, x, y));
  return out;
}

// Runs a whole decode in steps of five rows; returns the display pixels.
std::vector<std::uint32_t> decode(PhotoSource& source, int displayDepth, int dither8, int dither16,
                                  std::vector<int>* progress = nullptr) {
  colour::ColourReducerFactory factory;
  OutputStage stage;
  OutputOptions options;
  options.displayDepth = displayDepth;
  options.dither8 = dither8;
  options.dither16 = dither16;
  options.reducers = &factory;
  SourceDescription photo;
  photo.width = kWidth;
  photo.height = kHeight;
  photo.bits = 24;
  EXPECT_TRUE(stage.begin(options, photo, &source));
  while (stage.progress() < 10000) {
    if (!stage.step(5)) break;
    if (progress) progress->push_back(stage.progress());
  }
  return displayPixels(stage);
}

}  // namespace

TEST(ReducersInTheOutputStage, PaletteDisplayWithFloydSteinberg) {
  PhotoSource source;
  colour::ColourCube cube(240, colour::kCubeFloydSteinberg, kWidth);
  std::vector<std::uint32_t> expected;
  std::vector<std::uint8_t> out(kWidth);
  for (int y = 0; y < kHeight; ++y) {
    ASSERT_TRUE(cube.reduceRow(source.row(y), out.data()));
    expected.insert(expected.end(), out.begin(), out.end());
  }
  EXPECT_EQ(decode(source, 8, 2, 0), expected);
}

TEST(ReducersInTheOutputStage, TwoPassShowsTheCubeThenMapsTheKeptRows) {
  PhotoSource source;
  colour::TwoPassQuantiser q(236, true, kWidth);
  for (int y = 0; y < kHeight; ++y) ASSERT_TRUE(q.countRow(source.row(y)));
  q.chooseColours();
  std::vector<std::uint32_t> expected;
  std::vector<std::uint8_t> out(kWidth);
  for (int y = 0; y < kHeight; ++y) {
    ASSERT_TRUE(q.mapRow(source.row(y), out.data()));
    expected.insert(expected.end(), out.begin(), out.end());
  }
  std::vector<int> progress;
  EXPECT_EQ(decode(source, 8, 4, 0, &progress), expected);
  ASSERT_FALSE(progress.empty());
  EXPECT_EQ(progress.back(), 10000);
  EXPECT_NE(std::find(progress.begin(), progress.end(), 5000), progress.end());
}

TEST(ReducersInTheOutputStage, SixteenBitDisplayWithOrderedDither) {
  PhotoSource source;
  colour::ColourCube cube(0, colour::kCubeOrdered555, kWidth);
  std::vector<std::uint32_t> expected;
  std::vector<std::uint8_t> out(kWidth * 2);
  for (int y = 0; y < kHeight; ++y) {
    ASSERT_TRUE(cube.reduceRow(source.row(y), out.data()));
    for (int x = 0; x < kWidth; ++x) expected.push_back(out[2 * x] | out[2 * x + 1] << 8);
  }
  EXPECT_EQ(decode(source, 16, 1, 1), expected);
}
