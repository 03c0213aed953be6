// lumivexa-cli as an archivist uses it on a shelf of discs: damaged or foreign
// disc text, hostile serial numbers, undated photos, re-runs, interrupts, odd
// inputs, provenance that exiftool reads, the manifest and the shelf script.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "cli/durable_file.h"
#include "cli/sha256.h"
#include "cli_run.h"

using namespace clitest;

namespace {

const std::string kPack1 = kDisc + "/PHOTO_CD/IMAGES/IMG0001.PCD";
const std::string kIso = LUMIVEXA_SOURCE_DIR "/build/sample-disc.iso";

void patch(const fs::path& file, long offset, const std::string& bytes) {
  std::fstream f(file, std::ios::in | std::ios::out | std::ios::binary);
  f.seekp(offset);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A disc of photo 1 whose INFO.PCD serial number (12 bytes at 10) is given.
fs::path discWithSerial(const std::string& name, const std::string& serial) {
  fs::path disc = freshFolder(name);
  fs::create_directories(disc / "PHOTO_CD/IMAGES");
  fs::copy_file(kDisc + "/PHOTO_CD/INFO.PCD", disc / "PHOTO_CD/INFO.PCD");
  fs::copy_file(kPack1, disc / "PHOTO_CD/IMAGES/IMG0001.PCD");
  patch(disc / "PHOTO_CD/INFO.PCD", 10, serial + std::string(12 - serial.size(), ' '));
  return disc;
}

std::string readFile(const fs::path& file) {
  std::ostringstream text;
  text << std::ifstream(file, std::ios::binary).rdbuf();
  return text.str();
}

}  // namespace

TEST(CliArchive, LatinOneDiscTextBecomesUtf8Everywhere) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  fs::path disc = discWithSerial("cli-latin1", "M\xFCller");
  const fs::path pack = disc / "PHOTO_CD/IMAGES/IMG0001.PCD";
  patch(pack, 0x800 + 165, std::string("Fotolabor M\xFCller\0", 17));  // the photofinisher
  Result r = run(program() + " info --json " + disc.string());
  ASSERT_EQ(r.status, 0) << r.output;
  nlohmann::json info = nlohmann::json::parse(r.output);
  EXPECT_EQ(info["disc"]["serial"], "M\u00fcller");
  EXPECT_EQ(info["photos"][0]["photofinisher"], "Fotolabor M\u00fcller");

  fs::path out = freshFolder("cli-latin1-out");
  for (const char* format : {"jpg", "tif", "png"}) {
    r = run(program() + " export " + disc.string() + " -o " + out.string() + " --level base/16 --name '{serial}/{photo}' --format " + format);
    ASSERT_EQ(r.status, 0) << r.output;
    nlohmann::json tags = exifTags(out / "M\u00fcller" / (std::string("0001.") + format));
    SCOPED_TRACE(format);
    EXPECT_NE(tags["IFD0:ImageDescription"].get<std::string>().find("Fotolabor Muller"), std::string::npos);
    EXPECT_NE(tags["XMP-dc:Description"].get<std::string>().find("Fotolabor M\u00fcller"), std::string::npos);
    EXPECT_EQ(tags["XMP-dc:Source"], "Photo CD M\u00fcller, IMG0001.PCD, base/16");
    if (std::string(format) == "jpg") {
      EXPECT_NE(tags["ExifIFD:UserComment"].get<std::string>().find("M\u00fcller"), std::string::npos);
    }
    if (std::string(format) == "png") {
      EXPECT_NE(tags["PNG:Description"].get<std::string>().find("M\u00fcller"), std::string::npos);
    }
  }
  // A path that is not UTF-8 is shown escaped.
  fs::path odd = freshFolder("cli-latin1-path") / "IMG\xFC.PCD";
  fs::copy_file(kPack1, odd);
  r = run(program() + " info --json '" + odd.string() + "'");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(nlohmann::json::parse(r.output)["photos"][0]["file"].get<std::string>().find("IMG\\xFC.PCD"), std::string::npos);
}

TEST(CliArchive, NamesStayInsideTheOutputFolderAndUndatedPhotosAreUndated) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  fs::path disc = discWithSerial("cli-dotdot", "..");
  patch(disc / "PHOTO_CD/IMAGES/IMG0001.PCD", 0x800 + 13, std::string(4, '\0'));  // no scan time
  fs::path out = freshFolder("cli-dotdot-out") / "library";
  Result r = run(program() + " export " + disc.string() + " -o " + out.string() +
                 " --level base/16 --format jpg --name '{serial}/{date}-{photo}'");
  ASSERT_EQ(r.status, 0) << r.output;
  const fs::path written = out / "__/undated-0001.jpg";
  ASSERT_TRUE(fs::exists(written)) << r.output;
  EXPECT_EQ(std::distance(fs::directory_iterator(out.parent_path()), fs::directory_iterator()), 1);
  nlohmann::json tags = exifTags(written);
  EXPECT_FALSE(tags.contains("ExifIFD:DateTimeOriginal"));
  EXPECT_FALSE(tags.contains("ExifIFD:CreateDate"));
  EXPECT_FALSE(tags.contains("IFD0:ModifyDate"));
}

TEST(CliArchive, LongNamesWriteAndDeadRunsLeaveNoPartialFiles) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  fs::path out = freshFolder("cli-partials");
  // A partial file of a run that has ended, and one of a run still alive (this test).
  const std::string host = cli::sha256Hex(cli::machineName()).substr(0, 8);
  std::string deadPid = run("sh -c 'echo $$'").output;
  deadPid.pop_back();
  const fs::path dead = out / (".lvx-" + host + "-" + deadPid + "-0.partial");
  const fs::path alive = out / (".lvx-" + host + "-" + std::to_string(getpid()) + "-0.partial");
  std::ofstream(dead) << "x";
  std::ofstream(alive) << "x";
  const std::string name(240, 'n');  // 244 bytes with ".tif"
  Result r = run(program() + " export " + kPack1 + " -o " + out.string() + " --level base/16 --name '" + name + "'");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(fs::exists(out / (name + ".tif")));
  EXPECT_FALSE(fs::exists(dead));
  EXPECT_TRUE(fs::exists(alive));
}

TEST(CliArchive, InterruptPrintsTheSummaryAndExits130) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  fs::path out = freshFolder("cli-interrupt");
  Result r = run("sh -c '" + program() + " export " + kDisc + " -o " + out.string() +
                 " --level 4base -j 1 & pid=$!; until ls " + out.string() +
                 "/IMG0001.tif >/dev/null 2>&1; do sleep 0.02; done; kill -INT $pid; wait $pid; echo status=$?'");
  EXPECT_NE(r.output.find("status=130"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find(" of 24 photos written to " + out.string() + "; interrupted, "), std::string::npos) << r.output;
  for (const auto& e : fs::directory_iterator(out)) EXPECT_EQ(e.path().extension(), ".tif") << e.path();
}

TEST(CliArchive, AskedForIsWhatIsWritten) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  fs::path out = freshFolder("cli-asked");
  Result r = run(program() + " export " + kPack1 + " -o " + out.string() + " --tiff-compression g4");
  EXPECT_EQ(r.status, 2);
  EXPECT_NE(r.output.find("add --bilevel"), std::string::npos) << r.output;
  for (const char* format : {"jpg", "png", "tif"}) {
    r = run(program() + " export " + kPack1 + " -o " + out.string() + " --level base/16 --dpi 300 --format " + format);
    ASSERT_EQ(r.status, 0) << r.output;
    nlohmann::json tags = exifTags(out / (std::string("IMG0001.") + format));
    SCOPED_TRACE(format);
    EXPECT_EQ(tags["IFD0:XResolution"], 300);
    if (std::string(format) == "jpg") {
      EXPECT_EQ(tags["JFIF:XResolution"], 300);
    }
    if (std::string(format) == "png") {
      EXPECT_EQ(tags["PNG-pHYs:PixelsPerUnitX"], 11811);  // 300 per inch in metres
    }
  }
}

TEST(CliArchive, EveryCommandGivesTheTrueReason) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  fs::path in = freshFolder("cli-reasons");
  mkfifo((in / "fifo").c_str(), 0600);
  fs::create_symlink(in / "loop", in / "loop");
  std::ofstream(in / "IMG0001.PCD") << "not a pack";
  fs::copy_file(kIso, in / "cut.iso");
  fs::resize_file(in / "cut.iso", 30 << 20);
  const struct {
    std::string path, reason;
  } cases[] = {{"/dev/zero", "a device, not a file or folder"},
               {(in / "fifo").string(), "a pipe, not a file or folder"},
               {(in / "loop").string(), "too many levels of symbolic links"},
               {(in / "IMG0001.PCD").string(), "Bad or unrecognized image header"},
               {(in / "cut.iso").string(), "IMG0024.PCD;1 lies past the end of the image"}};
  for (const auto& c : cases)
    for (const char* command : {" info ", " export -o " }) {
      const std::string out = std::string(command).find("-o") != std::string::npos ? (in / "out").string() + " " : "";
      Result r = run(program() + command + out + c.path);
      EXPECT_EQ(r.status, 1) << command << c.path;
      EXPECT_NE(r.output.find(c.reason), std::string::npos) << command << c.path << ": " << r.output;
    }
}

TEST(CliArchive, ProvenanceAndManifestTraceEveryFileToItsDisc) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  fs::path out = freshFolder("cli-manifest");
  const std::string manifest = (out / "manifest.jsonl").string();
  const std::string command = program() + " export " + kIso + " -o " + (out / "lib").string() +
                              " --level base/16 --format jpg --name '{disc}/{photo}' -q --manifest " + manifest;
  Result r = run(command + " --dry-run");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_NE(r.output.find("IMG0024.PCD;1 -> " + (out / "lib/sample-disc/0024.jpg").string()), std::string::npos);
  EXPECT_FALSE(fs::exists(out / "lib"));
  r = run(command);
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(r.output, "");  // -q: nothing but failures
  r = run(command);  // a re-run adds nothing
  ASSERT_EQ(r.status, 0) << r.output;

  std::ifstream lines(manifest);
  int count = 0;
  for (std::string line; std::getline(lines, line); ++count) {
    nlohmann::json entry = nlohmann::json::parse(line);
    const std::string file = entry["output"];
    EXPECT_EQ(entry["sha256"].get<std::string>() + "  " + file + "\n", run("sha256sum '" + file + "'").output);
    EXPECT_EQ(entry["size"], fs::file_size(file));
    EXPECT_EQ(entry["level"], "base/16");
    EXPECT_EQ(entry["repairs"], nlohmann::json::array());
  }
  EXPECT_EQ(count, 24);
  nlohmann::json tags = exifTags(out / "lib/sample-disc/0007.jpg");
  EXPECT_EQ(tags["XMP-dc:Source"], "Photo CD LVX960514001, IMG0007.PCD, base/16");
  EXPECT_EQ(tags["XMP-xmpMM:DocumentID"], "photocd:LVX960514001/IMG0007.PCD");
  EXPECT_EQ(tags["ExifIFD:ImageUniqueID"], cli::sha256Hex("photocd:LVX960514001/IMG0007.PCD/base/16").substr(0, 32));
}

TEST(CliArchive, InfoTakesSeveralPathsAndHelpNamesDiscImages) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  Result r = run(program() + " info --json " + kIso + " " + kPack1);
  ASSERT_EQ(r.status, 0) << r.output;
  nlohmann::json all = nlohmann::json::parse(r.output);
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0]["photoCount"], 24);
  EXPECT_EQ(all[1]["photoCount"], 1);
  for (const char* command : {"info", "export", "contact"}) {
    r = run(program() + " " + command + " --help");
    EXPECT_NE(r.output.find(".iso, .cue, .bin"), std::string::npos) << command;
  }
}

TEST(CliArchive, ShelfScriptConvertsDiscImagesWithGnuParallel) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  if (run("parallel --version").status != 0) GTEST_SKIP() << "GNU parallel missing";
  fs::path shelf = freshFolder("cli-shelf");
  for (const char* disc : {"first", "second", "third"}) fs::copy_file(kIso, shelf / (std::string(disc) + ".iso"));
  const std::string script = "LUMIVEXA_CLI=" + program() + " " LUMIVEXA_SOURCE_DIR "/scripts/convert-shelf.sh -j 2 -o " +
                             (shelf / "library").string() + " ";
  const std::string discs = (shelf / "first.iso").string() + " " + (shelf / "second.iso").string() + " " +
                            (shelf / "third.iso").string();
  Result r = run(script + discs + " -- --level base/16 --format png");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(fs::exists(shelf / "library/third/IMG0024.png"));
  const std::string manifest = readFile(shelf / "library/manifest.jsonl");
  EXPECT_EQ(std::count(manifest.begin(), manifest.end(), '\n'), 72);

  // A re-run skips what is done; a disc that fails is listed.
  fs::copy_file(kIso, shelf / "cut.iso");
  fs::resize_file(shelf / "cut.iso", 30 << 20);
  r = run(script + discs + " " + (shelf / "cut.iso").string() + " -- --level base/16 --format png");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("failed: " + (shelf / "cut.iso").string() + " (exit status 1)"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("4 discs, 1 failed"), std::string::npos) << r.output;
  const std::string merged = readFile(shelf / "library/manifest.jsonl");
  // The cut disc adds its six whole photos and the seventh, read as far as the image holds it.
  EXPECT_EQ(std::count(merged.begin(), merged.end(), '\n'), 72 + 7);
}
