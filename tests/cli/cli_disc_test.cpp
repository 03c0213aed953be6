// lumivexa-cli run as a program on the sample disc; the files it writes are
// checked with independent readers (ImageMagick's identify, exiftool).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include <nlohmann/json.hpp>

#include "cli/contact_sheet.h"
#include "cli_run.h"
#include "imaging/dot_font.h"
#include "photocd/disc_image.h"
#include "photocd/overview_pack.h"

namespace fs = std::filesystem;
using namespace clitest;

namespace {

const std::string kPack4 = kDisc + "/PHOTO_CD/IMAGES/IMG0004.PCD";  // holds 64BASE

}  // namespace

TEST(CliDisc, InfoDescribesEveryPhoto) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  Result r = run(program() + " info --json " + kDisc);
  ASSERT_EQ(r.status, 0) << r.output;
  nlohmann::json info = nlohmann::json::parse(r.output);
  EXPECT_EQ(info["photoCount"], 24);
  EXPECT_EQ(info["disc"]["serial"], "LVX960514001");
  EXPECT_EQ(info["photos"][0]["rotation"], "none");
  EXPECT_EQ(info["photos"][2]["rotation"], "90 counter-clockwise");
  EXPECT_EQ(info["photos"][4]["rotation"], "90 clockwise");
  EXPECT_EQ(info["photos"][0]["medium"]["type"], "Color negative");
  EXPECT_EQ(info["photos"][20]["medium"]["type"], "Internegative");
  EXPECT_EQ(info["photos"][0]["scanner"]["firmwareVersion"], "3.12");
  EXPECT_EQ(info["photos"][0]["scanner"]["firmwareDate"], "09/11/95");
  // pcdmake writes the pixel size as decimal-coded bytes, as scanners do.
  EXPECT_DOUBLE_EQ(info["photos"][0]["scanner"]["pixelSizeMicrometres"].get<double>(), 11.48);
  EXPECT_DOUBLE_EQ(info["photos"][3]["scanner"]["pixelSizeMicrometres"].get<double>(), 6.0);
  EXPECT_FALSE(info["photos"][18]["scanner"].contains("pixelSizeMicrometres"));
  EXPECT_EQ(info["photos"][3]["levels"].back(), "64base");
  EXPECT_EQ(info["photos"][0]["rights"]["restricted"], true);
  EXPECT_EQ(info["photos"][0]["scanner"]["vendor"], "Quorvant Imaging");
}

TEST(CliDisc, EveryLevelAndFormatOpensInAnIndependentReader) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  const struct {
    const char* level;
    const char* size;
  } levels[] = {{"base/64", "192x128"}, {"base/16", "192x128"},  {"base/4", "384x256"},   {"base", "768x512"},
                {"4base", "1536x1024"}, {"16base", "3072x2048"}, {"64base", "6144x4096"}};
  const struct {
    const char* option;
    const char* extension;
    const char* magick;
  } formats[] = {{"tif", "tif", "TIFF"}, {"jpg", "jpg", "JPEG"}, {"bmp", "bmp", "BMP3"}, {"png", "png", "PNG"}};
  fs::path out = freshFolder("cli-levels");
  for (const auto& level : levels)
    for (const auto& format : formats) {
      Result r = run(program() + " export " + kPack4 + " -o " + out.string() + " --level " + level.level + " --format " +
                  format.option);
      ASSERT_EQ(r.status, 0) << level.level << " " << format.option << ": " << r.output;
      fs::path file = out / (std::string("IMG0004.") + format.extension);
      EXPECT_EQ(identify(file), std::string(level.size) + " " + format.magick) << level.level;
      fs::remove(file);
    }
}

TEST(CliDisc, ScanDataReachesExiftoolUnderStandardNames) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  const std::string pack1 = kDisc + "/PHOTO_CD/IMAGES/IMG0001.PCD";
  const struct {
    const char* options;
    const char* file;
    bool profile;
  } cases[] = {{"--format tif", "IMG0001.tif", true},
               {"--format jpg --jpeg-sampling 422", "IMG0001.jpg", true},
               {"--format png", "IMG0001.png", false},  // PNG says sRGB with its own chunk
               {"--format tif --tiff-compression g4 --bilevel", "IMG0001.tif", false}};  // no RGB profile for 1 bit
  int n = 0;
  for (const auto& c : cases) {
    fs::path folder = freshFolder("cli-exif-" + std::to_string(n++));
    Result r = run(program() + " export " + pack1 + " -o " + folder.string() + " --level base " + c.options);
    ASSERT_EQ(r.status, 0) << c.options << ": " << r.output;
    nlohmann::json tags = exifTags(folder / c.file);
    SCOPED_TRACE(c.options);
    EXPECT_EQ(tags["IFD0:Make"], "Quorvant Imaging");
    EXPECT_EQ(tags["IFD0:Model"], "FS-2000 Scanner");
    EXPECT_EQ(tags["IFD0:Software"], "Lumivexa SE");
    EXPECT_EQ(tags["ExifIFD:CreateDate"], "1996:05:13 14:02:10");  // DateTimeDigitized
    EXPECT_EQ(tags["ExifIFD:DateTimeOriginal"], "1996:05:13 14:02:10");
    EXPECT_EQ(tags["IFD0:ImageDescription"],
              "Photo CD image; medium: Color negative, 35mm colour negative; "
              "photofinisher: Lumivexa Film Laboratory, Harbour Street 12");
    EXPECT_EQ(tags["IFD0:Copyright"], "Use restricted: see rights.txt on the Photo CD");
    EXPECT_EQ(tags.contains("ICC_Profile:ProfileDescription"), c.profile);
    if (std::string(c.file) == "IMG0001.jpg") {
      EXPECT_EQ(tags["File:YCbCrSubSampling"], "YCbCr4:2:2 (2 1)");
      EXPECT_EQ(tags["ExifTool:Validate"], "OK");
    }
    if (std::string(c.file) == "IMG0001.png") {
      EXPECT_EQ(tags["PNG:CreationTime"], "1996:05:13 14:02:10-00:00");
      EXPECT_EQ(tags["ExifTool:Validate"], "OK");
    }
    if (std::string(c.options) == "--format tif") {
      EXPECT_EQ(tags["IFD0:RowsPerStrip"], 14);  // 768 pixels: 14 rows of 2304 bytes
      EXPECT_EQ(tags["ExifTool:Validate"], "OK");
    }
  }
  // A photo whose rights are not restricted carries no copyright line.
  fs::path folder = freshFolder("cli-exif-unrestricted");
  ASSERT_EQ(run(program() + " export " + kDisc + "/PHOTO_CD/IMAGES/IMG0002.PCD -o " + folder.string() +
                " --level base --format jpg").status, 0);
  EXPECT_FALSE(exifTags(folder / "IMG0002.jpg").contains("IFD0:Copyright"));
}

TEST(CliDisc, WholeDiscInParallelWithEveryTiffCompression) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  for (const char* compression : {"none", "g3", "g4", "lzw", "deflate", "jpeg"}) {
    fs::path out = freshFolder(std::string("cli-disc-") + compression);
    Result r = run(program() + " export " + kDisc + " -o " + out.string() + " --level base/4 --tiff-compression " +
                compression + " --bilevel -j 2 --rotate 90");
    ASSERT_EQ(r.status, 0) << compression << ": " << r.output;
    EXPECT_NE(r.output.find("24 of 24 photos written"), std::string::npos);
    int files = 0;
    for (const auto& e : fs::directory_iterator(out)) {
      ++files;
      std::string name = e.path().filename().string();
      EXPECT_EQ(name.front(), 'I') << "left behind: " << name;
    }
    EXPECT_EQ(files, 24);
    // IMG0001 is landscape; turned a quarter it stands upright.
    EXPECT_EQ(identify(out / "IMG0001.tif"), "256x384 TIFF");
  }
}

// --rotate 90 turns clockwise and 270 anticlockwise: the corners land where a
// turn of the picture puts them (sizes alone cannot tell the two apart).
TEST(CliDisc, QuarterTurnsGoTheWayTheirDegreesSay) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  auto pixels = [&](const std::string& degrees) {
    fs::path out = freshFolder("cli-turn-" + degrees);
    EXPECT_EQ(run(program() + " export " + kDisc + "/PHOTO_CD/IMAGES/IMG0001.PCD -o " + out.string() +
                  " --level base/16 --format png --rotate " + degrees).status, 0);
    return run("convert '" + (out / "IMG0001.png").string() + "' -depth 8 rgb:-").output;
  };
  const int w = 192, h = 128;  // BASE/16 upright; the turned pictures are h wide, w high
  const std::string upright = pixels("0"), right = pixels("90"), left = pixels("270");
  ASSERT_EQ(upright.size(), 3u * w * h);
  ASSERT_EQ(right.size(), upright.size());
  ASSERT_EQ(left.size(), upright.size());
  auto at = [](const std::string& rgb, int i) { return rgb.substr(3 * i, 3); };
  int wrong = 0;
  for (int y = 0; y < w; ++y)
    for (int x = 0; x < h; ++x)
      wrong += (at(right, y * h + x) != at(upright, (h - 1 - x) * w + y)) +
               (at(left, y * h + x) != at(upright, x * w + w - 1 - y));
  EXPECT_EQ(wrong, 0);
}

TEST(CliDisc, RolloffKeepsHighlightsThatClippingFlattens) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  // The harbour's sky reaches above white near the horizon.
  std::string pack = kDisc + "/PHOTO_CD/IMAGES/IMG0001.PCD";
  std::size_t saturated[2] = {0, 0};
  const char* modes[2] = {"clip", "rolloff"};
  for (int m = 0; m < 2; ++m) {
    fs::path out = freshFolder(std::string("cli-highlights-") + modes[m]);
    Result r = run(program() + " export " + pack + " -o " + out.string() + " --level base --format bmp --highlights " +
                   modes[m]);
    ASSERT_EQ(r.status, 0) << r.output;
    std::FILE* f = std::fopen((out / "IMG0001.bmp").string().c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::fseek(f, 54, SEEK_SET);
    for (int c; (c = std::fgetc(f)) != EOF;) saturated[m] += c == 255;
    std::fclose(f);
  }
  EXPECT_GT(saturated[0], 1000u);
  EXPECT_LT(saturated[1] * 10, saturated[0]);
}

TEST(CliDisc, FailuresGiveAStatusAndAMessagePerPhoto) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  fs::path in = freshFolder("cli-bad-in"), out = freshFolder("cli-bad-out");
  fs::copy_file(kPack4, in / "IMG0001.PCD");
  {
    std::FILE* f = std::fopen((in / "IMG0002.PCD").string().c_str(), "wb");
    std::fputs("not a pack", f);
    std::fclose(f);
  }
  Result r = run(program() + " export " + (in / "IMG0001.PCD").string() + " " + (in / "IMG0002.PCD").string() + " -o " +
              out.string() + " --level base");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("IMG0002.PCD: "), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("1 of 2 photos written"), std::string::npos);
  EXPECT_TRUE(fs::exists(out / "IMG0001.tif"));
  EXPECT_FALSE(fs::exists(out / "IMG0002.tif"));

  // A pack cut short inside BASE (a copy that stopped early): info and export
  // name what is lost, and BASE is written with its lost part made from BASE/4.
  fs::resize_file(in / "IMG0001.PCD", 300000);
  r = run(program() + " info --json " + (in / "IMG0001.PCD").string());
  nlohmann::json info = nlohmann::json::parse(r.output);
  EXPECT_EQ(info["photos"][0]["levels"].back(), "base") << r.output;
  EXPECT_EQ(info["photos"][0]["unreadableLevels"]["16base"], "unexpected end of file") << r.output;
  r = run(program() + " export " + (in / "IMG0001.PCD").string() + " -o " + out.string() + " --overwrite");
  EXPECT_EQ(r.status, 3);
  EXPECT_NE(r.output.find("16base cannot be read (unexpected end of file); base written instead; repaired: the file "
                          "ends 992 bytes into a sector: it was cut short; BASE: 238 sectors past the end of the file, "
                          "filled from BASE/4"),
            std::string::npos)
      << r.output;

  EXPECT_EQ(run(program() + " export " + kDisc + " -o " + out.string() + " --format gif").status, 2);
  EXPECT_EQ(run(program() + " frobnicate").status, 2);
}

// Photo 4 with its extension, copied so that its INFO.IPE and INFO.IC can be changed.
fs::path copyOfPhoto4(const std::string& name) {
  fs::path disc = freshFolder(name);
  fs::create_directories(disc / "PHOTO_CD/IMAGES");
  fs::copy_file(kPack4, disc / "PHOTO_CD/IMAGES/IMG0004.PCD");
  fs::create_directories(disc / "PHOTO_CD/IPE");
  fs::copy(kDisc + "/PHOTO_CD/IPE/IMG0004", disc / "PHOTO_CD/IPE/IMG0004", fs::copy_options::recursive);
  return disc;
}

void overwrite(const fs::path& file, long offset, const std::string& bytes) {
  std::FILE* f = std::fopen(file.string().c_str(), "r+b");
  ASSERT_NE(f, nullptr);
  std::fseek(f, offset, SEEK_SET);
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

TEST(CliDisc, AnExtensionIsReadAsFarAsItCanBe) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  // A text record position that points nowhere: nothing reads that record.
  fs::path moved = copyOfPhoto4("cli-ipe-text");
  overwrite(moved / "PHOTO_CD/IPE/IMG0004/INFO.IPE", 22, std::string("\xFF\xFF\x00\x00", 4));
  Result r = run(program() + " info --json " + (moved / "PHOTO_CD/IMAGES/IMG0004.PCD").string());
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(nlohmann::json::parse(r.output)["photos"][0]["levels"].back(), "64base");

  // 64BASE data that does not fit: the most the photo holds otherwise, and why.
  fs::path damaged = copyOfPhoto4("cli-ipe-damaged");
  // The luma component's width.
  overwrite(damaged / "PHOTO_CD/IPE/IMG0004/64BASE/INFO.IC", 68, std::string("\x00\x00\x10\x00", 4));
  fs::path out = freshFolder("cli-ipe-out");
  r = run(program() + " export " + (damaged / "PHOTO_CD/IMAGES/IMG0004.PCD").string() + " -o " + out.string() +
          " --level max --format bmp");
  EXPECT_EQ(r.status, 3) << r.output;  // written, from a lower level
  EXPECT_NE(r.output.find("IMG0004.PCD: 64base cannot be read ("), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("); 16base written instead\n"), std::string::npos) << r.output;
  EXPECT_EQ(identify(out / "IMG0004.bmp"), "3072x2048 BMP3");
}

// Mean of all colour values as identify reads the file, in levels.
double meanLevel(const fs::path& file) {
  return std::stod(run("identify -format '%[fx:mean*255]' '" + file.string() + "'").output);
}

TEST(CliDisc, EveryLevelHasTheSameToneWithEitherHighlightSetting) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  const std::string pack = kDisc + "/PHOTO_CD/IMAGES/IMG0001.PCD";
  for (const char* highlights : {"clip", "rolloff"}) {
    double mean[2];
    const char* levels[2] = {"base", "16base"};
    for (int i = 0; i < 2; ++i) {
      fs::path out = freshFolder(std::string("cli-tone-") + highlights + levels[i]);
      Result r = run(program() + " export " + pack + " -o " + out.string() + " --format bmp --level " + levels[i] +
                     " --highlights " + highlights);
      ASSERT_EQ(r.status, 0) << r.output;
      mean[i] = meanLevel(out / "IMG0001.bmp");
    }
    EXPECT_NEAR(mean[0], mean[1], 1.0) << highlights;
  }
}

TEST(CliDisc, NamedOutputsNeverReplaceFilesUnlessAsked) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  fs::path library = freshFolder("cli-library");
  const std::string command = program() + " export " + kDisc + " -o " + (library / "new").string() +
                              " --level base/16 --format png --name '{serial}/{date}-{photo}'";
  Result r = run(command);
  ASSERT_EQ(r.status, 0) << r.output;
  const fs::path first = library / "new/LVX960514001/1996-05-13-0001.png";
  ASSERT_TRUE(fs::exists(first)) << r.output;
  const auto written = fs::last_write_time(first);

  r = run(command);
  EXPECT_EQ(r.status, 0);  // files already there are done, not failed
  EXPECT_NE(r.output.find("skipped: " + first.string() + " exists; not replaced"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("0 of 24 photos written to " + (library / "new").string() +
                          "; 24 skipped because their files exist"),
            std::string::npos)
      << r.output;
  EXPECT_EQ(fs::last_write_time(first), written);

  r = run(command + " --overwrite");
  EXPECT_EQ(r.status, 0) << r.output;
  EXPECT_NE(fs::last_write_time(first), written);
}

TEST(CliDisc, ContactSheetShowsEveryOverviewThumbnailNumbered) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  fs::path out = freshFolder("cli-contact");
  Result r = run(program() + " contact " + kDisc + " -o " + (out / "sheet.png").string() + " --columns 5");
  ASSERT_EQ(r.status, 0) << r.output;
  fs::create_directories(LUMIVEXA_SOURCE_DIR "/build/screenshots");
  fs::copy_file(out / "sheet.png", LUMIVEXA_SOURCE_DIR "/build/screenshots/contact-sheet.png",
                fs::copy_options::overwrite_existing);
  cli::ContactSheetLayout layout(24, 5);  // five rows, the last one short
  EXPECT_EQ(identify(out / "sheet.png"),
            std::to_string(layout.width()) + "x" + std::to_string(layout.height()) + " PNG");
  EXPECT_EQ(layout.width(), 16 + 5 * 208);

  // Photo 8 stands upright: its cell against the overview's own thumbnail.
  OverviewPack* overview = nullptr;
  ASSERT_EQ(PcdOpenOverview((kDisc + "/PHOTO_CD/OVERVIEW.PCD").c_str(), overview), kPcdOk);
  PcdSelectPhoto(overview, 8);
  PcdSetThumbnailLevel(overview, 1);
  PcdSetFormat(overview, static_cast<int>(OutputFormat::Rgb24));
  int width = 0, height = 0;
  PcdGetThumbnailSize(overview, width, height);
  std::vector<std::uint8_t> thumbnail(static_cast<std::size_t>(width) * height * 3);
  ASSERT_EQ(PcdReadThumbnail(overview, thumbnail.data(), width * 3), kPcdOk);
  PcdCloseOverview(overview);
  ASSERT_EQ(width, 128);

  imaging::PixelRect cell = layout.picture(7, width, height);
  std::string crop = run("convert '" + (out / "sheet.png").string() + "' -crop " + std::to_string(width) + "x" +
                         std::to_string(height) + "+" + std::to_string(cell.left) + "+" + std::to_string(cell.top) +
                         " rgb:-")
                         .output;
  ASSERT_EQ(crop.size(), thumbnail.size());
  // The thumbnail rows are bottom-up B, G, R; the crop top-down R, G, B.
  int differing = 0;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      for (int c = 0; c < 3; ++c)
        differing += static_cast<std::uint8_t>(crop[(static_cast<std::size_t>(y) * width + x) * 3 + c]) !=
                     thumbnail[(static_cast<std::size_t>(height - 1 - y) * width + x) * 3 + 2 - c];
  EXPECT_EQ(differing, 0);

  // Beneath it the number 8: its 17 font dots, each 2 x 2 pixels.
  imaging::PixelRect label = layout.label(7);
  std::string labelPixels = run("convert '" + (out / "sheet.png").string() + "' -crop " +
                                std::to_string(label.width()) + "x" + std::to_string(label.height()) + "+" +
                                std::to_string(label.left) + "+" + std::to_string(label.top) + " gray:-")
                                .output;
  EXPECT_EQ(std::count_if(labelPixels.begin(), labelPixels.end(), [](char v) { return static_cast<std::uint8_t>(v) < 128; }),
            17 * 4);
  // Above the grid the disc's serial number and date, dot for dot.
  int titleDots = 0;
  for (char c : std::string("PHOTO CD LVX960514001 1996-05-14"))
    if (const std::uint8_t* rows = imaging::dotGlyph(c))
      for (int row = 0; row < imaging::kDotGlyphHeight; ++row) titleDots += __builtin_popcount(rows[row]);
  imaging::PixelRect title = layout.title();
  std::string titlePixels = run("convert '" + (out / "sheet.png").string() + "' -crop " +
                                std::to_string(title.width()) + "x" + std::to_string(title.height()) + "+" +
                                std::to_string(title.left) + "+" + std::to_string(title.top) + " gray:-")
                                .output;
  EXPECT_EQ(std::count_if(titlePixels.begin(), titlePixels.end(), [](char v) { return static_cast<std::uint8_t>(v) < 128; }),
            titleDots * 4);
  // An overview cut short (a scratched disc): the packs give the same thumbnails.
  fs::path scratched = freshFolder("cli-contact-scratched");
  fs::create_directories(scratched / "PHOTO_CD");
  fs::copy(kDisc + "/PHOTO_CD/IMAGES", scratched / "PHOTO_CD/IMAGES");
  fs::copy_file(kDisc + "/PHOTO_CD/OVERVIEW.PCD", scratched / "PHOTO_CD/OVERVIEW.PCD");
  fs::copy_file(kDisc + "/PHOTO_CD/INFO.PCD", scratched / "PHOTO_CD/INFO.PCD");
  fs::resize_file(scratched / "PHOTO_CD/OVERVIEW.PCD", 200000);
  r = run(program() + " contact " + scratched.string() + " -o " + (out / "scratched.png").string() + " --columns 5");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(run("compare -metric AE '" + (out / "sheet.png").string() + "' '" + (out / "scratched.png").string() +
                "' null:").output,
            "0");

  r = run(program() + " contact " + kDisc + " -o " + (out / "sheet.png").string());
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(run(program() + " contact " + kDisc + " -o " + (out / "sheet.gif").string()).status, 2);
}

// Photo 2 of a copy of the disc lost a block of its 16BASE rows: verify names
// that level and its rows, export writes every photo and ends with status 3,
// and --strict leaves the damaged photo out.
TEST(CliDisc, DamageIsNamedByVerifyAndReportedByExport) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  const fs::path disc = freshFolder("damaged-disc");
  fs::copy(kDisc + "/PHOTO_CD", disc / "PHOTO_CD", fs::copy_options::recursive);
  const fs::path pack = disc / "PHOTO_CD/IMAGES/IMG0002.PCD";
  {
    std::fstream f(pack, std::ios::in | std::ios::out | std::ios::binary);
    char k[2];
    f.seekg(0xE03).read(k, 2);
    const std::streamoff rows16 = ((static_cast<unsigned char>(k[0]) << 8 | static_cast<unsigned char>(k[1])) + 13) * 2048;
    const std::string zeros(65536, '\0');
    f.seekp(rows16 + 64 * 2048).write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
  }
  Result v = run(program() + " verify --json " + disc.string() + " 2>/dev/null");
  ASSERT_EQ(v.status, 3) << v.output;
  const nlohmann::json report = nlohmann::json::parse(v.output);
  ASSERT_EQ(report["photos"].size(), 24u);
  EXPECT_EQ(report["summary"]["damaged"], 1);
  const nlohmann::json& damaged = report["photos"][1];
  EXPECT_EQ(damaged["status"], "damaged");
  const nlohmann::json& level = damaged["levels"]["16BASE"];
  EXPECT_GT(level["rowsLeftOut"].get<int>(), 0);
  EXPECT_EQ(level["firstRows"][0]["plane"], "luma");
  EXPECT_GT(level["firstRows"][0]["row"].get<int>(), 0);
  EXPECT_EQ(report["photos"][0]["status"], "ok");

  Result e = run(program() + " export " + pack.string() + " -o " + (disc / "out").string() + " --format bmp");
  EXPECT_EQ(e.status, 3) << e.output;
  EXPECT_NE(e.output.find("IMG0002.PCD: repaired: 16BASE: "), std::string::npos) << e.output;
  EXPECT_EQ(identify(disc / "out/IMG0002.bmp"), "3072x2048 BMP3");
  Result s = run(program() + " export " + pack.string() + " -o " + (disc / "strict").string() + " --format bmp --strict");
  EXPECT_EQ(s.status, 1) << s.output;
  EXPECT_FALSE(fs::exists(disc / "strict/IMG0002.bmp"));
}

// A disc image that stops 12 MB early, inside the last photo's pack: that
// photo is read as far as the image holds it, and verify says why it is cut.
TEST(CliDisc, APackCutOffByTheEndOfADiscImageIsReadAsFarAsItGoes) {
  const fs::path iso = kDisc + ".iso";
  if (!fs::exists(iso)) GTEST_SKIP() << "sample disc image not built";
  const fs::path cut = freshFolder("cut-image") / "cut.iso";
  fs::copy_file(iso, cut);
  fs::resize_file(cut, fs::file_size(cut) - (12 << 20));
  Result v = run(program() + " verify " + cut.string() + " 2>/dev/null");
  EXPECT_EQ(v.status, 3) << v.output;
  EXPECT_NE(v.output.find("IMG0024.PCD;1: DAMAGED: the file lies partly past the end of the disc image; 16BASE: "),
            std::string::npos)
      << v.output;
  EXPECT_NE(v.output.find("24 photos: 23 whole, 1 damaged, 0 unreadable"), std::string::npos) << v.output;
}

// The sector a ddrescue map does not mark finished is unreadable, and verify
// names the photo and part it lies in.
TEST(CliDisc, WhatADdrescueMapDoesNotMarkFinishedIsUnreadable) {
  const fs::path iso = kDisc + ".iso";
  if (!fs::exists(iso)) GTEST_SKIP() << "sample disc image not built";
  const fs::path folder = freshFolder("rescued"), map = folder / "named.map";
  std::unique_ptr<pcdimage::DiscImage> image;
  pcdimage::DirectoryEntry entry;
  std::string why;
  ASSERT_EQ(pcdimage::DiscImage::Open(iso.string(), image, why), kPcdOk) << why;
  ASSERT_EQ(image->Find("PHOTO_CD/IMAGES/IMG0005.PCD", entry, why), kPcdOk) << why;
  const std::uintmax_t bad = (entry.extent + 100) * 2048ull, size = fs::file_size(iso);
  std::ofstream(map) << "0 + 1\n0 " << bad << " +\n" << bad << " 2048 -\n" << bad + 2048 << " " << size - bad - 2048 << " +\n";
  Result v = run(program() + " verify " + iso.string() + " --mapfile " + map.string() + " 2>/dev/null");
  EXPECT_EQ(v.status, 3) << v.output;
  EXPECT_NE(v.output.find("IMG0005.PCD;1: DAMAGED: BASE: 1 sector unreadable, filled from BASE/4"), std::string::npos) << v.output;
  EXPECT_NE(v.output.find("\nIMG0005.PCD: 1 sector not copied (the ddrescue map), in BASE\n"), std::string::npos) << v.output;
}
