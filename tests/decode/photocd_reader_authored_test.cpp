// The image reader on packs pcdmake authors: every level in every rotation
// against the authored source, the toolkit levels against whole-image
// decodes of the toolkit, the level a target size picks, and 64BASE from an
// image pack extension.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>

#include "imagefile/requested_level.h"
#include "imagefile/image_reader.h"
#include "pcd_layout.h"
#include "pcd_test_files.h"

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

// Code tables with codes of 13 to 16 bits carry the same residuals: every
// level decodes to the same pixels as with short codes.
TEST(PhotoCdReaderAuthored, LongCodesDecodeLikeShortOnes) {
  const AuthoredPhoto& shortCodes = Authored("chart", 0, 6);
  const AuthoredPhoto& longCodes = Authored("chart", 0, 6, true);
  std::ifstream file(longCodes.pack, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  ASSERT_GT(bytes.size(), pcd::k4BaseCodeTableOffset + 1024);
  const auto* table = reinterpret_cast<const std::uint8_t*>(bytes.data()) + pcd::k4BaseCodeTableOffset;
  int longest = 0;
  for (int e = 0; e <= table[0]; ++e) longest = std::max(longest, table[1 + 4 * e] + 1);
  EXPECT_EQ(longest, 16);
  EXPECT_EQ(DecodeWithReader(longCodes.pack, 5).bgr, DecodeWithReader(shortCodes.pack, 5).bgr);
  for (int first : {0, 2040, 4080})
    EXPECT_TRUE(SameRows(ToolkitRows(longCodes.pack, 6, first, 16), ToolkitRows(shortCodes.pack, 6, first, 16), 0)) << first;
}

// A copy of an authored photo's disc, to damage or take away.
std::string CopiedDisc(const AuthoredPhoto& photo, const TempDir& dir) {
  const auto disc = std::filesystem::path(photo.pack).parent_path().parent_path().parent_path();
  std::filesystem::copy(disc, dir.path(), std::filesystem::copy_options::recursive);
  return dir.Join("PHOTO_CD/IMAGES/IMG0001.PCD");
}

void Overwrite(const std::string& path, std::size_t offset, const std::string& bytes) {
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(static_cast<std::streamoff>(offset));
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST(PhotoCdReaderAuthored, AnExtensionThatCannotBeReadGivesWayTo16Base) {
  const AuthoredPhoto& photo = Authored("chart", 0, 6);
  const std::string ic = "PHOTO_CD/IPE/IMG0001/64BASE/INFO.IC";
  TempDir missing, old, foreign;
  const std::string noFile = CopiedDisc(photo, missing);
  std::filesystem::remove(missing.Join("PHOTO_CD/IPE/IMG0001/64BASE/Y0002.ICR"));
  const std::string oldVersion = CopiedDisc(photo, old);
  Overwrite(old.Join(ic), 40, std::string("\x03\x10", 2));  // version 784 with the signature
  for (const std::string& pack : {noFile, oldVersion}) {
    const Picture picture = DecodeWithReader(pack, 6);
    EXPECT_EQ(picture.width, 3072) << pack;
    EXPECT_EQ(picture.bgr, DecodeWithReader(photo.pack, 5).bgr) << pack;
  }
  // Another signature alone is no reason to refuse the file.
  const std::string otherSignature = CopiedDisc(photo, foreign);
  Overwrite(foreign.Join(ic), 0, "LUMIVEXA_IC");
  EXPECT_TRUE(SameRows(ToolkitRows(otherSignature, 6, 2000, 16), ToolkitRows(photo.pack, 6, 2000, 16), 0));
}

// The reader opens the pack and its extension once: a decode after the disc
// has gone still reads the levels identification found.
TEST(PhotoCdReaderAuthored, ADecodeReadsThePackIdentificationOpened) {
  TempDir dir;
  const std::string pack = CopiedDisc(Authored("chart", 0, 6), dir);
  const int saved = g_requestedPcdLevel;
  g_requestedPcdLevel = 6;
  imagefile::ImageReader reader;
  reader.open(pack);
  EXPECT_EQ(reader.width(), 6144);
  std::filesystem::remove_all(dir.Join("PHOTO_CD"));
  const Picture picture = DecodeOpened(reader, 1536, 1024);
  g_requestedPcdLevel = saved;
  EXPECT_EQ(picture.width, 1536);
  EXPECT_EQ(picture.bgr, DecodeWithReader(Authored("chart", 0, 6).pack, 4).bgr);
}

}  // namespace
