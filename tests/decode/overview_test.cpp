// The overview pack: header, photo selection, thumbnails and their bitmaps.
#include <gtest/gtest.h>

#include <cstring>

#include "overview_pack.h"
#include "pcd_test_files.h"
#include "test_packs.h"

namespace {

std::uint32_t Le32(const std::uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24; }

class OverviewTest : public ::testing::Test {
 protected:
  OverviewPack* Open(const Bytes& bytes) {
    const std::string path = dir_.Write("OVERVIEW.PCD", bytes);
    OverviewPack* o = nullptr;
    EXPECT_EQ(PcdOpenOverview(path.c_str(), o), kPcdOk);
    return o;
  }
  TempDir dir_;
};

TEST_F(OverviewTest, EmptyAndOldPacksOpenWithoutPhotos) {
  OverviewPack* empty = Open(OverviewBytes(0, {}));
  EXPECT_EQ(PcdSelectPhoto(empty, 1), kPcdInvalidArgument);
  PcdCloseOverview(empty);
  OverviewPack* old = Open(OverviewBytes(3, {0, 0, 0}, 0, 4));
  std::uint16_t count = 9;
  EXPECT_EQ(PcdGetPhotoCount(old, count), kPcdOk);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(PcdSelectPhoto(old, 1), kPcdInvalidArgument);
  PcdCloseOverview(old);
  Bytes bad = OverviewBytes(1, {0});
  bad[0] = 'X';
  OverviewPack* o = nullptr;
  EXPECT_EQ(PcdOpenOverview(dir_.Write("BAD.PCD", bad).c_str(), o), kPcdBadSignature);
  EXPECT_EQ(PcdOpenOverview(dir_.Join("MISSING.PCD").c_str(), o), kPcdOpenFailed);
}

TEST_F(OverviewTest, ThumbnailsComeFromTheirPhotosSectors) {
  Bytes f = OverviewBytes(3, {0, 0, 0});
  // Photo 3 starts at 0x14800: make its first luma sample unique.
  ASSERT_EQ(pcd::kOverviewThumbOffset + 2 * pcd::kOverviewThumbStride, 0x14800u);
  f[0x14800] = 77;
  f[0x14801] = 78;
  OverviewPack* o = Open(f);
  ASSERT_EQ(PcdSelectPhoto(o, 3), kPcdOk);
  ASSERT_EQ(PcdSetFormat(o, 10), kPcdOk);
  std::uint8_t pixels[192 * 128];
  ASSERT_EQ(PcdReadThumbnail(o, pixels, 192), kPcdOk);
  EXPECT_EQ(pixels[127 * 192], 77);  // bottom-up: the first stored row is the last buffer row
  EXPECT_EQ(pixels[127 * 192 + 1], 78);
  ASSERT_EQ(PcdSetThumbnailLevel(o, 0), kPcdOk);
  ASSERT_EQ(PcdReadThumbnail(o, pixels, 96), kPcdOk);
  EXPECT_EQ(pixels[63 * 96], 77);
  EXPECT_EQ(PcdSetThumbnailLevel(o, 2), kPcdInvalidArgument);
  char name[16];
  ASSERT_EQ(PcdGetImageFileName(o, name), kPcdOk);
  EXPECT_STREQ(name, "img0003.pcd");
  PcdCloseOverview(o);
}

TEST_F(OverviewTest, TurnedPhotoGivesATurnedLumaBitmapWithGreyRamp) {
  OverviewPack* o = Open(OverviewBytes(2, {0, 1}));
  ASSERT_EQ(PcdSelectPhoto(o, 2), kPcdOk);
  Orientation orientation = 0;
  PcdGetPhotoOrientation(o, orientation);
  EXPECT_EQ(orientation, 4);
  PcdSetThumbnailLevel(o, 0);
  PcdSetFormat(o, 10);
  PcdBlock block = nullptr;
  ASSERT_EQ(PcdMakeThumbnailBitmap(o, block), kPcdOk);
  const auto* b = static_cast<const std::uint8_t*>(PcdLockBlock(block));
  EXPECT_EQ(Le32(b), 40u);
  EXPECT_EQ(Le32(b + 4), 64u);
  EXPECT_EQ(Le32(b + 8), 96u);
  EXPECT_EQ(b[14], 8);
  EXPECT_EQ(Le32(b + 20), 64u * 96u);
  EXPECT_EQ(Le32(b + 32), 0u);
  const std::uint8_t* table = b + 40;
  EXPECT_EQ(table[4 * 180], 253);
  for (int i = 181; i < 256; ++i) EXPECT_EQ(table[4 * i + 1], 255);
  PcdUnlockBlock(block);
  PcdFreeBlock(block);
  PcdCloseOverview(o);
}

TEST_F(OverviewTest, RgbBitmapCarriesPaletteAndPixels) {
  OverviewPack* o = Open(OverviewBytes(1, {0}));
  PcdBlock block = nullptr;
  ASSERT_EQ(PcdMakeThumbnailBitmap(o, block), kPcdOk);
  const auto* b = static_cast<const std::uint8_t*>(PcdLockBlock(block));
  EXPECT_EQ(Le32(b + 4), 192u);
  EXPECT_EQ(b[14], 24);
  EXPECT_EQ(Le32(b + 20), 73728u);
  EXPECT_EQ(Le32(b + 32), 256u);
  EXPECT_EQ(b[40 + 4 * 0xFF + 2], 252);  // entry 255: red 7 * 36
  // The pixels are those PcdReadThumbnail writes.
  std::vector<std::uint8_t> pixels(73728);
  ASSERT_EQ(PcdReadThumbnail(o, pixels.data(), 576), kPcdOk);
  EXPECT_EQ(std::memcmp(b + 40 + 1024, pixels.data(), pixels.size()), 0);
  PcdUnlockBlock(block);
  PcdFreeBlock(block);
  // RawYcc24 has no colour table; a wrong byte count is refused.
  PcdSetFormat(o, 12);
  ASSERT_EQ(PcdMakeThumbnailBitmap(o, block), kPcdOk);
  PcdFreeBlock(block);
  o->bytesPerPixel = 4;
  EXPECT_EQ(PcdMakeThumbnailBitmap(o, block), kPcdInvalidArgument);
  EXPECT_EQ(block, nullptr);
  PcdCloseOverview(o);
}

TEST_F(OverviewTest, ShortThumbnailFails) {
  Bytes f = OverviewBytes(2, {0, 0});
  f.resize(f.size() - 1000);
  OverviewPack* o = Open(f);
  PcdSelectPhoto(o, 2);
  PcdBlock block = nullptr;
  EXPECT_EQ(PcdMakeThumbnailBitmap(o, block), kPcdEndOfFile);
  EXPECT_EQ(block, nullptr);
  PcdCloseOverview(o);
}

// A pack's BASE/16 is what the overview holds for it: a thumbnail the
// overview cannot deliver comes out of the pack exactly as it would have.
TEST_F(OverviewTest, AThumbnailTheOverviewLostComesFromTheImagePack) {
  Bytes whole = OverviewBytes(2, {0, 1});  // photo 2 turned a quarter
  const auto thumbnail2 = whole.begin() + pcd::kOverviewThumbOffset + pcd::kOverviewThumbStride;
  PackFields fields;
  fields.attributeByte = 1;
  fields.size = pcd::kBase16Offset;
  Bytes pack = ImagePackBytes(fields);
  pack.insert(pack.end(), thumbnail2, thumbnail2 + pcd::kOverviewThumbStride);
  const std::string packPath = dir_.Write("IMAGES/IMG0002.PCD", pack);
  OverviewPack* intact = Open(whole);
  whole.resize(pcd::kOverviewThumbOffset + pcd::kOverviewThumbStride + 5000);  // cut inside photo 2
  OverviewPack* cut = nullptr;
  ASSERT_EQ(PcdOpenOverview(dir_.Write("CUT.PCD", whole).c_str(), cut), kPcdOk);
  ASSERT_EQ(PcdSelectPhoto(intact, 2), kPcdOk);
  ASSERT_EQ(PcdSelectPhoto(cut, 2), kPcdOk);
  for (int level : {0, 1}) {
    for (int format = 10; format <= 13; ++format) {
      for (OverviewPack* o : {intact, cut}) {
        ASSERT_EQ(PcdSetThumbnailLevel(o, level), kPcdOk);
        ASSERT_EQ(PcdSetFormat(o, format), kPcdOk);
      }
      PcdBlock expected = nullptr, lost = nullptr, fromPack = nullptr, packAlone = nullptr;
      ASSERT_EQ(PcdMakeThumbnailBitmap(intact, expected), kPcdOk);
      EXPECT_NE(PcdMakeThumbnailBitmap(cut, lost), kPcdOk);
      ASSERT_EQ(PcdMakePackThumbnailBitmap(cut, packPath.c_str(), fromPack), kPcdOk);
      // Without an overview (loose packs) the pack's own rotation turns it alike.
      ASSERT_EQ(PcdMakeImagePackThumbnail(packPath.c_str(), level, static_cast<OutputFormat>(format), packAlone), kPcdOk);
      const auto* a = static_cast<const std::uint8_t*>(PcdLockBlock(expected));
      const std::size_t size = 40 + (format == 12 ? 0 : 1024) + Le32(a + 20);
      for (PcdBlock made : {fromPack, packAlone}) {
        EXPECT_EQ(std::memcmp(a, PcdLockBlock(made), size), 0) << "level " << level << " format " << format;
        PcdFreeBlock(made);
      }
      PcdFreeBlock(expected);
    }
  }
  PcdBlock none = nullptr;
  EXPECT_EQ(PcdMakePackThumbnailBitmap(cut, dir_.Join("IMAGES/IMG0003.PCD").c_str(), none), kPcdOpenFailed);
  EXPECT_EQ(none, nullptr);
  PcdCloseOverview(intact);
  PcdCloseOverview(cut);
}

}  // namespace
