#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

#include "pcd_extension_layout.h"
#include "pcd_layout.h"
#include "author.h"
#include "extension_writer.h"
#include "options.h"
#include "residual_reader.h"

namespace pcdmake {
namespace {
namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
std::uint32_t Be16(const std::vector<std::uint8_t>& f, std::size_t at) { return f[at] << 8 | f[at + 1]; }
std::uint32_t Be32(const std::vector<std::uint8_t>& f, std::size_t at) { return Be16(f, at) << 16 | Be16(f, at + 2); }

ParseResult Parse(std::vector<const char*> args, DiscJob& job, std::string& error) {
  args.insert(args.begin(), "pcdmake");
  return ParseCommandLine(static_cast<int>(args.size()), args.data(), job, error);
}

fs::path TempDir(const std::string& name) {
  const fs::path dir = fs::temp_directory_path() / ("pcdmake-test-" + name + "-" + std::to_string(std::random_device()()));
  fs::remove_all(dir);
  return dir;
}

TEST(Options, HelpListsEveryOption) {
  DiscJob job;
  std::string error;
  EXPECT_EQ(Parse({"--out", "x", "--help"}, job, error), ParseResult::kHelp);
  const std::string help = HelpText();
  for (const char* key : {"--out", "--manifest", "--lower-case", "--version-suffix", "--levels", "--rotation",
                          "--interleave", "--scanner-pixel-size", "--photofinisher", "--rights", "scene:NAME"})
    EXPECT_NE(help.find(key), std::string::npos) << key;
}

TEST(Options, BadInputIsRefusedWithAClearMessage) {
  const std::vector<std::pair<std::vector<const char*>, std::string>> cases = {
      {{"scene:city"}, "no output folder"},
      {{"--out", "x"}, "no photos"},
      {{"--out", "x", "--bogus", "scene:city"}, "unknown option --bogus"},
      {{"--out", "x", "--rotation", "4", "scene:city"}, "rotation must be a whole number from 0 to 3"},
      {{"--out", "x", "--levels=256base", "scene:city"}, "levels must be base, 4base, 16base or 64base"},
      {{"--out", "x", "--created", "1996-13-01", "scene:city"}, "created must be YYYY-MM-DD"},
      {{"--out", "x", "--scanner-firmware", "12345", "scene:city"}, "longer than 4 characters"},
      {{"--out", "x", "--interleave", "0:4", "scene:city"}, "interleave"},
      {{"--out", "x", "scene:volcano"}, "unknown scene \"volcano\""},
      {{"--out", "x", "--manifest", "/nonexistent/m.txt"}, "cannot read manifest"},
      {{"--out"}, "--out needs a value"},
  };
  for (const auto& [args, message] : cases) {
    DiscJob job;
    std::string error;
    EXPECT_EQ(Parse(args, job, error), ParseResult::kError) << message;
    EXPECT_NE(error.find(message), std::string::npos) << "got: " << error;
  }
}

TEST(Options, TimesAndManifestLines) {
  std::uint32_t t = 0;
  EXPECT_TRUE(ParseTime("1970-01-01", t));
  EXPECT_EQ(t, 0u);
  EXPECT_TRUE(ParseTime("1996-05-14 09:30:00", t));
  EXPECT_EQ(t, 832066200u);
  EXPECT_TRUE(ParseTime("1996-05-14T09:30", t));
  EXPECT_EQ(t, 832066200u);
  EXPECT_FALSE(ParseTime("1996-05-14 09:30:00x", t));
  EXPECT_FALSE(ParseTime("yesterday", t));

  const fs::path dir = TempDir("manifest");
  fs::create_directories(dir);
  std::ofstream(dir / "m.txt") << "# comment\nserial=ABC medium-text=\"slide film\" rights-text=\"a\\\\b.\\r\\nNext\\tline\"\n"
                                  "photo scene:city:4 rotation=1 levels=4base scanner-vendor=\"A \\\"B\\\"\"\n"
                                  "photo scene:page\n";
  DiscJob job;
  std::string error;
  const std::string manifest = (dir / "m.txt").string();
  ASSERT_EQ(Parse({"--out", "x", "--manifest", manifest.c_str(), "scene:chart"}, job, error), ParseResult::kRun) << error;
  ASSERT_EQ(job.photos.size(), 3u);
  EXPECT_EQ(job.fields.serial, "ABC");
  EXPECT_EQ(job.rightsText, "a\\b.\r\nNext\tline");
  EXPECT_EQ(job.photos[0].rotation, 1);
  EXPECT_EQ(job.photos[0].topLevel, 4);
  EXPECT_EQ(job.photos[0].pack.info.scannerVendor, "A \"B\"");
  EXPECT_EQ(job.photos[1].pack.info.mediaText, "slide film");
  EXPECT_EQ(job.photos[2].source, "scene:chart");
  fs::remove_all(dir);
}

TEST(Author, UnreadableSourcesNameTheFile) {
  const fs::path dir = TempDir("bad-source");
  fs::create_directories(dir);
  std::ofstream(dir / "bad.ppm") << "P6\n3000 2000\n255\nshort";
  std::ofstream(dir / "tall.ppm") << "P6\n2 4\n255\n" << std::string(24, 'x');
  PhotoJob p;
  p.source = (dir / "bad.ppm").string();
  try {
    LoadSource(p);
    ADD_FAILURE() << "no error";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("bad.ppm: PPM pixel data is cut short"), std::string::npos) << e.what();
  }
  p.source = (dir / "tall.ppm").string();
  p.rotation = 2;
  EXPECT_THROW(LoadSource(p), std::runtime_error);  // a portrait picture needs rotation 1 or 3
  p.rotation = -1;
  EXPECT_EQ(LoadSource(p).rotation, 1);
  fs::remove_all(dir);
}

TEST(Author, LowerCaseTreeWithVersionSuffixes) {
  const fs::path dir = TempDir("tree");
  DiscJob job;
  job.outDir = dir.string();
  job.style = {true, true};
  job.fields.serial = "SER123";
  job.fields.created = 832066200;
  job.fields.stamp = 832100000;
  PhotoJob p;
  p.topLevel = 3;
  p.source = "scene:chart:1";
  job.photos.push_back(p);
  p.source = "scene:page:2";
  p.rotation = 3;
  p.rightsName = "RIGHTS.TXT";
  p.pack.info.rightsStatus = 1;
  job.photos.push_back(p);
  std::ostringstream log;
  AuthorDisc(job, log);

  const fs::path root = dir / "photo_cd";
  const auto info = ReadAll(root / "info.pcd;1");
  ASSERT_EQ(info.size(), 2048u);
  EXPECT_EQ(std::string(info.begin(), info.begin() + 8), "PHOTO_CD");
  EXPECT_EQ(std::string(info.begin() + 10, info.begin() + 22), "SER123      ");
  EXPECT_EQ(Be32(info, pcd::kDiscCreationTimeOffset), 832066200u);
  EXPECT_EQ(Be32(info, pcd::kDiscSecondTimeOffset), 832100000u);

  const auto overview = ReadAll(root / "overview.pcd;1");
  ASSERT_EQ(overview.size(), 0x2800u + 2 * 0x9000u);
  EXPECT_EQ(std::string(overview.begin(), overview.begin() + 7), "PCD_OPA");
  EXPECT_EQ(Be16(overview, 10), 2u);
  EXPECT_EQ(overview[12], 0x00);  // photo 1: rotation 0, class 0
  EXPECT_EQ(overview[13], 0x03);  // photo 2: rotation 3
  const auto pack2 = ReadAll(root / "images" / "img0002.pcd;1");
  ASSERT_EQ(pack2.size(), std::size_t{pcd::k4BaseRowBaseSector} * pcd::kSectorSize);
  EXPECT_TRUE(std::equal(pack2.begin() + pcd::kBase16Offset, pack2.begin() + pcd::kBase16Offset + 64 * 576,
                         overview.begin() + 0x2800 + 0x9000));
  EXPECT_EQ(std::string(pack2.begin() + 0x800 + pcd::kIpiRightsFileOffset, pack2.begin() + 0x800 + pcd::kIpiRightsFileOffset + 12),
            "rights.txt;1");
  EXPECT_TRUE(fs::exists(root / "rights" / "rights.txt;1"));

  job.style = {};  // a second run refuses to overwrite without --force
  EXPECT_THROW(AuthorDisc(job, log), std::runtime_error);
  fs::remove_all(dir);
}

TEST(Extension, InfoFilesDescribeTilesThatDecodeToTheResiduals) {
  PhotoLevels levels;
  auto fill = [](Residuals& r, int w, int h, int seed) {
    r = {w, h, std::vector<std::int8_t>(static_cast<std::size_t>(w) * h)};
    for (std::size_t i = 0; i < r.values.size(); ++i) r.values[i] = static_cast<std::int8_t>((i * seed) % 23 - 11);
  };
  fill(levels.luma64, 256, 256, 7);
  fill(levels.c1of64, 128, 128, 5);
  fill(levels.c2of64, 128, 128, 3);
  const ExtensionFiles ext = WriteExtension(levels, false);

  const auto& ipe = ext.infoIpe;
  EXPECT_EQ(std::string(ipe.begin(), ipe.begin() + 7), pcd::kIpeSignature);
  EXPECT_EQ(ipe[pcd::kIpeLevelFlagsOffset], 0x20);
  const std::uint32_t rec = Be32(ipe, pcd::kIpeLevelRecordOffset);
  EXPECT_EQ(ipe[rec + pcd::kIpeLevelRecType2Flags], 1 << 6);
  EXPECT_EQ(Be32(ipe, rec + pcd::kIpeLevelRecWidth), 6144u);

  ASSERT_EQ(ext.level64[0].name, "INFO.IC");
  const auto& ic = ext.level64[0].bytes;
  EXPECT_EQ(std::string(ic.begin(), ic.begin() + 11), "KODAK_PIW  ");
  EXPECT_GE(Be16(ic, pcd::kIcVersionOffset), pcd::kIcMinVersion);
  const std::uint32_t names = Be32(ic, pcd::kIcNameTableOffset);
  ASSERT_EQ(Be16(ic, pcd::kIcNameCountOffset), ext.level64.size() - 1);
  ASSERT_EQ(ic[pcd::kIcComponentCountOffset], 3);
  for (int c = 0; c < 3; ++c) {
    const std::size_t at = Be32(ic, pcd::kIcComponentListOffset) + c * pcd::kIcComponentSize;
    const Residuals& expected = c == 0 ? levels.luma64 : c == 1 ? levels.c1of64 : levels.c2of64;
    EXPECT_EQ(ic[at + pcd::kIcCompPlane], c);
    EXPECT_EQ(ic[at + pcd::kIcCompType], pcd::kIcTypeResidual);
    EXPECT_EQ(ic[at + pcd::kIcCompCoding], pcd::kIcCodingHuffman);
    ASSERT_EQ(Be32(ic, at + pcd::kIcCompWidth), static_cast<std::uint32_t>(expected.width));
    const std::uint32_t rowsPerTile = Be32(ic, at + pcd::kIcCompTileRows);
    pcdmake_test::CodeTable table;
    const std::uint32_t tablePos = Be32(ic, at + pcd::kIcCompCodeTable);
    ASSERT_TRUE(table.Parse(&ic[tablePos], ic.size() - tablePos));
    for (std::uint32_t t = 0; t < Be32(ic, at + pcd::kIcCompTileCount); ++t) {
      const std::size_t entry = Be32(ic, at + pcd::kIcCompTileIndex) + t * pcd::kIcTileEntrySize;
      const std::uint32_t fileNumber = Be16(ic, entry);
      const std::string name(reinterpret_cast<const char*>(&ic[names + fileNumber * pcd::kIcNameEntrySize]));
      ASSERT_EQ(ext.level64[fileNumber + 1].name, name);
      pcdmake_test::BitReader reader(ext.level64[fileNumber + 1].bytes, Be32(ic, entry + 2));
      for (std::uint32_t row = t * rowsPerTile; row < (t + 1) * rowsPerTile; ++row) {
        ASSERT_EQ(reader.Bits(24), 0xFFFFFEu);
        const auto h = pcdmake_test::ParseHeader(reader.Bits(16));
        ASSERT_EQ(h.plane, c == 0 ? 0 : c + 1);
        ASSERT_EQ(h.row, static_cast<int>(row));
        for (int x = 0; x < expected.width; ++x) {
          std::int8_t v;
          ASSERT_TRUE(reader.Decode(table, v));
          ASSERT_EQ(v, expected.values[row * expected.width + x]);
        }
      }
    }
  }
}

}  // namespace
}  // namespace pcdmake
