#include "pack_writer.h"

#include <gtest/gtest.h>

#include "image_attributes.h"
#include "pcd_layout.h"
#include "pcd_upsample.h"
#include "residual_reader.h"
#include "scenes.h"
#include "ycc.h"

namespace pcdmake {
namespace {

using pcdmake_test::BitReader;
using pcdmake_test::CodeTable;
using pcdmake_test::ParseHeader;

std::uint32_t Be16(const std::vector<std::uint8_t>& f, std::size_t at) { return f[at] << 8 | f[at + 1]; }

// Decodes luma rows sequentially and checks each one: exactly 23
// ones and a zero right after the previous row, the header, then the codes.
// Returns the bit positions of the syncs.
std::vector<std::size_t> CheckRows(const CodeTable& table, const Residuals& expected, BitReader& reader) {
  std::vector<std::size_t> starts;
  for (int row = 0; row < expected.height; ++row) {
    starts.push_back(reader.BitPosition());
    EXPECT_EQ(reader.Bits(24), 0xFFFFFEu) << "sync of row " << row;
    const auto h = ParseHeader(reader.Bits(16));
    EXPECT_EQ(h.plane, 0);
    EXPECT_EQ(h.row, row);
    for (int x = 0; x < expected.width; ++x) {
      std::int8_t v = 0;
      if (!reader.Decode(table, v) || v != expected.values[static_cast<std::size_t>(row) * expected.width + x]) {
        ADD_FAILURE() << "row " << row << " column " << x;
        return starts;
      }
    }
  }
  return starts;
}

class PackTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    RgbImage picture;
    ASSERT_TRUE(RenderScene("mosaic", 3072, 2048, 3, picture));
    source_ = new YccPlanes(ConvertToYcc(picture));
    levels_ = new PhotoLevels(BuildLevels(picture, 5));
    PackOptions o;
    o.rotation = 3;
    o.info.scannerVendor = "Quorvant";
    o.info.photofinisher = "";
    o.info.rightsStatus = 1;
    o.info.rightsName = "RIGHTS.TXT";
    o.info.scanTime = 0x31A1B2C3;
    file_ = new std::vector<std::uint8_t>(WriteImagePack(*levels_, o));
    o.imageSectors = 10;
    o.audioSectors = 4;
    interleaved_ = new std::vector<std::uint8_t>(WriteImagePack(*levels_, o));
  }
  static void TearDownTestSuite() {
    delete source_;
    delete levels_;
    delete file_;
    delete interleaved_;
  }
  static YccPlanes* source_;
  static PhotoLevels* levels_;
  static std::vector<std::uint8_t>* file_;
  static std::vector<std::uint8_t>* interleaved_;
};
YccPlanes* PackTest::source_;
PhotoLevels* PackTest::levels_;
std::vector<std::uint8_t>* PackTest::file_;
std::vector<std::uint8_t>* PackTest::interleaved_;

TEST_F(PackTest, HeaderAttributesAndBaseLevels) {
  const auto& f = *file_;
  EXPECT_EQ(std::string(f.begin() + 0x800, f.begin() + 0x807), "PCD_IPI");
  EXPECT_EQ(Be16(f, pcd::kIpiOffset + pcd::kIpiVersionOffset), 0x0100u);
  EXPECT_EQ(std::string(f.begin() + 0x800 + 42, f.begin() + 0x800 + 62), "Quorvant            ");
  EXPECT_EQ(f[0x800 + pcd::kIpiPhotofinisherOffset], 0xFF);
  EXPECT_EQ(f[0x800 + pcd::kIpiRightsStatusOffset], 1);
  EXPECT_EQ(Be16(f, 0x800 + pcd::kIpiScanTimeOffset), 0x31A1u);
  EXPECT_EQ(f[pcd::kAttributeOffset + pcd::kAttrRotationByte], 0x0B);  // rotation 3, class 2
  EXPECT_EQ(f[pcd::kAttributeOffset + pcd::kAttrInterleaveByte], 0x01);
  EXPECT_EQ(f.size() % pcd::kSectorSize, 0u);
  const auto pairs = RowPairs(levels_->base);
  EXPECT_TRUE(std::equal(pairs.begin(), pairs.end(), f.begin() + pcd::kBaseOffset));
  EXPECT_EQ(pcd::kBaseOffset + pairs.size(), std::size_t{pcd::k4BaseRowBaseSector} * pcd::kSectorSize);
  const auto small = RowPairs(levels_->base16);
  EXPECT_EQ(small.size(), 64u * 576);
  EXPECT_TRUE(std::equal(small.begin(), small.end(), f.begin() + pcd::kBase16Offset));
}

TEST_F(PackTest, FourBaseRowsTablesAndEndMarker) {
  const auto& f = *file_;
  CodeTable luma, c1, c2;
  const std::uint8_t* tables = &f[pcd::k4BaseCodeTableOffset];
  ASSERT_TRUE(luma.Parse(tables, 2048));
  ASSERT_TRUE(c1.Parse(tables + luma.StoredSize(), 2048 - luma.StoredSize()));
  ASSERT_TRUE(c2.Parse(tables + luma.StoredSize() + c1.StoredSize(), 1024));
  EXPECT_GT(luma.Codes().size(), 20u);  // built from the statistics

  BitReader reader(f, std::size_t{pcd::k4BaseFirstRowSector} * pcd::kSectorSize);
  const auto starts = CheckRows(luma, levels_->luma4, reader);
  EXPECT_EQ(reader.Bits(24), 0xFFFFFEu);
  EXPECT_EQ(ParseHeader(reader.Bits(16)).row, 1024);
  for (int k = 0; k < 256; ++k) {
    const std::size_t sector = starts[4 * k] / 8 / pcd::kSectorSize;
    ASSERT_EQ(Be16(f, pcd::k4BaseRowTableOffset + 2 * k) + pcd::k4BaseRowBaseSector, sector) << "entry " << k;
  }
  const std::size_t k16 = Be16(f, pcd::kAttributeOffset + pcd::kAttrKOffset);
  EXPECT_EQ(k16, reader.BitPosition() / 8 / pcd::kSectorSize + 1);  // first sector after the 4BASE data
}

TEST_F(PackTest, SixteenBaseLumaThenEndMarkerThenChroma) {
  const auto& f = *file_;
  const std::size_t t = Be16(f, pcd::kAttributeOffset + pcd::kAttrKOffset);
  const std::size_t n = Be16(f, pcd::kAttributeOffset + pcd::kAttrNOffset);
  EXPECT_EQ(n * pcd::kSectorSize, f.size());
  CodeTable luma, c1, c2;
  const std::size_t at = (t + pcd::k16BaseCodeTableSectorDelta) * pcd::kSectorSize;
  ASSERT_TRUE(luma.Parse(&f[at], 2048));
  ASSERT_TRUE(c1.Parse(&f[at + luma.StoredSize()], 2048 - luma.StoredSize()));
  ASSERT_TRUE(c2.Parse(&f[at + luma.StoredSize() + c1.StoredSize()], 2048 - luma.StoredSize() - c1.StoredSize()));

  BitReader reader(f, (t + pcd::k16BaseFirstRowSectorDelta) * pcd::kSectorSize);
  const auto starts = CheckRows(luma, levels_->luma16, reader);
  EXPECT_EQ(reader.Bits(24), 0xFFFFFEu);
  EXPECT_EQ(ParseHeader(reader.Bits(16)).row, 2048);
  for (int row = 0; row < 1024; ++row) {
    for (int plane : {2, 3}) {
      ASSERT_EQ(reader.Bits(24), 0xFFFFFEu);
      const auto h = ParseHeader(reader.Bits(16));
      ASSERT_EQ(h.plane, plane);
      ASSERT_EQ(h.row, 2 * row);
      const Residuals& r = plane == 2 ? levels_->c1of16 : levels_->c2of16;
      for (int x = 0; x < 1536; ++x) {
        std::int8_t v;
        ASSERT_TRUE(reader.Decode(plane == 2 ? c1 : c2, v));
        ASSERT_EQ(v, r.values[static_cast<std::size_t>(row) * 1536 + x]);
      }
    }
  }
  for (int k = 0; k < 2048; ++k)
    ASSERT_EQ(Be16(f, (t + pcd::k16BaseRowTableSectorDelta) * pcd::kSectorSize + 2 * k) + t,
              starts[k] / 8 / pcd::kSectorSize) << "entry " << k;
}

TEST_F(PackTest, DecoderArithmeticReproducesTheSource) {
  // BASE from the file, enlarged and corrected twice, as the decoder does it.
  const BaseLevel& base = levels_->base;
  std::vector<std::uint8_t> plane(base.luma.samples);
  int w = 768, h = 512;
  for (const Residuals* r : {&levels_->luma4, &levels_->luma16}) {
    std::vector<std::uint8_t> up(static_cast<std::size_t>(4) * w * h);
    PcdEnlarge2x(plane.data(), w, h, up.data());
    w *= 2;
    h *= 2;
    for (std::size_t i = 0; i < up.size(); ++i) up[i] = static_cast<std::uint8_t>(std::clamp(up[i] + r->values[i], 0, 255));
    plane.swap(up);
  }
  double sum = 0;
  std::size_t beyondStep = 0;
  for (std::size_t i = 0; i < plane.size(); ++i) {
    const int d = std::abs(plane[i] - source_->luma.samples[i]);
    beyondStep += d > 2;  // the coarsest residual step is 4
    sum += d;
  }
  // Only jumps larger than a residual can hold (127) are left uncorrected.
  EXPECT_LT(beyondStep, plane.size() / 10000);
  EXPECT_LT(sum / plane.size(), 0.1);

  // Chroma: BASE enlarged four times plus the 16BASE chroma residuals.
  for (int c = 0; c < 2; ++c) {
    const Plane& stored = c ? base.c2 : base.c1;
    const Residuals& r = c ? levels_->c2of16 : levels_->c1of16;
    std::vector<std::uint8_t> up(16 * stored.samples.size());
    PcdEnlarge4x(stored.samples.data(), 384, 256, up.data());
    const Plane expected = Reduce2x(c ? source_->c2 : source_->c1);
    double chromaSum = 0;
    for (std::size_t i = 0; i < up.size(); ++i)
      chromaSum += std::abs(std::clamp(up[i] + r.values[i], 0, 255) - expected.samples[i]);
    EXPECT_LT(chromaSum / up.size(), 0.1) << "chroma " << c + 1;
  }
}

TEST_F(PackTest, InterleaveCountsAudioSectorsInEverySectorNumber) {
  EXPECT_EQ(PcdDiscToImageSector(140, 10, 4), 100u);
  for (std::uint32_t s : {0u, 9u, 10u, 384u, 2999u}) EXPECT_EQ(PcdDiscToImageSector(PcdImageToDiscSector(s, 10, 4), 10, 4), s);
  EXPECT_EQ(PcdImageToDiscSector(384, 1, 0), 384u);

  const auto& plain = *file_;
  const auto& f = *interleaved_;
  EXPECT_EQ(f[pcd::kAttributeOffset + pcd::kAttrInterleaveByte], 0x4A);
  const std::uint32_t k = Be16(f, pcd::kAttributeOffset + pcd::kAttrKOffset);
  const std::uint32_t t = Be16(plain, pcd::kAttributeOffset + pcd::kAttrKOffset);
  EXPECT_EQ(PcdDiscToImageSector(k, 10, 4), t);
  EXPECT_EQ(PcdDiscToImageSector(Be16(f, pcd::kAttributeOffset + pcd::kAttrNOffset), 10, 4) * pcd::kSectorSize, f.size());
  // A row table entry plus the disc sector of 384, mapped back, is the sector of the row.
  for (int e : {0, 100, 255}) {
    const std::uint32_t entry = Be16(f, pcd::k4BaseRowTableOffset + 2 * e);
    const std::uint32_t plainEntry = Be16(plain, pcd::k4BaseRowTableOffset + 2 * e);
    EXPECT_EQ(PcdDiscToImageSector(PcdImageToDiscSector(384, 10, 4) + entry, 10, 4), 384 + plainEntry);
  }
  for (int e : {0, 1, 2047}) {
    const std::uint32_t entry = Be16(f, (t + pcd::k16BaseRowTableSectorDelta) * pcd::kSectorSize + 2 * e);
    const std::uint32_t plainEntry = Be16(plain, (t + pcd::k16BaseRowTableSectorDelta) * pcd::kSectorSize + 2 * e);
    EXPECT_EQ(PcdDiscToImageSector(k + entry, 10, 4), t + plainEntry);
  }
}

}  // namespace
}  // namespace pcdmake
