#include "imaging/colour/two_pass_quantiser.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "imaging/colour/colour_histogram.h"
#include "imaging/colour/inverse_colour_map.h"
#include "reference_diffusion.h"
#include "synthetic_photo.h"

using namespace imaging::colour;
using imaging::RgbTriple;

namespace {

struct Pixel {
  int blue, green, red;
};

std::vector<std::uint8_t> rowOf(const std::vector<Pixel>& pixels) {
  std::vector<std::uint8_t> row;
  for (const Pixel& p : pixels) row.insert(row.end(), {std::uint8_t(p.blue), std::uint8_t(p.green), std::uint8_t(p.red)});
  return row;
}

// Pixel at the centre of histogram cell (blue, green, red).
Pixel centreOf(int b, int g, int r) { return {blueCentre(b), greenCentre(g), redCentre(r)}; }

std::vector<RgbTriple> chooseFor(const std::vector<Pixel>& pixels, int colours) {
  TwoPassQuantiser q(colours, false, static_cast<int>(pixels.size()));
  EXPECT_TRUE(q.countRow(rowOf(pixels).data()));
  q.chooseColours();
  std::vector<RgbTriple> palette(256);
  palette.resize(q.palette(palette.data()));
  return palette;
}

std::vector<int> reds(const std::vector<RgbTriple>& palette) {
  std::vector<int> out;
  for (const RgbTriple& c : palette) out.push_back(c.red);
  return out;
}

// Nearest colour by weighted distance, lowest index on a tie.
int nearestColour(const std::vector<RgbTriple>& palette, int blue, int green, int red) {
  int best = 0, bestDistance = INT_MAX;
  for (int i = 0; i < static_cast<int>(palette.size()); ++i) {
    int d = colourDistance(palette[i].blue - blue, palette[i].green - green, palette[i].red - red);
    if (d < bestDistance) best = i, bestDistance = d;
  }
  return best;
}

}  // namespace

TEST(TwoPassQuantiser, FewColoursEndMedianCutEarly) {
  std::vector<Pixel> pixels;
  for (int i = 0; i < 10; ++i) pixels.push_back({i * 25 + 3, 250 - i * 20, (i * 77) % 256});
  TwoPassQuantiser q(236, false, static_cast<int>(pixels.size()));
  auto row = rowOf(pixels);
  ASSERT_TRUE(q.countRow(row.data()));
  ASSERT_EQ(q.chooseColours(), 10);
  RgbTriple palette[256];
  ASSERT_EQ(q.palette(palette), 10);
  // Each colour is the centre of its cell, and every pixel maps to its own.
  std::vector<std::uint8_t> out(pixels.size());
  ASSERT_TRUE(q.mapRow(row.data(), out.data()));
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    const Pixel& p = pixels[i];
    EXPECT_EQ(palette[out[i]], (RgbTriple{std::uint8_t((p.red & ~7) + 4), std::uint8_t((p.green & ~3) + 2),
                                    std::uint8_t((p.blue & ~7) + 4)}));
  }
}

TEST(TwoPassQuantiser, HistogramCellsSaturate) {
  // One colour for two cells: 65546 pixels in the black cell and 10 in the
  // white one. A wrapping count would leave 10 against 10 (a mid grey).
  std::vector<Pixel> pixels(65546, Pixel{0, 0, 0});
  pixels.insert(pixels.end(), 10, Pixel{255, 255, 255});
  auto palette = chooseFor(pixels, 1);
  ASSERT_EQ(palette.size(), 1u);
  const std::uint64_t black = 65535, white = 10, total = black + white;
  EXPECT_EQ(palette[0].blue, (black * 4 + white * 252 + total / 2) / total);
  EXPECT_EQ(palette[0].green, (black * 2 + white * 254 + total / 2) / total);
}

TEST(TwoPassQuantiser, MedianCutSplitsByPopulationThenVolume) {
  // On the red axis alone: six neighbouring cells and two far apart ones.
  std::vector<Pixel> pixels;
  for (int r : {0, 1, 2, 3, 4, 5, 20, 31}) pixels.push_back(centreOf(0, 0, r));
  // Three colours: the first cut halves the axis, the second takes the box of
  // larger volume (20..31), whose lower half keeps the middle cell.
  EXPECT_EQ(reds(chooseFor(pixels, 3)), (std::vector<int>{24, 164, 252}));
  // Four: while boxes x 2 <= colours the most populous box (0..5) goes first.
  EXPECT_EQ(reds(chooseFor(pixels, 4)), (std::vector<int>{12, 164, 36, 252}));
}

TEST(TwoPassQuantiser, SplitAxisTieBreaks) {
  // Green extent 4 x 12 equals red extent 3 x 16: green is cut, pairing the
  // two cells with low green.
  auto greenCut = chooseFor({centreOf(0, 0, 0), centreOf(0, 1, 3), centreOf(0, 4, 3)}, 2);
  ASSERT_EQ(greenCut.size(), 2u);
  EXPECT_EQ(greenCut[1], (RgbTriple{28, 18, 4}));
  // Red extent 1 x 16 equals blue extent 2 x 8: red is cut.
  auto redCut = chooseFor({centreOf(0, 0, 0), centreOf(2, 0, 0), centreOf(2, 0, 1)}, 2);
  ASSERT_EQ(redCut.size(), 2u);
  EXPECT_EQ(redCut[1], (RgbTriple{12, 2, 20}));
}

TEST(TwoPassQuantiser, InverseMapFindsTheNearestColour) {
  // Count a photo, then map the centre of every histogram cell: the lazily
  // filled, pruned blocks must agree with a search over all colours.
  auto photo = colour_test::syntheticPhoto(256, 256);
  TwoPassQuantiser q(236, false, 65536);
  ASSERT_TRUE(q.countRow(photo.data()));
  ASSERT_EQ(q.chooseColours(), 236);
  std::vector<RgbTriple> palette(256);
  palette.resize(q.palette(palette.data()));
  std::vector<Pixel> centres;
  for (int b = 0; b < kBlueCells; ++b)
    for (int g = 0; g < kGreenCells; ++g)
      for (int r = 0; r < kRedCells; ++r) centres.push_back(centreOf(b, g, r));
  auto row = rowOf(centres);
  std::vector<std::uint8_t> out(centres.size());
  ASSERT_TRUE(q.mapRow(row.data(), out.data()));
  int wrong = 0;
  for (std::size_t i = 0; i < centres.size(); ++i)
    wrong += out[i] != nearestColour(palette, centres[i].blue, centres[i].green, centres[i].red);
  EXPECT_EQ(wrong, 0);
}

TEST(TwoPassQuantiser, DiffusionMatchesPlainLimitedDiffusion) {
  const int width = 41, height = 29;
  auto photo = colour_test::syntheticPhoto(width, height);
  TwoPassQuantiser q(236, true, width);
  for (int y = 0; y < height; ++y) ASSERT_TRUE(q.countRow(&photo[static_cast<std::size_t>(y) * width * 3]));
  q.chooseColours();
  std::vector<RgbTriple> palette(256);
  palette.resize(q.palette(palette.data()));
  std::vector<std::uint8_t> out(static_cast<std::size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    ASSERT_TRUE(q.mapRow(&photo[static_cast<std::size_t>(y) * width * 3], &out[static_cast<std::size_t>(y) * width]));

  auto limit = [](int e) {
    int m = e < 0 ? -e : e;
    int limited = m < 16 ? m : m < 48 ? 16 + (m - 16) / 2 : 32;
    return e < 0 ? -limited : limited;
  };
  auto expected = colour_test::referenceDiffusion(photo, width, height, limit, [&](const int v[3], int chosen[3]) {
    // The cell's colour is the one nearest the cell centre, not the pixel.
    int index = nearestColour(palette, blueCentre(v[0] >> 3), greenCentre(v[1] >> 2), redCentre(v[2] >> 3));
    chosen[0] = palette[index].blue;
    chosen[1] = palette[index].green;
    chosen[2] = palette[index].red;
    return static_cast<std::uint8_t>(index);
  });
  EXPECT_EQ(out, expected);
}

TEST(TwoPassQuantiser, RefusesCallsOutOfOrderAndBadArguments) {
  EXPECT_FALSE(TwoPassQuantiser(0, false, 4).valid());
  EXPECT_FALSE(TwoPassQuantiser(257, false, 4).valid());
  EXPECT_FALSE(TwoPassQuantiser(236, true, 0).valid());

  TwoPassQuantiser q(236, true, 4);
  auto row = rowOf({{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}});
  std::vector<std::uint8_t> out(4, 0xEE);
  EXPECT_FALSE(q.mapRow(row.data(), out.data()));  // colours not chosen yet
  EXPECT_FALSE(q.countRow(nullptr));
  // Nothing counted: one colour, black, and everything maps to it.
  EXPECT_EQ(q.chooseColours(), 1);
  EXPECT_FALSE(q.countRow(row.data()));  // the histogram is now the inverse map
  ASSERT_TRUE(q.mapRow(row.data(), out.data()));
  EXPECT_EQ(out, std::vector<std::uint8_t>(4, 0));
  EXPECT_FALSE(q.mapRow(row.data(), nullptr));
}
