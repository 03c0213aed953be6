// Output size, depth, palette, gamma and row storage rules of the output stage.
#include <gtest/gtest.h>

#include <cstring>

#include "bitmap_helpers.h"
#include "imaging/dib_image.h"
#include "imaging/output_stage.h"

using namespace imaging;
using testing_bitmaps::pixelsOf;

TEST(OutputSize, FitsIntoTheBoxWithoutEnlarging) {
  OutputSize s = fitOutputSize(3072, 2048, 768, 768);
  EXPECT_EQ(s.width, 768);
  EXPECT_EQ(s.height, 512);
  s = fitOutputSize(300, 200, 1000, 1000);
  EXPECT_EQ(s.width, 300);
  EXPECT_EQ(s.height, 200);
  s = fitOutputSize(1, 1, 50, 7);
  EXPECT_EQ(s.width, 1);
  EXPECT_EQ(s.height, 1);
  s = fitOutputSize(1000, 10, 100, 0);  // a zero side takes the source's
  EXPECT_EQ(s.width, 100);
  EXPECT_EQ(s.height, 1);
  s = fitOutputSize(0, 0, 100, 100);
  EXPECT_EQ(s.width, 1);
  EXPECT_EQ(s.height, 1);
}

TEST(OutputDepthsTest, FollowTheDisplayDepth) {
  struct Case { int source, display, wantDisplay, wantFull; } cases[] = {
      {1, 24, 1, 1}, {4, 24, 8, 8}, {8, 8, 8, 8}, {15, 24, 16, 16}, {16, 24, 16, 24},
      {24, 15, 16, 24}, {24, 32, 24, 24}, {24, 8, 8, 24}, {32, 24, 24, 24},
  };
  for (const Case& c : cases) {
    OutputDepths d = chooseDepths(c.source, c.display);
    EXPECT_EQ(d.display, c.wantDisplay) << c.source << " on " << c.display;
    EXPECT_EQ(d.full, c.wantFull) << c.source << " on " << c.display;
  }
}

TEST(Gamma, TablesFollowTheFactor) {
  GammaTable g;
  g.set(2.0);
  EXPECT_EQ(g.map8(128), 180);
  EXPECT_EQ(g.map8(0), 0);
  EXPECT_EQ(g.map8(255), 255);
  EXPECT_EQ(g.map5(31), 31);
  g.set(0.0);  // 0 stands for 1.0
  EXPECT_TRUE(g.isIdentity());
  for (int i = 0; i < 256; ++i) EXPECT_EQ(g.map8(static_cast<std::uint8_t>(i)), i);
  for (unsigned i = 0; i < 32; ++i) EXPECT_EQ(g.map5(i), i);
}

TEST(PalettePlanTest, GreyPhotoOnAnEightBitDisplayUses236Greys) {
  PalettePlan plan = planPalette(8, true, {}, 8, 8, {});
  ASSERT_EQ(plan.entries.size(), 236u);
  EXPECT_EQ(plan.declaredColours, 256);
  EXPECT_EQ(plan.indices[255], 235);
  EXPECT_EQ(plan.entries[235], (RgbTriple{254, 254, 254}));
  EXPECT_EQ(plan.indices[1], 0);
  // On a true-colour display the same photo keeps its 256-entry ramp.
  PalettePlan wide = planPalette(8, true, {}, 8, 24, {});
  ASSERT_EQ(wide.entries.size(), 256u);
  EXPECT_EQ(wide.entries[255], (RgbTriple{255, 255, 255}));
  EXPECT_EQ(wide.indices[200], 200);
  // A four-bit grey source gets a 16-entry ramp.
  EXPECT_EQ(planPalette(4, true, {}, 8, 8, {}).entries[15], (RgbTriple{255, 255, 255}));
  EXPECT_TRUE(planPalette(24, false, {}, 24, 24, {}).entries.empty());
}

TEST(LineReduction, AveragesColourAndTakesMiddleSamplesOfIndices) {
  const std::uint8_t bgr[] = {10, 20, 30, 20, 40, 60, 30, 60, 90, 100, 100, 100, 0, 0, 0};
  std::uint8_t out[6] = {};
  reduceLine(bgr, 5, out, 2, LineKind::Bgr24);  // groups of 3 and 2 pixels
  EXPECT_EQ(out[0], 20);
  EXPECT_EQ(out[2], 60);
  EXPECT_EQ(out[3], 50);
  const std::uint8_t idx[] = {1, 2, 3, 4, 5, 6};
  std::uint8_t o2[3] = {};
  reduceLine(idx, 6, o2, 3, LineKind::Index8);
  EXPECT_EQ(o2[0], 1);
  EXPECT_EQ(o2[2], 5);
  const std::uint8_t bits[] = {0xF0};  // 1111 0000
  std::uint8_t o3[1] = {0};
  reduceLine(bits, 8, o3, 2, LineKind::Bits1);
  EXPECT_EQ(o3[0] & 0xC0, 0x80);
}

namespace {

// Delivers a 24-bit gradient row by row; pixel (x, y) = (x, y, x + y).
class GradientSource : public RowSource {
 public:
  int beginRows(OutputStage& stage) override {
    next_ = 0;
    return 0;
  }
  int deliverRows(OutputStage& stage, int count) override {
    std::vector<std::uint8_t> row(static_cast<std::size_t>(stage.source().width) * 3);
    for (int k = 0; k < count && next_ < stage.outHeight(); ++k, ++next_) {
      for (int x = 0; x < stage.source().width; ++x) {
        row[3 * x] = static_cast<std::uint8_t>(x);
        row[3 * x + 1] = static_cast<std::uint8_t>(next_);
        row[3 * x + 2] = static_cast<std::uint8_t>(x + next_);
      }
      if (!stage.putRow(row.data(), next_)) return stage.error();
    }
    return 0;
  }
  int next_ = 0;
};

SourceDescription trueColour(int width, int height) {
  SourceDescription d;
  d.width = width;
  d.height = height;
  d.bits = 24;
  return d;
}

// A stand-in reducer: index = blue >> 5, palette of 8 blues; the two-pass one maps to green >> 5.
class FakeCube : public RowReducer {
 public:
  explicit FakeCube(int width) : width_(width) {}
  void reduceRow(const std::uint8_t* in, std::uint8_t* out, int, int) override {
    for (int x = 0; x < width_; ++x) out[x] = in[3 * x] >> 5;
  }
  int palette(RgbTriple* out) const override {
    for (int i = 0; i < 8; ++i) out[i] = RgbTriple{0, 0, static_cast<std::uint8_t>(i * 32)};
    return 8;
  }
  int width_;
};

class FakeTwoPass : public TwoPassReducer {
 public:
  explicit FakeTwoPass(int width) : width_(width) {}
  void countRow(const std::uint8_t*) override { ++counted; }
  void chooseColours() override { chosen = true; }
  int palette(RgbTriple* out) const override {
    for (int i = 0; i < 4; ++i) out[i] = RgbTriple{0, static_cast<std::uint8_t>(i * 64), 0};
    return 4;
  }
  void mapRow(const std::uint8_t* row, std::uint8_t* out) override {
    for (int x = 0; x < width_; ++x) out[x] = row[3 * x + 1] >> 6;
  }
  int width_;
  int counted = 0;
  bool chosen = false;
};

class FakeFactory : public ReducerFactory {
 public:
  std::unique_ptr<RowReducer> colourCube(int colours, int mode, int width) const override {
    lastMode = mode;
    return std::make_unique<FakeCube>(width);
  }
  std::unique_ptr<TwoPassReducer> twoPass(int colours, bool, int width) const override {
    auto q = std::make_unique<FakeTwoPass>(width);
    lastTwoPass = q.get();
    return q;
  }
  mutable int lastMode = -1;
  mutable FakeTwoPass* lastTwoPass = nullptr;
};

}  // namespace

TEST(Stage, StoresTrueColourRowsAndReportsProgress) {
  GradientSource rows;
  OutputStage stage;
  OutputOptions options;
  options.bottomUp = true;
  options.keepFull = true;
  ASSERT_TRUE(stage.begin(options, trueColour(16, 8), &rows));
  EXPECT_EQ(stage.progress(), 0);
  bool changed = false;
  PixelRect rect;
  ASSERT_TRUE(stage.step(2, &changed, &rect));
  EXPECT_TRUE(changed);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(rect.bottom, 2);
  EXPECT_EQ(rect.right, 16);
  EXPECT_EQ(stage.progress(), 2500);
  ASSERT_TRUE(stage.step(100));
  EXPECT_EQ(stage.progress(), 10000);
  EXPECT_FALSE(stage.step(1));
  EXPECT_EQ(stage.error(), kStageNotAllowed);
  std::vector<std::uint32_t> px = pixelsOf(stage.displayBitmap());
  EXPECT_EQ(px[3 * 16 + 5], (5u) | (3u << 8) | (8u << 16));  // row 3, column 5, bottom-up memory
  EXPECT_EQ(pixelsOf(stage.fullBitmap()), px);
  EXPECT_TRUE(isBottomUp(testing_bitmaps::headerOf(stage.displayBitmap())));
}

TEST(Stage, RefusesWrongCallsWithErrorCodes) {
  GradientSource rows;
  OutputStage stage;
  std::uint8_t row[48] = {};
  EXPECT_FALSE(stage.putRow(row, 0));  // nothing begun
  OutputOptions options;
  options.boxWidth = -1;
  EXPECT_FALSE(stage.begin(options, trueColour(16, 4), &rows));
  EXPECT_EQ(stage.error(), kStageBadOptions);
  options.boxWidth = 0;
  ASSERT_TRUE(stage.begin(options, trueColour(16, 4), &rows));
  EXPECT_FALSE(stage.putRow(row, 4));
  EXPECT_EQ(stage.error(), kStageNotAllowed);
  EXPECT_FALSE(stage.putColumn(row, 0));  // a row reader cannot store columns
  options.displayDepth = 8;                // true colour on a palette display needs a reducer
  EXPECT_FALSE(stage.begin(options, trueColour(16, 4), &rows));
  EXPECT_EQ(stage.error(), kStageNoReducer);
}

TEST(Stage, ShrinksRowsAndPacks555ForSixteenBitDisplays) {
  GradientSource rows;
  OutputStage stage;
  OutputOptions options;
  options.boxWidth = 8;
  options.displayDepth = 16;
  options.dither16 = 0;
  ASSERT_TRUE(stage.begin(options, trueColour(16, 8), &rows));
  EXPECT_EQ(stage.outWidth(), 8);
  EXPECT_EQ(stage.outHeight(), 4);
  ASSERT_TRUE(stage.step(4));
  std::vector<std::uint32_t> px = pixelsOf(stage.displayBitmap());
  // Output (1, 0) averages source pixels 2 and 3 of row 0: blue 2, green 0, red 2.
  EXPECT_EQ(px[1], pack555(2, 0, 2));
  EXPECT_EQ(pack555(0xFF, 0x80, 0x08), (1u << 10) | (16u << 5) | 31u);
}

TEST(Stage, GammaReachesTrueColourPixelsOnly) {
  GradientSource rows;
  OutputStage stage;
  OutputOptions options;
  options.gamma = 2.0;
  ASSERT_TRUE(stage.begin(options, trueColour(200, 2), &rows));
  ASSERT_TRUE(stage.step(2));
  std::vector<std::uint32_t> px = pixelsOf(stage.displayBitmap());
  EXPECT_EQ(px[128] & 0xFF, 180u);  // blue 128 of column 128
  options.gamma = 1.0;
  ASSERT_TRUE(stage.begin(options, trueColour(200, 2), &rows));
  ASSERT_TRUE(stage.step(2));
  EXPECT_EQ(pixelsOf(stage.displayBitmap())[128] & 0xFF, 128u);
}

TEST(Stage, UsesTheCubePaletteAndRunsTheSecondPass) {
  GradientSource rows;
  FakeFactory factory;
  OutputStage stage;
  OutputOptions options;
  options.displayDepth = 8;
  options.dither8 = 3;  // ordered cube while decoding, then two passes
  options.reducers = &factory;
  ASSERT_TRUE(stage.begin(options, trueColour(64, 4), &rows));
  EXPECT_EQ(factory.lastMode, 1);
  EXPECT_NE(stage.fullBitmap(), nullptr);  // the second pass needs the kept copy
  EXPECT_EQ(stage.paletteColours().size(), 8u);
  ASSERT_TRUE(stage.step(2));
  EXPECT_EQ(stage.progress(), 2500);
  EXPECT_EQ(pixelsOf(stage.displayBitmap())[40], 40u >> 5);
  ASSERT_TRUE(stage.step(2));
  EXPECT_EQ(stage.progress(), 5000);
  EXPECT_TRUE(factory.lastTwoPass->chosen);
  EXPECT_EQ(factory.lastTwoPass->counted, 4);
  EXPECT_EQ(stage.paletteColours().size(), 4u);
  bool changed = false;
  PixelRect rect;
  ASSERT_TRUE(stage.step(3, &changed, &rect));
  EXPECT_EQ(stage.progress(), 5000 + 3 * 5000 / 4);
  ASSERT_TRUE(stage.step(1, &changed, &rect));
  EXPECT_EQ(stage.progress(), 10000);
  EXPECT_EQ(rect.bottom, 4);
  EXPECT_EQ(rect.top, 0);
  EXPECT_EQ(pixelsOf(stage.displayBitmap())[3 * 64], 3u >> 6);
}

TEST(Stage, GammaReachesTheFullCopyOnPaletteDisplaysExactlyOnce) {
  GradientSource rows;
  FakeFactory factory;
  OutputStage stage;
  OutputOptions options;
  options.displayDepth = 8;
  options.gamma = 2.0;
  options.keepFull = true;
  options.makeDisplay = false;  // as print and export decode
  ASSERT_TRUE(stage.begin(options, trueColour(200, 2), &rows));
  ASSERT_TRUE(stage.step(2));
  EXPECT_EQ(pixelsOf(stage.fullBitmap())[128] & 0xFF, 180u);

  // A colour cube sees plain pixels; its palette carries the correction.
  options.makeDisplay = true;
  options.dither8 = 1;
  options.reducers = &factory;
  ASSERT_TRUE(stage.begin(options, trueColour(200, 2), &rows));
  ASSERT_TRUE(stage.step(2));
  EXPECT_EQ(pixelsOf(stage.fullBitmap())[128] & 0xFF, 180u);
  EXPECT_EQ(pixelsOf(stage.displayBitmap())[128], 128u >> 5);
  EXPECT_EQ(stage.paletteColours()[4].blue, 180);

  // Two passes choose their colours from corrected pixels: not corrected twice.
  options.dither8 = 4;
  ASSERT_TRUE(stage.begin(options, trueColour(200, 2), &rows));
  while (stage.progress() < 10000) ASSERT_TRUE(stage.step(2));
  EXPECT_EQ(stage.paletteColours()[1].green, 64);
  EXPECT_EQ(pixelsOf(stage.fullBitmap())[128] & 0xFF, 180u);
}

TEST(Stage, DeviceDependentDisplayBitmapsTakeRowsThroughSetBits) {
  GradientSource rows;
  OutputStage stage;
  OutputOptions options;
  options.useDdb = true;
  options.keepFull = true;
  ASSERT_TRUE(stage.begin(options, trueColour(10, 3), &rows));
  ASSERT_TRUE(stage.step(3));
  EXPECT_EQ(stage.progress(), 10000);
  DibSectionInfo info;
  EXPECT_FALSE(describeDibSection(stage.displayBitmap(), info));  // not a DIB section
  EXPECT_TRUE(describeDibSection(stage.fullBitmap(), info));
}

TEST(Stage, HandsItsHandlesToTheFrameExactlyOnce) {
  GradientSource rows;
  DibImage frame;
  {
    OutputStage stage;
    OutputOptions options;
    options.keepFull = true;
    ASSERT_TRUE(stage.begin(options, trueColour(4, 4), &rows));
    stage.lendTo(frame);
    EXPECT_FALSE(frame.ownsDisplay);
    ASSERT_TRUE(stage.step(4));
    stage.handOver(frame);
    EXPECT_TRUE(frame.ownsDisplay);
    EXPECT_TRUE(frame.ownsFull);
  }  // the stage's end must not delete what the frame now owns
  EXPECT_EQ(pixelsOf(frame.displayBitmap).size(), 16u);
}

namespace {
// Delivers a 24-bit picture column by column; pixel (x, y) blue = 10 x + y.
class ColumnSource : public RowSource {
 public:
  int beginRows(OutputStage&) override { return 0; }
  int deliverRows(OutputStage& stage, int count) override {
    std::vector<std::uint8_t> column(static_cast<std::size_t>(stage.source().height) * 3);
    for (int k = 0; k < count && next_ < stage.outWidth(); ++k, ++next_) {
      for (int y = 0; y < stage.source().height; ++y) column[3 * y] = static_cast<std::uint8_t>(10 * next_ + y);
      if (!stage.putColumn(column.data(), next_)) return stage.error();
    }
    return 0;
  }
  int next_ = 0;
};
}  // namespace

TEST(Stage, StoresColumnsAndBlocks) {
  ColumnSource columns;
  OutputStage stage;
  OutputOptions options;
  options.bottomUp = true;
  SourceDescription d = trueColour(3, 5);
  d.columnMode = true;
  ASSERT_TRUE(stage.begin(options, d, &columns));
  ASSERT_TRUE(stage.step(3));
  EXPECT_EQ(stage.progress(), 10000);
  std::vector<std::uint32_t> px = pixelsOf(stage.displayBitmap());
  EXPECT_EQ(px[4 * 3 + 2] & 0xFF, 24u);  // column 2, row 4
  EXPECT_FALSE(stage.putRow(px.data() ? reinterpret_cast<const std::uint8_t*>(px.data()) : nullptr, 0));

  GradientSource rows;
  ASSERT_TRUE(stage.begin(options, trueColour(4, 4), &rows));
  const std::uint8_t block[2 * 6] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  ASSERT_TRUE(stage.putBlock(block, 6, 2, 1, 2, 2));
  EXPECT_EQ(stage.progress(), 2500);
  px = pixelsOf(stage.displayBitmap());
  EXPECT_EQ(px[1 * 4 + 3], 4u | 5u << 8 | 6u << 16);
  EXPECT_FALSE(stage.putBlock(block, 6, 3, 1, 2, 2));  // beyond the right edge
}
