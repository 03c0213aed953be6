// Base levels and the output stage: chroma widening and averaging, BASE/64
// from BASE/16, the colour conversion, output formats and orientation.
#include <gtest/gtest.h>

#include <memory>

#include "colour_tables.h"
#include "damage_report.h"
#include "decode_test_util.h"
#include "pcd_layout.h"
#include "pcd_upsample.h"
#include "rescue_map.h"

namespace {

// A pack whose BASE/16 pair k holds luma rows of value 2k and 2k + 1 plus
// column, and chroma 1 = 2 * column + k, chroma 2 = 200 - column.
Bytes Base16Pack(std::uint8_t rotation = 0) {
  PackFields fields;
  fields.attributeByte = rotation;
  fields.size = pcd::kBaseOffset + pcd::RowPairBytes(768) * 256;
  Bytes f = ImagePackBytes(fields);
  for (int k = 0; k < 64; ++k) {
    std::uint8_t* pair = f.data() + pcd::kBase16Offset + 576 * k;
    for (int x = 0; x < 192; ++x) {
      pair[x] = static_cast<std::uint8_t>(2 * k + x);
      pair[192 + x] = static_cast<std::uint8_t>(2 * k + 1 + x);
    }
    for (int i = 0; i < 96; ++i) {
      pair[384 + i] = static_cast<std::uint8_t>(2 * i + k);
      pair[480 + i] = static_cast<std::uint8_t>(200 - i);
    }
  }
  return f;
}

PackPtr OpenAt(const TempDir& dir, const Bytes& bytes, int level, int format) {
  const std::string path = dir.Write("IMAGES/IMG0001.PCD", bytes);
  ImagePack* pack = nullptr;
  EXPECT_EQ(PcdOpenImagePack(path.c_str(), pack), kPcdOk);
  EXPECT_EQ(PcdSetResolution(pack, level), kPcdOk);
  EXPECT_EQ(PcdSetFormat(pack, format), kPcdOk);
  return PackPtr(pack);
}

int Widened(int k, int x) {  // chroma 1 of pair k widened to column x
  const int i = x / 2;
  if (x & 1 && i < 95) return (2 * i + k + 2 * (i + 1) + k + 1) >> 1;
  return 2 * i + k;
}

TEST(BaseLevelTest, ChromaIsWidenedAlongRowsAndAveragedBetweenPairs) {
  TempDir dir;
  PackPtr pack = OpenAt(dir, Base16Pack(), pcd::kLevelBase16, 12);
  const Decoded d = DecodeRect(pack.get());
  ASSERT_EQ(d.status, kPcdOk);
  auto pixel = [&](int y, int x) { return d.Row(BufferRow(y, 0, 128)) + 3 * x; };
  // Even row 0: pair 0 as widened; its last two columns repeat the last sample.
  EXPECT_EQ(pixel(0, 10)[1], Widened(0, 10));
  EXPECT_EQ(pixel(0, 11)[1], Widened(0, 11));
  EXPECT_EQ(pixel(0, 191)[1], 2 * 95);
  EXPECT_EQ(pixel(0, 190)[2], 200 - 95);
  EXPECT_EQ(pixel(0, 7)[0], 7);
  // Odd row 1: luma row 1, chroma between pairs 0 and 1.
  EXPECT_EQ(pixel(1, 7)[0], 8);
  EXPECT_EQ(pixel(1, 10)[1], (Widened(0, 10) + Widened(1, 10) + 1) >> 1);
  EXPECT_EQ(pixel(1, 11)[1], (2 * 5 + 0 + 2 * 5 + 1 + 2 * 6 + 0 + 2 * 6 + 1 + 2) >> 2);
  EXPECT_EQ(pixel(1, 191)[1], pixel(1, 190)[1]);
  // The last odd row keeps the last pair's own chroma.
  EXPECT_EQ(pixel(127, 10)[1], Widened(63, 10));
}

TEST(BaseLevelTest, Base64TakesEverySecondLumaSampleAndStoredChroma) {
  TempDir dir;
  PackPtr pack = OpenAt(dir, Base16Pack(), pcd::kLevelBase64, 12);
  const Decoded d = DecodeRect(pack.get());
  ASSERT_EQ(d.status, kPcdOk);
  const std::uint8_t* row5 = d.Row(BufferRow(5, 0, 64));
  EXPECT_EQ(row5[3 * 7 + 0], 2 * 5 + 14);
  EXPECT_EQ(row5[3 * 7 + 1], 2 * 7 + 5);
  EXPECT_EQ(row5[3 * 7 + 2], 200 - 7);
}

TEST(BaseLevelTest, QuarterTurnPlacesStoredRowsAsColumns) {
  TempDir dir;
  PackPtr pack = OpenAt(dir, Base16Pack(1), pcd::kLevelBase16, 10);
  EXPECT_EQ(pack->outputWidth, 128);
  EXPECT_EQ(pack->outputHeight, 192);
  const Decoded d = DecodeRect(pack.get());
  ASSERT_EQ(d.status, kPcdOk);
  // Turned counter-clockwise: stored (r, x) is buffer row x, column r of the bottom-up bitmap.
  for (int r : {0, 1, 77, 127})
    for (int x : {0, 5, 191}) EXPECT_EQ(d.Row(x)[r], (r + x) & 0xFF) << r << "," << x;
  // A rectangle of the turned output holds the same pixels.
  const OutputRect rect{100, 3, 117, 40};
  const Decoded part = DecodeRect(pack.get(), &rect);
  ASSERT_EQ(part.status, kPcdOk);
  for (int y = rect.top; y < rect.bottom; ++y)
    for (int x = rect.left; x < rect.right; ++x)
      EXPECT_EQ(part.Row(BufferRow(y, rect.top, part.rows))[x - rect.left], d.Row(BufferRow(y, 0, 192))[x]);
}

TEST(BaseLevelTest, ToolkitColourConversionValues) {
  EXPECT_EQ(pcd::YccToRgb(0, 156, 137).r, 2);
  EXPECT_EQ(pcd::YccToRgb(0, 156, 137).g, 2);
  EXPECT_EQ(pcd::YccToRgb(0, 156, 137).b, 2);
  EXPECT_EQ(pcd::kColourTables.lumaR[188], 255);
  EXPECT_EQ(pcd::YccToRgb(188, 156, 137).g, 229);
  EXPECT_EQ(pcd::CurveValue(-40), 2);
  EXPECT_EQ(pcd::CurveValue(600), 255);
  EXPECT_EQ(pcd::kColourTables.chroma1G[0], -66);  // trunc(-67.12 + 0.5)
  EXPECT_EQ(pcd::kColourTables.chroma2R[0], -249);
}

TEST(BaseLevelTest, FormatsSetTheirBytesPerPixel) {
  TempDir dir;
  PackPtr pack = OpenAt(dir, Base16Pack(), pcd::kLevelBase16, 13);
  EXPECT_EQ(pack->bytesPerPixel, 1);
  EXPECT_EQ(PcdSetFormat(pack.get(), 11), kPcdOk);
  EXPECT_EQ(pack->bytesPerPixel, 3);
  EXPECT_EQ(PcdSetFormat(pack.get(), 9), kPcdInvalidArgument);
  EXPECT_EQ(PcdSetFormat(pack.get(), 14), kPcdInvalidArgument);
  EXPECT_EQ(PcdSetFormat(nullptr, 11), kPcdInvalidArgument);
  std::uint8_t buffer[16];
  EXPECT_EQ(PcdReadRect(pack.get(), nullptr, nullptr, 576), kPcdInvalidArgument);
  EXPECT_EQ(PcdReadRect(pack.get(), nullptr, buffer, 575), kPcdInvalidArgument);  // shorter than a row
}

// Error diffusion keeps the average colour of a flat area close to the input.
TEST(BaseLevelTest, IndexedOutputDiffusesTheErrorSerpentine) {
  TempDir dir;
  PackFields fields;
  fields.size = pcd::kBaseOffset;
  Bytes f = ImagePackBytes(fields);
  for (int k = 0; k < 64; ++k) {
    std::fill_n(f.begin() + pcd::kBase16Offset + 576 * k, 384, 100);
    std::fill_n(f.begin() + pcd::kBase16Offset + 576 * k + 384, 96, 156);
    std::fill_n(f.begin() + pcd::kBase16Offset + 576 * k + 480, 96, 137);
  }
  PackPtr pack = OpenAt(dir, f, pcd::kLevelBase16, 13);
  const Decoded d = DecodeRect(pack.get());
  ASSERT_EQ(d.status, kPcdOk);
  const int grey = pcd::YccToRgb(100, 156, 137).g;
  double sum = 0;
  for (std::uint8_t index : d.pixels) sum += pcd::PaletteEntry(index).g;
  EXPECT_NEAR(sum / d.pixels.size(), grey, 2.0);
  // The first pixel of the first row has no error to take yet.
  EXPECT_EQ(d.Row(127)[0], pcd::PaletteIndex(grey, grey, grey));
}

// A pack whose BASE is its BASE/4 enlarged (grey chroma), so that BASE
// sectors filled from BASE/4 decode exactly as the undamaged ones.
Bytes BaseFromBase4Pack() {
  PackFields fields;
  fields.size = pcd::kBaseOffset + pcd::RowPairBytes(768) * 256;
  Bytes f = ImagePackBytes(fields);
  std::vector<std::uint8_t> luma(384 * 256), big(768 * 512);
  for (int i = 0; i < 384 * 256; ++i) luma[i] = static_cast<std::uint8_t>(i % 384 * 3 + i / 384 * 5);
  PcdEnlarge2x(luma.data(), 384, 256, big.data());
  for (int level = 0; level < 2; ++level) {  // BASE/4, BASE: two luma rows, then chroma
    const int w = 384 << level;
    std::uint8_t* pairs = f.data() + (level ? pcd::kBaseOffset : pcd::kBase4Offset);
    for (int k = 0; k < w / 3; ++k) {
      std::copy_n((level ? big : luma).data() + 2 * k * w, 2 * w, pairs + 3 * w * k);
      std::fill_n(pairs + 3 * w * k + 2 * w, w / 2, 156);
      std::fill_n(pairs + 3 * w * k + 2 * w + w / 2, w / 2, 137);
    }
  }
  return f;
}

// Lost BASE sectors, however they are lost, are filled from BASE/4 and decode
// as before; a pack cut before BASE/16 has nothing to build on.
TEST(BaseLevelTest, LostBaseSectorsAreFilledFromTheLevelBelow) {
  TempDir dir;
  const Bytes whole = BaseFromBase4Pack();
  const Decoded clean = DecodeRect(OpenAt(dir, whole, pcd::kLevelBase, 11).get());
  ASSERT_EQ(clean.status, kPcdOk);
  constexpr std::size_t kLost = pcd::kBaseOffset + 100 * pcd::kSectorSize;
  struct Case {
    const char* name;
    std::size_t size;   // the file cut to this size
    bool zero, unread;  // sector 100 of BASE zeroed, or marked unreadable
    std::vector<std::string> texts;
    bool noTime = false;  // no time to read around the sector
  } cases[] = {
      {"zeroed", whole.size(), true, false, {"BASE: 1 sector read as zeros, filled from BASE/4"}},
      {"unreadable", whole.size(), false, true, {"BASE: 1 sector unreadable, filled from BASE/4"}},
      {"cut mid-sector", pcd::kBaseOffset + 1000, false, false,
       {"the file ends 1000 bytes into a sector: it was cut short",
        "BASE: 288 sectors past the end of the file, filled from BASE/4"}},
      {"cut on a sector", kLost, false, false, {"BASE: 188 sectors past the end of the file, filled from BASE/4"}},
      {"no time to read around", whole.size(), false, true,
       {"read errors took too long: the sectors after them were not tried",
        "BASE: 288 sectors unreadable, filled from BASE/4"}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes f(whole.begin(), whole.begin() + c.size);
    if (c.zero) std::fill_n(f.begin() + kLost, pcd::kSectorSize, 0);
    const std::string path = dir.Write("IMAGES/IMG0001.PCD", f);
    auto map = std::make_shared<PcdRescueMap>();
    map->unread = {{kLost, kLost + pcd::kSectorSize}};
    map->end = f.size();
    PcdUseRescueMap(path, c.unread ? map : nullptr);
    PcdSetReadErrorBudget(c.noTime ? std::chrono::milliseconds(0) : kPcdReadErrorBudget);
    PackPtr pack = OpenAt(dir, f, pcd::kLevelBase, 11);
    EXPECT_EQ(DecodeRect(pack.get()).pixels, clean.pixels);
    PcdDamageReport report;
    EXPECT_EQ(PcdGetDamage(pack.get(), report), kPcdOk);
    EXPECT_EQ(PcdDamageTexts(report), c.texts);
    PcdUseRescueMap(path, nullptr);
    PcdSetReadErrorBudget(kPcdReadErrorBudget);
  }
  PackFields fields;
  fields.size = pcd::kBase16Offset;
  PackPtr empty = OpenAt(dir, ImagePackBytes(fields), pcd::kLevelBase16, 11);
  EXPECT_EQ(DecodeRect(empty.get()).status, kPcdEndOfFile);
}

}  // namespace
