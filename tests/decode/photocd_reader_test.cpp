// The Photo CD format module of the image reader on small built files: its
// own colour conversion, the level choices, the header check, base levels
// read from the file alone in every rotation, and damaged files.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "authored_photos.h"
#include "decode_test_util.h"
#include "imagefile/image_reader.h"
#include "imagefile/photocd_colour.h"
#include "imagefile/photocd_decoder.h"
#include "imagefile/photocd_levels.h"
#include "pcd_layout.h"
#include "photocd/colour_tables.h"
#include "test_packs.h"

using namespace imagefile;

namespace {

void Convert(std::uint8_t y, std::uint8_t c1, std::uint8_t c2, std::uint8_t bgr[3]) {
  const PcdReaderColour colour;
  const std::uint8_t luma[2] = {y, y};
  std::uint8_t out[6];
  colour.convertRow(luma, &c1, &c2, 2, out, false);
  std::memcpy(bgr, out, 3);
}

TEST(PhotoCdReaderColour, SumsClampWhateverTheirSize) {
  std::uint8_t bgr[3];
  Convert(255, 255, 137, bgr);  // B sums to 564, G to 345 - 42
  EXPECT_EQ(bgr[0], 255);
  EXPECT_EQ(bgr[1], 255);
  EXPECT_EQ(bgr[2], 255);
  Convert(0, 0, 0, bgr);  // B and R below zero, G 0 + 67 + 127
  EXPECT_EQ(bgr[0], 0);
  EXPECT_EQ(bgr[1], 194);
  EXPECT_EQ(bgr[2], 0);
}

TEST(PhotoCdReaderColour, ReversedRowsEndWhereForwardRowsBegin) {
  const PcdReaderColour colour;
  const std::uint8_t y[4] = {10, 90, 170, 250}, c1[2] = {100, 200}, c2[2] = {60, 220};
  std::uint8_t forward[12], reversed[12];
  colour.convertRow(y, c1, c2, 4, forward, false);
  colour.convertRow(y, c1, c2, 4, reversed, true);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(std::memcmp(forward + 3 * x, reversed + 3 * (3 - x), 3), 0) << x;
}

// With roll-off a base row has the toolkit's tone: light above white (luma
// 200, neutral chroma) comes out below 255 instead of clipped.
TEST(PhotoCdReaderColour, RolledOffRowsHaveTheToolkitsTone) {
  PcdReaderColour colour;
  colour.setRollOff(true);
  const std::uint8_t y[2] = {10, 200}, c1 = 156, c2 = 137;
  std::uint8_t out[6], clipped[3];
  colour.convertRow(y, &c1, &c2, 2, out, false);
  const pcd::Rgb dark = pcd::YccToRgb(10, c1, c2), light = pcd::YccToRgb(200, c1, c2);
  EXPECT_EQ((std::vector<int>{dark.b, dark.g, dark.r, light.b, light.g, light.r}),
            (std::vector<int>(out, out + 6)));
  Convert(200, c1, c2, clipped);
  EXPECT_EQ(clipped[0], 255);
  EXPECT_LT(out[3], 250);
}

TEST(PhotoCdReaderLevels, TopEntryIsCappedByTheRequestedLevel) {
  EXPECT_EQ(PcdTopEntry(0x1F, 6), 3);  // up to 4BASE
  EXPECT_EQ(PcdTopEntry(0x3F, 6), 4);
  EXPECT_EQ(PcdTopEntry(0x7F, 6), 5);  // 64BASE through the extension
  EXPECT_EQ(PcdTopEntry(0x7F, 5), 4);
  EXPECT_EQ(PcdTopEntry(0x3F, 3), 2);
  EXPECT_EQ(PcdTopEntry(0x3F, 1), 0);
  EXPECT_EQ(PcdTopEntry(0x3F, 0), 0);
}

TEST(PhotoCdReaderLevels, DecodeEntryIsTheFirstThatCoversTheOutput) {
  EXPECT_EQ(PcdDecodeEntry(3, false, 800, 600), 3);  // 768 < 800 and 512 < 600 rule out BASE
  EXPECT_EQ(PcdDecodeEntry(3, false, 700, 400), 2);
  EXPECT_EQ(PcdDecodeEntry(4, true, 512, 768), 2);   // quarter turns compare exchanged sizes
  EXPECT_EQ(PcdDecodeEntry(4, true, 768, 512), 3);
  EXPECT_EQ(PcdDecodeEntry(2, false, 3000, 2000), 2);  // else the last usable entry
  EXPECT_EQ(PcdDecodeEntry(5, false, 1, 1), 0);
}

// A file with "PCD_IPI", a rotation code and random base levels, and the
// reader's arithmetic on it computed directly.
struct BasePack {
  Bytes file;
  explicit BasePack(int rotation, std::size_t cut = 0) {
    file.assign(pcd::kBaseOffset + pcd::RowPairBytes(768) * 256, 0);
    std::mt19937 rng(17);
    for (std::size_t i = pcd::kBase16Offset; i < file.size(); ++i) file[i] = static_cast<std::uint8_t>(rng());
    std::memcpy(&file[pcd::kIpiOffset], "PCD_IPI", 7);
    file[pcd::kAttributeOffset + pcd::kAttrRotationByte] = static_cast<std::uint8_t>(rotation);
    if (cut) file.resize(cut);
  }
  // Stored pixel (x, row) of a base level as B, G, R.
  void Expected(int entry, int x, int row, std::uint8_t bgr[3]) const {
    const std::uint32_t offsets[] = {pcd::kBase16Offset, pcd::kBase4Offset, pcd::kBaseOffset};
    const int w = PcdEntryWidth(entry);
    const std::uint8_t* pair = &file[offsets[entry] + pcd::RowPairBytes(w) * (row / 2)];
    const int y = pair[(row & 1) * w + x], c1 = pair[2 * w + x / 2], c2 = pair[2 * w + w / 2 + x / 2];
    const auto trunc = [](double v) { return static_cast<int>(v); };
    const auto clamp = [](int v) { return static_cast<std::uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v); };
    const int l = trunc(1.35638 * y);
    bgr[0] = clamp(l + trunc(2.21802 * (c1 - 156)));
    bgr[1] = clamp(l + trunc(-0.43018 * (c1 - 156)) + trunc(-0.92725 * (c2 - 137)));
    bgr[2] = clamp(l + trunc(1.82153 * (c2 - 137)));
  }
};

Picture DecodeMemory(const Bytes& file, int targetWidth, int targetHeight, int* error = nullptr) {
  ImageReader reader;
  reader.open(file.data(), file.size());
  return DecodeOpened(reader, targetWidth, targetHeight, error);
}

TEST(PhotoCdReaderBase, WithoutAPathBaseLevelsComeFromTheFileInEveryRotation) {
  for (int rotation = 0; rotation < 4; ++rotation) {
    const BasePack pack(rotation);
    ImageReader reader;
    reader.open(pack.file.data(), pack.file.size());
    EXPECT_EQ(reader.format(), kFormatPhotoCd);
    const bool turned = rotation % 2 == 1;
    EXPECT_EQ(reader.width(), turned ? 512 : 768) << rotation;  // BASE, exchanged for quarter turns
    EXPECT_EQ(reader.height(), turned ? 768 : 512) << rotation;
    for (int entry = 0; entry <= kPcdBaseEntry; ++entry) {
      const int w = PcdEntryWidth(entry), h = PcdEntryHeight(entry);
      const Picture picture = DecodeMemory(pack.file, turned ? h : w, turned ? w : h);
      ASSERT_EQ(picture.width, turned ? h : w);
      ASSERT_EQ(picture.height, turned ? w : h);
      int wrong = 0;
      for (int row = 0; row < h; ++row)
        for (int x = 0; x < w; ++x) {
          // Where stored pixel (x, row) is shown: code 1 a quarter turn
          // counter-clockwise, code 2 a half turn, code 3 clockwise.
          const int dx[] = {x, row, w - 1 - x, h - 1 - row};
          const int dy[] = {row, w - 1 - x, h - 1 - row, x};
          std::uint8_t expected[3];
          pack.Expected(entry, x, row, expected);
          wrong += std::memcmp(picture.Pixel(dx[rotation], dy[rotation]), expected, 3) != 0;
        }
      EXPECT_EQ(wrong, 0) << "rotation " << rotation << " entry " << entry;
    }
  }
}

TEST(PhotoCdReaderBase, APackTheToolkitRefusesStillShowsBaseFromItsPath) {
  BasePack pack(0);
  pack.file[pcd::kIpiOffset + pcd::kIpiVersionOffset + 1] = 4;  // IPI version 4: the toolkit does not open it
  TempDir dir;
  const std::string path = dir.Write("IMG0001.PCD", pack.file);
  ImagePack* refused = nullptr;
  ASSERT_NE(PcdOpenImagePack(path.c_str(), refused), kPcdOk);
  const Picture picture = DecodeWithReader(path, 6);
  ASSERT_EQ(picture.width, 768);
  ASSERT_EQ(picture.height, 512);
  std::uint8_t expected[3];
  pack.Expected(kPcdBaseEntry, 767, 511, expected);
  EXPECT_EQ(std::memcmp(picture.Pixel(767, 511), expected, 3), 0);
}

TEST(PhotoCdReaderBase, SmallerOutputsSkipRowsOfTheChosenLevel) {
  const BasePack pack(0);
  const Picture picture = DecodeMemory(pack.file, 300, 200);  // BASE/4 (384 x 256) covers it
  ASSERT_EQ(picture.width, 300);
  ASSERT_EQ(picture.height, 200);
  // Columns are averaged by the output stage; column 0 of output row r is
  // pixel 0 of stored row (2r + 1) * 256 / 400 averaged with pixel 1.
  for (int r : {0, 77, 199}) {
    std::uint8_t a[3], b[3];
    pack.Expected(1, 0, (2 * r + 1) * 256 / 400, a);
    pack.Expected(1, 1, (2 * r + 1) * 256 / 400, b);
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(picture.Pixel(0, r)[c], (a[c] + b[c]) / 2, 1) << r;
  }
}

TEST(PhotoCdReaderHeader, FilesWithoutThePcdSignatureOrTooShortAreRefusedWith7) {
  BasePack pack(0);
  pack.file[pcd::kIpiOffset + 2] = 'X';  // "PCX"
  ImageReader reader;
  reader.open(pack.file.data(), pack.file.size());
  EXPECT_EQ(reader.width(), 0);
  EXPECT_EQ(reader.error(), kImageBadHeader);
  // The module itself, whatever recognised the file.
  int pages = 0;
  auto source = openMemorySource(pack.file.data(), pack.file.size());
  EXPECT_EQ(createPhotoCdDecoder()->open(*source, &pages), kImageBadHeader);
  pack.file[pcd::kIpiOffset + 2] = 'D';
  source = openMemorySource(pack.file.data(), pcd::kHeaderSize - 1);
  EXPECT_EQ(createPhotoCdDecoder()->open(*source, &pages), kImageBadHeader);
}

TEST(PhotoCdReaderHeader, CutFilesFailToStartOrToDeliverRows) {
  const BasePack early(0, pcd::kBaseOffset);  // ends where BASE begins
  int error = 0;
  EXPECT_EQ(DecodeMemory(early.file, 0, 0, &error).width, 0);
  EXPECT_EQ(error, kImageCannotStart);
  const BasePack cut(0, pcd::kBaseOffset + pcd::RowPairBytes(768) * 100 + 5);
  EXPECT_EQ(DecodeMemory(cut.file, 0, 0, &error).width, 0);
  EXPECT_EQ(error, kImageLineError);
}

// The toolkit's residual sums clamp: -7 on a luma of 3 gives 0, +7 on 250 gives 255.
TEST(PhotoCdToolkitResiduals, SumsClampAtBothEnds) {
  PackRecipe recipe;
  recipe.topLevel = 4;
  BuiltPack built = BuildPack(recipe);
  int low = -1, high = -1;  // BASE luma positions whose 4BASE residual is -7 or +7
  for (int y = 0; y < 512 && (low < 0 || high < 0); ++y)
    for (int x = 0; x < 768; ++x) {
      const int r = built.r4[(2 * y) * 1536 + 2 * x];
      if (r == -7 && low < 0) low = y * 768 + x;
      if (r == 7 && high < 0) high = y * 768 + x;
    }
  ASSERT_GE(low, 0);
  ASSERT_GE(high, 0);
  for (auto [at, value] : {std::pair{low, 3}, std::pair{high, 250}}) {
    const int x = at % 768, y = at / 768;
    built.file[pcd::kBaseOffset + pcd::RowPairBytes(768) * (y / 2) + (y & 1) * 768 + x] = static_cast<std::uint8_t>(value);
  }
  TempDir dir;
  ImagePack* pack = nullptr;
  ASSERT_EQ(PcdOpenImagePack(dir.Write("IMG0001.PCD", built.file).c_str(), pack), kPcdOk);
  ASSERT_EQ(PcdSetResolution(pack, 4), kPcdOk);
  ASSERT_EQ(PcdSetFormat(pack, static_cast<int>(OutputFormat::LumaOnly)), kPcdOk);
  const Decoded luma = DecodeRect(pack);
  PcdCloseImagePack(pack);
  ASSERT_EQ(luma.status, kPcdOk);
  EXPECT_EQ(luma.Row(BufferRow(2 * (low / 768), 0, 1024))[2 * (low % 768)], 0);
  EXPECT_EQ(luma.Row(BufferRow(2 * (high / 768), 0, 1024))[2 * (high % 768)], 255);
}

}  // namespace
