// Rotation, crop, frames, packed and global DIBs on real bitmaps of each backend.
#include <gtest/gtest.h>

#include <cstring>

#include "bitmap_helpers.h"
#include "imaging/dib_image.h"
#include "imaging/dib_ops.h"
#include "imaging/global_dib.h"
#include "imaging/packed_dib.h"

using namespace imaging;
using testing_bitmaps::headerOf;
using testing_bitmaps::makeSection;
using testing_bitmaps::pixelsOf;

namespace {

std::uint32_t pattern(int x, int y, int bits) {
  std::uint32_t v = static_cast<std::uint32_t>(x * 7 + y * 13 + x * y);
  return bits >= 32 ? v : v & ((1u << bits) - 1);
}

}  // namespace

class RotationTest : public ::testing::TestWithParam<std::tuple<int, bool>> {};

TEST_P(RotationTest, FourQuarterTurnsAndTwoHalfTurnsRestoreThePixels) {
  int bits = std::get<0>(GetParam());
  bool bottomUp = std::get<1>(GetParam());
  // Wider and taller than the 64-pixel tiles of whole-byte turns, with part tiles at the edges.
  BitmapHandle start = makeSection(131, 70, bits, bottomUp, [&](int x, int y) { return pattern(x, y, bits); });
  ASSERT_NE(start, nullptr);
  std::vector<std::uint32_t> original = pixelsOf(start);

  BitmapHandle current = start;
  for (int turn = 0; turn < 4; ++turn) {
    BitmapHandle next = rotate(current, kTurnRight);
    ASSERT_NE(next, nullptr);
    DibHeader h = headerOf(next);
    EXPECT_EQ(h.width, turn % 2 == 0 ? 70 : 131);
    EXPECT_EQ(absHeight(h), turn % 2 == 0 ? 131 : 70);
    if (current != start) deleteBitmap(current);
    current = next;
  }
  EXPECT_EQ(pixelsOf(current), original);
  deleteBitmap(current);

  BitmapHandle half = rotate(start, kHalfTurn);
  BitmapHandle back = rotate(half, kHalfTurn);
  EXPECT_EQ(headerOf(half).width, 131);
  EXPECT_EQ(pixelsOf(back), original);
  deleteBitmap(half);
  deleteBitmap(back);
  deleteBitmap(start);
}

INSTANTIATE_TEST_SUITE_P(AllDepths, RotationTest,
                         ::testing::Combine(::testing::Values(1, 4, 8, 16, 24), ::testing::Bool()));

TEST(Rotation, QuarterTurnsGoClockwiseAndCounterClockwiseOnScreen) {
  // 3 x 2 picture, values = 10 * row + column.
  BitmapHandle src = makeSection(3, 2, 8, true, [](int x, int y) { return 10u * y + x; });
  BitmapHandle cw = rotate(src, kTurnRight), ccw = rotate(src, kTurnLeft),
               ccw270 = rotate(src, QuarterTurns::Clockwise(3));
  // Clockwise: the left column, read bottom to top, becomes the top row.
  EXPECT_EQ(pixelsOf(cw), (std::vector<std::uint32_t>{10, 0, 11, 1, 12, 2}));
  EXPECT_EQ(pixelsOf(ccw), (std::vector<std::uint32_t>{2, 12, 1, 11, 0, 10}));
  EXPECT_EQ(pixelsOf(ccw270), pixelsOf(ccw));
  EXPECT_EQ(rotate(src, kNoTurn), nullptr);
  for (BitmapHandle b : {src, cw, ccw, ccw270}) deleteBitmap(b);
}

TEST(Rotation, HalfTurnOfA13PixelRowKeepsThePaddingBitsAtTheEnd) {
  // Pixels 0..12 alternate 1,1,0,... ; after the turn the row reads backwards
  // and the three unused bits stay at the low end of the second byte.
  BitmapHandle src = makeSection(13, 1, 1, true, [](int x, int) { return x % 3 != 2 ? 1u : 0u; });
  BitmapHandle turned = rotate(src, kHalfTurn);
  DibSectionInfo info;
  ASSERT_TRUE(describeDibSection(turned, info));
  std::vector<std::uint32_t> in = pixelsOf(src), out = pixelsOf(turned);
  for (int x = 0; x < 13; ++x) EXPECT_EQ(out[x], in[12 - x]) << x;
  EXPECT_EQ(info.bits[1] & 0x07, 0);
  deleteBitmap(src);
  deleteBitmap(turned);
}

TEST(Crop, CopiesTheRectangleAtTopLeftInEitherRowOrder) {
  for (int bits : {1, 8, 24}) {
    for (bool bottomUp : {true, false}) {
      BitmapHandle src = makeSection(9, 7, bits, bottomUp, [&](int x, int y) { return pattern(x, y, bits); });
      BitmapHandle part = crop(src, 2, 3, 5, 4);
      ASSERT_NE(part, nullptr);
      DibHeader h = headerOf(part);
      EXPECT_EQ(h.width, 5);
      EXPECT_EQ(absHeight(h), 4);
      EXPECT_EQ(h.bitCount, bits);
      std::vector<std::uint32_t> got = pixelsOf(part);
      for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(got[y * 5 + x], pattern(x + 2, y + 3, bits)) << bits << x << y;
      EXPECT_EQ(crop(src, 0, 0, 0, 4), nullptr);
      deleteBitmap(part);
      deleteBitmap(src);
    }
  }
}

TEST(Palette, MadeOnlyForPaletteBitmaps) {
  RgbQuad table[2] = {{0, 0, 0, 0}, {30, 20, 10, 0}};
  DibHeader h = makeDibHeader(4, 4, 24, true, 0);
  EXPECT_EQ(createPalette(h, table, 2), nullptr);
  h.bitCount = 1;
  PaletteHandle p = createPalette(h, table, 2);
  ASSERT_NE(p, nullptr);
  RgbTriple entries[2];
  ASSERT_EQ(paletteEntries(p, entries, 2), 2);
  EXPECT_EQ(entries[1], (RgbTriple{10, 20, 30}));
  deletePalette(p);
}

TEST(DibImageFrame, RotatingWithoutAFullBitmapTurnsTheDisplayAndSwapsSizes) {
  DibImage frame;
  frame.sourceWidth = frame.width = 6;
  frame.sourceHeight = frame.height = 4;
  frame.setDisplayBitmap(makeSection(6, 4, 24, true, [](int x, int y) { return pattern(x, y, 24); }), true);
  ASSERT_TRUE(frame.rotate(kTurnLeft));
  EXPECT_EQ(frame.width, 4);
  EXPECT_EQ(frame.height, 6);
  EXPECT_EQ(frame.sourceWidth, 4);
  EXPECT_EQ(headerOf(frame.displayBitmap).width, 4);
  EXPECT_EQ(frame.fullBitmap, nullptr);
  ASSERT_TRUE(frame.rotate(kHalfTurn));
  EXPECT_EQ(frame.width, 4);
  EXPECT_FALSE(frame.rotate(kNoTurn));
  EXPECT_EQ(frame.width, 4);

  DibImage empty;
  EXPECT_FALSE(empty.rotate(kTurnRight));
}

TEST(DibImageFrame, FreesOnlyTheHandlesItOwns) {
  // Lent handles survive the frame; the sanitizer build catches a double free or a leak.
  BitmapHandle lent = makeSection(2, 2, 24, true, [](int, int) { return 0u; });
  {
    DibImage frame;
    frame.setDisplayBitmap(lent, false);
    frame.setFullBitmap(makeSection(2, 2, 24, true, [](int, int) { return 0u; }), true);
    RgbTriple grey[2] = {{0, 0, 0}, {255, 255, 255}};
    frame.setPalette(createLogicalPalette(grey, 2), true);
  }
  EXPECT_EQ(headerOf(lent).width, 2);
  deleteBitmap(lent);

  RgbTriple colours[2] = {{1, 2, 3}, {4, 5, 6}};
  PaletteHandle shared = createLogicalPalette(colours, 2);
  {
    DibImage frame;
    frame.setPalette(shared, false);
    frame.sharedPalette = true;
    frame.releaseBitmaps();
    EXPECT_EQ(frame.palette, nullptr);
  }
  RgbTriple back[2];
  EXPECT_EQ(paletteEntries(shared, back, 2), 2);
  deletePalette(shared);
}

TEST(PackedDibTest, CopiesADibSectionAndChoosesTheDrawPath) {
  PackedDib empty;
  EXPECT_TRUE(empty.copyFrom(nullptr));
  EXPECT_EQ(empty.header(), nullptr);
  EXPECT_EQ(empty.drawPathFor(1, 1), DrawPath::None);

  BitmapHandle src = makeSection(10, 3, 8, true, [](int x, int y) { return static_cast<std::uint32_t>(x + y); });
  PackedDib packed;
  ASSERT_TRUE(packed.copyFrom(src));
  ASSERT_NE(packed.header(), nullptr);
  EXPECT_EQ(packed.header()->width, 10);
  EXPECT_EQ(packed.bitsSize(), 12u * 3);
  EXPECT_TRUE(packed.ownsBits());
  ASSERT_NE(packed.colours(), nullptr);
  EXPECT_EQ(packed.colours()[255].red, 255);
  EXPECT_EQ(packed.drawPathFor(10, 3), DrawPath::Unscaled);
  EXPECT_EQ(packed.drawPathFor(11, 3), DrawPath::Stretched);
  EXPECT_EQ(packed.drawPathFor(10, 4), DrawPath::Stretched);

  DibImage frame;
  ASSERT_TRUE(frame.assignPacked(&packed, nullptr));
  EXPECT_EQ(frame.width, 10);
  EXPECT_EQ(frame.height, 3);
  EXPECT_NE(frame.palette, nullptr);
  EXPECT_EQ(pixelsOf(frame.displayBitmap), pixelsOf(src));
  deleteBitmap(src);
}

TEST(GlobalDib, HasTheClipboardLayoutAndBorrowsIntoAPackedDib) {
  GlobalDibLayout l8 = globalDibLayout(64, 2, 8, false);
  EXPECT_EQ(l8.pixelOffset, 40u + 1024u);
  EXPECT_EQ(l8.blockSize, 40u + 1024u + 128u + 12u);
  EXPECT_EQ(globalDibLayout(64, 2, 24, false).pixelOffset, 40u);
  EXPECT_EQ(globalDibLayout(65, 2, 8, false).blockSize, 0u);  // rows would need padding
  EXPECT_EQ(globalDibLayout(64, 2, 16, false).blockSize, 0u);

  GlobalHandle block = allocGlobalDib(32, 4, 24, true);
  ASSERT_NE(block, nullptr);
  std::uint8_t* data = lockGlobal(block);
  DibHeader h;
  std::memcpy(static_cast<void*>(&h), data, sizeof h);
  EXPECT_EQ(h.size, 40u);
  EXPECT_EQ(h.bitCount, 24);
  EXPECT_EQ(h.sizeImage, 32u * 4 * 3);
  EXPECT_EQ(h.clrUsed, 256u);
  data[40 + 1024] = 0x55;  // first pixel's blue
  PackedDib view;
  ASSERT_TRUE(view.borrow(data, globalSize(block)));
  EXPECT_FALSE(view.ownsBits());
  EXPECT_EQ(view.bits()[0], 0x55);
  EXPECT_FALSE(view.borrow(data, 100));  // too short for its pixels
  lockGlobal(block);                     // a second lock: freeing must undo both
  freeGlobalDib(block);
}
