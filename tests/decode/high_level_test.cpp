// Levels above BASE on packs with known residuals: whole images against the
// same arithmetic on whole planes, bands and odd rectangles against whole
// decodes, row tables through the interleave, and damaged packs.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "damage_report.h"
#include "decode_test_util.h"
#include "pcd_layout.h"
#include "test_packs.h"

namespace {

struct PackFile {
  BuiltPack built;
  std::string path;
};

class HighLevelTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir;
    pack5_ = new PackFile{BuildPack(PackRecipe{}), ""};
    pack5_->path = dir_->Write("PHOTO_CD/IMAGES/IMG0001.PCD", pack5_->built.file);
    reference5_ = new Ycc(ReferenceImage(pack5_->built, 5));
    reference4_ = new Ycc(ReferenceImage(pack5_->built, 4));
  }
  static void TearDownTestSuite() {
    delete reference4_;
    delete reference5_;
    delete pack5_;
    delete dir_;
  }
  // The pack written again with other bytes changed (rotation, damage).
  static std::string Variant(const std::string& name, void (*change)(Bytes&, const BuiltPack&)) {
    Bytes copy = pack5_->built.file;
    change(copy, pack5_->built);
    return dir_->Write("PHOTO_CD/IMAGES/" + name, copy);
  }
  static std::string Rotated(int code) {
    Bytes copy = pack5_->built.file;
    copy[pcd::kAttributeOffset + pcd::kAttrRotationByte] = static_cast<std::uint8_t>((copy[pcd::kAttributeOffset + pcd::kAttrRotationByte] & ~3) | code);
    return dir_->Write("PHOTO_CD/IMAGES/ROT" + std::to_string(code) + ".PCD", copy);
  }

  static TempDir* dir_;
  static PackFile* pack5_;
  static Ycc* reference5_;
  static Ycc* reference4_;
};
TempDir* HighLevelTest::dir_ = nullptr;
PackFile* HighLevelTest::pack5_ = nullptr;
Ycc* HighLevelTest::reference5_ = nullptr;
Ycc* HighLevelTest::reference4_ = nullptr;

PackPtr Open(const std::string& path, int level, int format = 12) {
  ImagePack* pack = nullptr;
  EXPECT_EQ(PcdOpenImagePack(path.c_str(), pack), kPcdOk);
  if (!pack) return nullptr;
  EXPECT_EQ(PcdSetResolution(pack, level), kPcdOk);
  EXPECT_EQ(PcdSetFormat(pack, format), kPcdOk);
  return PackPtr(pack);
}

// Compares a RawYcc24 rectangle (orientation 0) with the reference planes.
::testing::AssertionResult MatchesReference(const Decoded& d, const Ycc& ref, const OutputRect& r) {
  for (int y = r.top; y < r.bottom; ++y) {
    const std::uint8_t* row = d.Row(BufferRow(y, r.top, d.rows));
    for (int x = r.left; x < r.right; ++x) {
      const std::size_t at = static_cast<std::size_t>(y) * ref.width + x;
      const std::uint8_t* p = row + 3 * (x - r.left);
      if (p[0] != ref.y[at] || p[1] != ref.c1[at] || p[2] != ref.c2[at])
        return ::testing::AssertionFailure() << "sample (" << y << ", " << x << ") is " << int(p[0]) << "/" << int(p[1])
                                             << "/" << int(p[2]) << ", expected " << int(ref.y[at]) << "/"
                                             << int(ref.c1[at]) << "/" << int(ref.c2[at]);
    }
  }
  return ::testing::AssertionSuccess();
}

TEST_F(HighLevelTest, WholeImagesEqualTheEnlargementAndResidualArithmetic) {
  for (int level : {4, 5}) {
    PackPtr pack = Open(pack5_->path, level);
    const Decoded d = DecodeRect(pack.get());
    ASSERT_EQ(d.status, kPcdOk);
    const Ycc& ref = level == 4 ? *reference4_ : *reference5_;
    EXPECT_TRUE(MatchesReference(d, ref, {0, 0, static_cast<std::int16_t>(ref.height), static_cast<std::int16_t>(ref.width)}));
  }
}

TEST_F(HighLevelTest, OddRectanglesInsideCellsEqualTheSamePartOfTheImage) {
  PackPtr pack = Open(pack5_->path, 5);
  const OutputRect rects[] = {{1001, 333, 1038, 1555}, {0, 3000, 7, 3072}, {2041, 0, 2048, 5}, {513, 1, 514, 2}};
  for (const OutputRect& r : rects) {
    const Decoded d = DecodeRect(pack.get(), &r);
    ASSERT_EQ(d.status, kPcdOk);
    EXPECT_TRUE(MatchesReference(d, *reference5_, r)) << r.top << "," << r.left;
  }
  PackPtr pack4 = Open(pack5_->path, 4);
  const OutputRect r4{777, 3, 790, 1535};
  const Decoded d4 = DecodeRect(pack4.get(), &r4);
  ASSERT_EQ(d4.status, kPcdOk);
  EXPECT_TRUE(MatchesReference(d4, *reference4_, r4));
}

// Bands as the image reader asks for them (16 output rows, or 16 output
// columns of a quarter-turned photo, which are 16 stored rows) must give the
// pixels of one whole decode, in every rotation.
TEST_F(HighLevelTest, SixteenRowBandsEqualTheWholeDecodeInEveryRotation) {
  for (int code = 0; code < 4; ++code) {
    for (int level : {4, 5}) {
      PackPtr pack = Open(Rotated(code), level, 11);
      const Decoded whole = DecodeRect(pack.get());
      ASSERT_EQ(whole.status, kPcdOk);
      const int height = pack->outputHeight, width = pack->outputWidth;
      const bool strips = code & 1;
      EXPECT_EQ(width, strips ? pcd::LevelHeight(level) : pcd::LevelWidth(level));
      for (int start = 0; start < (strips ? width : height); start += 16) {
        const auto s = static_cast<std::int16_t>(start), e = static_cast<std::int16_t>(start + 16);
        const OutputRect band = strips ? OutputRect{0, s, static_cast<std::int16_t>(height), e}
                                       : OutputRect{s, 0, e, static_cast<std::int16_t>(width)};
        const Decoded d = DecodeRect(pack.get(), &band);
        ASSERT_EQ(d.status, kPcdOk);
        for (int y = band.top; y < band.bottom; ++y)
          ASSERT_EQ(std::memcmp(d.Row(BufferRow(y, band.top, d.rows)),
                                whole.Row(BufferRow(y, 0, height)) + 3 * band.left, 3 * d.columns), 0)
              << "rotation " << code << " level " << level << " row " << y << " band " << start;
      }
    }
  }
}

// Layouts other than the usual one decode exactly: an interleaved disc with
// chroma rows among the luma rows, and zero fill bits before some syncs.
TEST_F(HighLevelTest, LooserLayoutsDecodeExactly) {
  PackRecipe interleaved;
  interleaved.imageSectors = 10;
  interleaved.audioSectors = 4;
  interleaved.chromaAfterLuma = false;
  interleaved.seed = 9;
  PackRecipe filled;
  filled.topLevel = 4;
  filled.fillEvery = 4;
  int n = 0;
  for (const PackRecipe& recipe : {interleaved, filled}) {
    const BuiltPack built = BuildPack(recipe);
    const std::string path = dir_->Write("PHOTO_CD/IMAGES/LOOSE" + std::to_string(++n) + ".PCD", built.file);
    PackPtr pack = Open(path, recipe.topLevel);
    const Decoded d = DecodeRect(pack.get());
    ASSERT_EQ(d.status, kPcdOk) << n;
    const Ycc reference = ReferenceImage(built, recipe.topLevel);
    EXPECT_TRUE(MatchesReference(d, reference, {0, 0, static_cast<std::int16_t>(reference.height),
                                                static_cast<std::int16_t>(reference.width)})) << n;
    PcdDamageReport report;
    ASSERT_EQ(PcdGetDamage(pack.get(), report), kPcdOk);
    EXPECT_FALSE(report.Any()) << n;
  }
}

// Entries before 252 name the row table's own sector, entries after it lie
// past the end of the pack: only entry 252 finds rows 1008 to 1011.
TEST_F(HighLevelTest, BandAtRows1008To1023Of4BaseUsesRowTableEntry252) {
  const std::string path = Variant("ENTRY252.PCD", [](Bytes& f, const BuiltPack&) {
    for (std::uint32_t k = 0; k < pcd::k4BaseRowTableEntries; ++k)
      if (k != 252) f[pcd::k4BaseRowTableOffset + 2 * k] = f[pcd::k4BaseRowTableOffset + 2 * k + 1] = k < 252 ? 0 : 0xFF;
  });
  PackPtr pack = Open(path, 4);
  const OutputRect band{1008, 0, 1024, 1536};
  const Decoded d = DecodeRect(pack.get(), &band);
  ASSERT_EQ(d.status, kPcdOk);
  EXPECT_TRUE(MatchesReference(d, *reference4_, band));
  PcdDamageReport report;
  ASSERT_EQ(PcdGetDamage(pack.get(), report), kPcdOk);
  EXPECT_FALSE(report.Any());
}

TEST_F(HighLevelTest, LevelsThePackDoesNotOfferAreRefused) {
  PackPtr pack = Open(pack5_->path, 6);
  EXPECT_EQ(DecodeRect(pack.get()).status, kPcdInvalidArgument);  // class 2, no extension
  const std::string class1 = Variant("CLASS1.PCD", [](Bytes& f, const BuiltPack&) {
    f[pcd::kAttributeOffset + pcd::kAttrRotationByte] = 0x04;
  });
  PackPtr four = Open(class1, 5);
  EXPECT_EQ(DecodeRect(four.get()).status, kPcdInvalidArgument);
  const OutputRect outside{0, 0, 17, 3073};
  PackPtr five = Open(pack5_->path, 5);
  EXPECT_EQ(DecodeRect(five.get(), &outside).status, kPcdInvalidArgument);
}

// Damage is gone around and reported; what it spares decodes as before.
TEST_F(HighLevelTest, DamagedPacksDecodeAroundTheDamage) {
  struct Damage {
    const char* name;
    void (*change)(Bytes&, const BuiltPack&);
    int level;
    const char* report;  // the first line of the damage report
    int rowsIntact;      // top rows that still match the reference exactly
  };
  const Damage damages[] = {
      {"CUT.PCD", [](Bytes& f, const BuiltPack& b) { f.resize(std::size_t{b.sector16 + 400} * pcd::kSectorSize); }, 5,
       "16BASE: ", 0},  // the chroma rows, stored last, are gone
      {"NOSYNC.PCD", [](Bytes& f, const BuiltPack& b) {
         std::fill(f.begin() + std::size_t{b.rows4Sector} * pcd::kSectorSize, f.end(), 0);
       }, 4, "4BASE: 1024 rows left out, first row 0: no sync", 0},
      {"PASTEND.PCD", [](Bytes& f, const BuiltPack&) {
         std::fill(f.begin() + pcd::k4BaseRowTableOffset, f.begin() + pcd::k4BaseRowTableOffset + 512, 0xFF);
       }, 4, "4BASE row table unreadable", 1024},
      {"LONGCODE.PCD", [](Bytes& f, const BuiltPack&) { f[pcd::k4BaseCodeTableOffset + 1] = 16; }, 4,
       "4BASE code table unreadable", 0},
      {"OVERLAP.PCD", [](Bytes& f, const BuiltPack&) { f[pcd::k4BaseCodeTableOffset + 6] = 0x00; }, 4,
       "4BASE code table unreadable", 0},
      {"EMPTY.PCD", [](Bytes& f, const BuiltPack&) { f[pcd::k4BaseCodeTableOffset + 1] = 255; }, 4,
       "4BASE code table unreadable", 0},
  };
  for (const Damage& damage : damages) {
    PackPtr pack = Open(Variant(damage.name, damage.change), damage.level);
    ASSERT_TRUE(pack) << damage.name;
    const Decoded d = DecodeRect(pack.get());
    ASSERT_EQ(d.status, kPcdOk) << damage.name;
    PcdDamageReport report;
    ASSERT_EQ(PcdGetDamage(pack.get(), report), kPcdOk);
    const std::vector<std::string> lines = PcdDamageTexts(report);
    ASSERT_FALSE(lines.empty()) << damage.name;
    EXPECT_EQ(lines[0].rfind(damage.report, 0), 0u) << damage.name << ": " << lines[0];
    const Ycc& reference = damage.level == 5 ? *reference5_ : *reference4_;
    const OutputRect intact{0, 0, static_cast<std::int16_t>(damage.rowsIntact), static_cast<std::int16_t>(reference.width)};
    EXPECT_TRUE(MatchesReference(d, reference, intact)) << damage.name;
  }
}

// Real discs point odd 16BASE row table entries at the chroma rows: luma
// rows are found through the even entry of their pair.
TEST_F(HighLevelTest, OddLumaRowsAreFoundThroughTheEvenEntry) {
  const std::string path = Variant("ODDCHROMA.PCD", [](Bytes& f, const BuiltPack& b) {
    const std::size_t table = std::size_t{b.sector16 + pcd::k16BaseRowTableSectorDelta} * pcd::kSectorSize;
    for (std::size_t row = 1; row < 2047; row += 2) {
      f[table + 2 * row] = f[table + 2 * 2047];
      f[table + 2 * row + 1] = f[table + 2 * 2047 + 1];
    }
  });
  PackPtr pack = Open(path, 5);
  for (const OutputRect& r : {OutputRect{1001, 333, 1038, 1555}, OutputRect{7, 0, 9, 3072}}) {
    const Decoded d = DecodeRect(pack.get(), &r);
    ASSERT_EQ(d.status, kPcdOk) << r.top;
    EXPECT_TRUE(MatchesReference(d, *reference5_, r)) << r.top;
  }
}

// Ten one bits inside a 4BASE row start no code wherever the codes fall:
// that row keeps the codes before them and, counted back from its end, the
// codes after them; all others decode.
TEST_F(HighLevelTest, ARowWhoseBitsStopMakingCodesKeepsTheCodesOnBothSides) {
  const std::string path = Variant("DAMAGED.PCD", [](Bytes& f, const BuiltPack&) {
    const std::size_t entry = pcd::k4BaseRowTableOffset + 2 * 25;  // row 100
    const std::size_t sector = pcd::k4BaseRowBaseSector + (f[entry] << 8 | f[entry + 1]);
    f[sector * pcd::kSectorSize + 1000] = 0xFF;
    f[sector * pcd::kSectorSize + 1001] = 0xC0;
  });
  PackPtr pack = Open(path, 4);
  const Decoded d = DecodeRect(pack.get());
  ASSERT_EQ(d.status, kPcdOk);
  int damagedRows = 0;
  for (int y = 0; y < 1024; ++y) {
    const OutputRect row{static_cast<std::int16_t>(y), 0, static_cast<std::int16_t>(y + 1), 1536};
    Decoded one = d;
    one.rows = 1;
    one.pixels.assign(d.Row(BufferRow(y, 0, 1024)), d.Row(BufferRow(y, 0, 1024)) + 3 * 1536);
    if (MatchesReference(one, *reference4_, row)) continue;
    ++damagedRows;
    // Up to the damage the row is right, and again after it; the 16 damaged
    // bits themselves may still have made up to 16 wrong codes.
    int right = 0, rightAgain = 1536;
    while (one.pixels[3 * right] == reference4_->y[y * 1536 + right]) ++right;
    while (rightAgain > 0 && one.pixels[3 * (rightAgain - 1)] == reference4_->y[y * 1536 + rightAgain - 1]) --rightAgain;
    EXPECT_GE(right, 100) << "row " << y;  // the row's sync lies well before the damage
    EXPECT_LE(rightAgain - right, 16) << "row " << y;
  }
  EXPECT_EQ(damagedRows, 1);
  PackPtr pack5 = Open(path, 5);
  const OutputRect top{0, 0, 512, 3072};
  EXPECT_EQ(DecodeRect(pack5.get(), &top).status, kPcdOk);
}

}  // namespace

// Damage among the 16BASE rows, which the second thread decodes, comes out
// as it does on one thread: the same rows keep their enlarged picture.
TEST_F(HighLevelTest, TwoThreadsDecodeDamagedRowsAsOneDoes) {
  const std::string path = Variant("DAMAGED16.PCD", [](Bytes& f, const BuiltPack& built) {
    for (std::uint32_t sector : {60u, 300u, 301u}) {
      const std::size_t at = (built.sector16 + pcd::k16BaseFirstRowSectorDelta + sector) * pcd::kSectorSize + 700;
      f[at] = 0xFF;
      f[at + 1] = 0xC0;
    }
  });
  const auto inBands = [](const std::string& file, int threads) {
    std::vector<std::uint8_t> all;
    PackPtr pack = Open(file, 5, 11);
    EXPECT_EQ(PcdSetDecodeThreads(pack.get(), threads), kPcdOk);
    for (int top = 0; top < 2048; top += 16) {
      const OutputRect band{static_cast<std::int16_t>(top), 0, static_cast<std::int16_t>(top + 16), 3072};
      const Decoded d = DecodeRect(pack.get(), &band);
      EXPECT_EQ(d.status, kPcdOk) << "row " << top;
      all.insert(all.end(), d.pixels.begin(), d.pixels.end());
    }
    return all;
  };
  const std::vector<std::uint8_t> one = inBands(path, 1);
  EXPECT_FALSE(one == inBands(pack5_->path, 1)) << "the damage shows";
  EXPECT_TRUE(one == inBands(path, 2));
}
