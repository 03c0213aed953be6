// The converter's plumbing: finding image packs, output names, level choice,
// time stamps, and exports that fail leaving nothing behind.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../imagefile/bmp_builder.h"
#include "cli/export_job.h"
#include "cli/pack_info.h"
#include "cli/photo_inputs.h"

namespace fs = std::filesystem;
using namespace cli;

namespace {

fs::path freshFolder(const std::string& name) {
  fs::path p = fs::path(::testing::TempDir()) / name;
  fs::remove_all(p);
  fs::create_directories(p);
  return p;
}

void writeBytes(const fs::path& path, const std::vector<std::uint8_t>& data) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data.data()),
                                              static_cast<std::streamsize>(data.size()));
}

std::vector<std::string> filesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(CliInputs, FindsPacksOfADiscIgnoringCaseAndVersionSuffixes) {
  fs::path root = freshFolder("cli-disc");
  fs::create_directories(root / "photo_cd" / "images");
  for (const char* name : {"img0002.pcd;1", "IMG0001.PCD", "IMG0003.PCD.bak", "overview.pcd"})
    writeBytes(root / "photo_cd" / "images" / name, {1});
  DiscInput disc;
  std::string error;
  ASSERT_TRUE(findImagePacks(root.string(), disc, error)) << error;
  ASSERT_EQ(disc.packs.size(), 2u);
  EXPECT_EQ(fs::path(disc.packs[0]).filename(), "IMG0001.PCD");
  EXPECT_EQ(fs::path(disc.packs[1]).filename(), "img0002.pcd;1");
  ASSERT_TRUE(findImagePacks((root / "photo_cd").string(), disc, error));
  EXPECT_EQ(disc.packs.size(), 2u);

  EXPECT_FALSE(findImagePacks((root / "nothing").string(), disc, error));
  fs::create_directories(root / "empty");
  EXPECT_FALSE(findImagePacks((root / "empty").string(), disc, error));
  EXPECT_FALSE(error.empty());
}

TEST(CliExport, OutputNamesFollowThePattern) {
  auto name = [](const std::string& folder, const std::string& pattern, const std::string& input) {
    return outputPath(folder, pattern, nameFieldsOf(input, 6, pattern, ""), "tif");
  };
  const std::string sep(1, static_cast<char>(fs::path::preferred_separator));
  EXPECT_EQ(name("out", "{name}", "d/PHOTO_CD/IMAGES/IMG0001.PCD"), "out" + sep + "IMG0001.tif");
  EXPECT_EQ(name("out/", "{name}", "IMG0001.PCD;1"), "out/IMG0001.tif");
  EXPECT_EQ(name("C:\\", "{name}", "D:\\PHOTO_CD\\IMAGES\\IMG0002.PCD"), "C:\\IMG0002.tif");
  EXPECT_EQ(name("out", "{name}", "a.b/picture"), "out" + sep + "picture.tif");
  // A loose file numbers by its place in the run; a pack by its name.
  EXPECT_EQ(name("out", "{photo}", "a.b/picture.bmp"), "out" + sep + "0007.tif");
  EXPECT_EQ(name("out", "{serial}/{photo}", "img0012.pcd"), "out" + sep + "unknown" + sep + "0012.tif");

  NameFields fields;
  fields.name = "IMG0003";
  fields.photo = 3;
  fields.serial = "LVX:96/05";
  fields.hasScanTime = true;
  fields.scanTime = 832066930u;  // 1996-05-14 09:42:10
  EXPECT_EQ(expandNamePattern("{serial}_{date}_{time}-{photo}", fields), "LVX_96_05_1996-05-14_094210-0003");
  fields.hasScanTime = false;
  EXPECT_EQ(expandNamePattern("{date}", fields), "undated");

  EXPECT_EQ(checkNamePattern("{serial}/{photo}"), "");
  for (const char* bad : {"{film}", "{photo", "photo}", "", "/", "{name}/", "../{name}", "a:b"})
    EXPECT_NE(checkNamePattern(bad), "") << bad;
}

TEST(CliExport, ChoosesTheHighestLevelAtOrBelowTheWantedOne) {
  unsigned upTo16Base = 0x3E;  // levels 1 to 5
  EXPECT_EQ(chooseLevel(upTo16Base, 6), 5);
  EXPECT_EQ(chooseLevel(upTo16Base, 3), 3);
  EXPECT_EQ(chooseLevel(upTo16Base, 0), 1);  // BASE/64 is taken as BASE/16
  EXPECT_EQ(chooseLevel(0x0E, 5), 3);        // a pack up to BASE
  EXPECT_EQ(levelFromName("max"), 6);
  EXPECT_EQ(levelFromName("4base"), 4);
  EXPECT_EQ(levelFromName("8base"), -1);
}

TEST(CliInfo, FormatsTimesInUtc) {
  EXPECT_EQ(formatTime(0), "1970-01-01 00:00:00");
  EXPECT_EQ(formatTime(832066930u), "1996-05-14 09:42:10");
  EXPECT_EQ(formatTime(951782400u, true), "2000:02:29 00:00:00");  // leap day
}

TEST(CliExport, WritesConvertibleInputsAndLeavesNothingOfFailures) {
  fs::path in = freshFolder("cli-in"), out = freshFolder("cli-out");
  writeBytes(in / "colour.bmp", bmp_builder::make(9, 5, 24, [](int x, int y) { return static_cast<std::uint32_t>(x * 20 + y); }));
  writeBytes(in / "four.bmp", bmp_builder::make(9, 5, 4, [](int x, int) { return static_cast<std::uint32_t>(x); }));
  writeBytes(in / "junk.bmp", {'n', 'o', 't'});
  ExportSettings settings;
  settings.folder = out.string();
  settings.format = "jpg";
  settings.turn = imaging::kTurnRight;
  settings.jobs = 2;
  std::vector<ExportResult> results =
      exportPhotos({(in / "colour.bmp").string(), (in / "four.bmp").string(), (in / "junk.bmp").string(),
                    (in / "colour.bmp").string()},
                   settings);
  ASSERT_EQ(results.size(), 4u);
  EXPECT_TRUE(results[0].ok) << results[0].error;
  EXPECT_TRUE(results[1].ok) << results[1].error;  // decoded to 8 bits, which JPEG takes
  EXPECT_FALSE(results[2].ok);
  EXPECT_FALSE(results[3].ok);  // same output name as the first
  EXPECT_NE(results[3].error.find("same output name"), std::string::npos);
  // Only finished files, no temporary names.
  EXPECT_EQ(filesIn(out), (std::vector<std::string>{"colour.jpg", "four.jpg"}));

  std::atomic<bool> cancel{true};
  settings.cancel = &cancel;
  results = exportPhotos({(in / "colour.bmp").string()}, settings);
  EXPECT_EQ(results[0].error, "cancelled");
  settings.cancel = nullptr;

  // A missing folder is made. A file that exists stays as it is, named in
  // the result, unless replacing is asked for.
  const std::string colour = (in / "colour.bmp").string();
  settings.folder = (out / "new" / "deeper").string();
  results = exportPhotos({colour}, settings);
  EXPECT_TRUE(results[0].ok) << results[0].error;
  settings.folder = out.string();
  writeBytes(out / "colour.jpg", {'o', 'l', 'd'});
  results = exportPhotos({colour}, settings);
  EXPECT_FALSE(results[0].ok);
  EXPECT_TRUE(results[0].exists);
  EXPECT_EQ(results[0].error, (out / "colour.jpg").string() + " exists; not replaced (--overwrite replaces it)");
  EXPECT_EQ(fs::file_size(out / "colour.jpg"), 3u);
  settings.overwrite = true;
  results = exportPhotos({colour}, settings);
  EXPECT_TRUE(results[0].ok) << results[0].error;
  EXPECT_GT(fs::file_size(out / "colour.jpg"), 3u);
  EXPECT_EQ(filesIn(out), (std::vector<std::string>{"colour.jpg", "four.jpg", "new"}));
}
