// lumivexa-cli as an archivist uses it on a shelf of discs: damaged or foreign
// disc text, hostile serial numbers, undated photos, re-runs, interrupts, odd
// inputs, provenance that exiftool reads, the manifest and the shelf script.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <set>

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

// A one-photo disc whose INFO.PCD serial number (12 bytes at 10) is given;
// its photo is the sample disc's photo given.
fs::path discWithSerial(const std::string& name, const std::string& serial, const std::string& pack = kPack1) {
  fs::path disc = freshFolder(name);
  fs::create_directories(disc / "PHOTO_CD/IMAGES");
  fs::copy_file(kDisc + "/PHOTO_CD/INFO.PCD", disc / "PHOTO_CD/INFO.PCD");
  fs::copy_file(pack, disc / "PHOTO_CD/IMAGES/IMG0001.PCD");
  patch(disc / "PHOTO_CD/INFO.PCD", 10, serial + std::string(12 - serial.size(), ' '));
  patch(disc / "PHOTO_CD/INFO.PCD", 30, std::string("\0\1", 2));  // the photo count
  return disc;
}

}  // namespace

TEST(CliArchive, LatinOneDiscTextBecomesUtf8Everywhere) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  fs::path disc = discWithSerial("cli-latin1", "M\xFCller");
  const fs::path pack = disc / "PHOTO_CD/IMAGES/IMG0001.PCD";
  patch(pack, 0x800 + 165, std::string("Fotolabor M\xFCller Stra\xDF" "e\0", 25));  // the photofinisher
  Result r = run(program() + " info --json " + disc.string());
  ASSERT_EQ(r.status, 0) << r.output;
  nlohmann::json info = nlohmann::json::parse(r.output);
  EXPECT_EQ(info["disc"]["serial"], "M\u00fcller");
  EXPECT_EQ(info["photos"][0]["photofinisher"], "Fotolabor M\u00fcller Stra\u00dfe");

  fs::path out = freshFolder("cli-latin1-out");
  for (const char* format : {"jpg", "tif", "png"}) {
    r = run(program() + " export " + disc.string() + " -o " + out.string() + " --level base/16 --name '{serial}/{photo}' --format " + format);
    ASSERT_EQ(r.status, 0) << r.output;
    nlohmann::json tags = exifTags(out / "M\u00fcller" / (std::string("0001.") + format));
    SCOPED_TRACE(format);
    EXPECT_NE(tags["IFD0:ImageDescription"].get<std::string>().find("Fotolabor Muller Strasse"), std::string::npos);
    EXPECT_NE(tags["XMP-dc:Description"].get<std::string>().find("Fotolabor M\u00fcller"), std::string::npos);
    EXPECT_EQ(tags["XMP-dc:Source"], "Photo CD M\u00fcller, IMG0001.PCD, base/16");
    if (std::string(format) != "png") {
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
  // ".." is no serial number: the disc's digest names its folder.
  ASSERT_EQ(std::distance(fs::directory_iterator(out), fs::directory_iterator()), 1);
  const fs::path folder = fs::directory_iterator(out)->path();
  EXPECT_EQ(folder.filename().string().rfind("pcd-", 0), 0u) << folder;
  const fs::path written = folder / "undated-0001.jpg";
  ASSERT_TRUE(fs::exists(written)) << r.output;
  EXPECT_EQ(std::distance(fs::directory_iterator(out.parent_path()), fs::directory_iterator()), 1);
  nlohmann::json tags = exifTags(written);
  EXPECT_FALSE(tags.contains("ExifIFD:DateTimeOriginal"));
  EXPECT_FALSE(tags.contains("ExifIFD:CreateDate"));
  EXPECT_FALSE(tags.contains("IFD0:ModifyDate"));
}

// Disc text reaches a terminal shown, not obeyed; a time the disc does not
// record is no date in 1970.
TEST(CliArchive, InfoShowsHostileAndMissingTextSafely) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  fs::path disc = discWithSerial("cli-escape", "A\x1B[2JB");
  patch(disc / "PHOTO_CD/INFO.PCD", 22, std::string(8, '\0'));  // creation and second time
  Result r = run(program() + " info " + disc.string());
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_EQ(r.output.find('\x1B'), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("serial: A\\x1B[2JB"), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("created: undated"), std::string::npos) << r.output;
  EXPECT_EQ(r.output.find("1970"), std::string::npos) << r.output;
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
  // Longer than a file name may be: cut, with a digest of the whole name.
  const std::string longer(300, 'n');
  r = run(program() + " export " + kPack1 + " -o " + out.string() + " --level base/16 --name '" + longer + "'");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(fs::exists(out / (longer.substr(0, 242) + "-" + cli::sha256Hex(longer).substr(0, 8) + ".tif"))) << r.output;
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
  for (const char* format : {"jpg", "png", "tif", "bmp"}) {
    r = run(program() + " export " + kPack1 + " -o " + out.string() + " --level base/16 --dpi 300 --format " + format);
    ASSERT_EQ(r.status, 0) << r.output;
    nlohmann::json tags = exifTags(out / (std::string("IMG0001.") + format));
    SCOPED_TRACE(format);
    if (std::string(format) == "bmp") {
      EXPECT_EQ(tags["File:PixelsPerMeterX"], 11811);
      continue;
    }
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
  fs::create_directories(in / "linked");
  fs::create_directory_symlink(kDisc + "/PHOTO_CD", in / "linked/PHOTO_CD");
  const struct {
    std::string path, reason;
  } cases[] = {{"/dev/zero", "a device, not a file or folder"},
               {(in / "fifo").string(), "a pipe, not a file or folder"},
               {(in / "loop").string(), "too many levels of symbolic links"},
               {(in / "IMG0001.PCD").string(), "Bad or unrecognized image header"},
               {(in / "cut.iso").string(), "IMG0024.PCD;1 lies past the end of the image"},
               {(in / "linked").string(), "PHOTO_CD: a symbolic link; a disc's subfolders are not followed"}};
  for (const auto& c : cases)
    for (const char* command : {" info ", " verify ", " export -o "}) {
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

// Every line of a library's manifest names a file that exists, each once; the number of lines.
long checkLibraryManifest(const fs::path& library) {
  std::ifstream lines(library / "manifest.jsonl");
  std::set<std::string> outputs;
  long count = 0;
  for (std::string line; std::getline(lines, line); ++count) {
    const std::string output = nlohmann::json::parse(line)["output"];
    EXPECT_TRUE(outputs.insert(output).second) << output << " twice";
    EXPECT_TRUE(fs::exists(output)) << output;
  }
  return count;
}

TEST(CliArchive, ShelfScriptConvertsDiscImagesWithGnuParallel) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  if (run("parallel --version").status != 0) GTEST_SKIP() << "GNU parallel missing";
  fs::path shelf = freshFolder("cli-shelf");
  fs::create_directories(shelf / "h");
  // Two images of one name in different places: both land, in folders of their own.
  for (const char* disc : {"first.iso", "second.iso", "h/first.iso"}) fs::copy_file(kIso, shelf / disc);
  const fs::path library = shelf / "library";
  const std::string script = "LUMIVEXA_CLI=" + program() + " " LUMIVEXA_SOURCE_DIR "/scripts/convert-shelf.sh -j 2 -o " +
                             library.string() + " ";
  const std::string discs = (shelf / "first.iso").string() + " " + (shelf / "second.iso").string() + " " +
                            (shelf / "h/first.iso").string();
  Result r = run(script + discs + " -- --level base/16 --format png --name={disc}/{name}");
  ASSERT_EQ(r.status, 0) << r.output;
  EXPECT_TRUE(fs::exists(library / "first/IMG0024.png"));
  EXPECT_TRUE(fs::exists(library / "first-LVX960514001/IMG0024.png")) << r.output;
  EXPECT_EQ(checkLibraryManifest(library), 72);

  // A file that is not the photo its manifest names is a conflict, even with -q;
  // a disc that fails, or is no disc, is listed with its reason.
  fs::copy_file(kIso, shelf / "cut.iso");
  fs::resize_file(shelf / "cut.iso", 30 << 20);
  std::ofstream(shelf / "other.iso") << "not a disc image";
  fs::last_write_time(library / "second/IMG0002.png", fs::file_time_type::clock::now() - std::chrono::hours(1));
  r = run(script + discs + " " + (shelf / "cut.iso").string() + " " + (shelf / "other.iso").string() +
          " -- --level base/16 --format png");
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.output.find("conflict: " + (library / "second/IMG0002.png").string()), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("failed: " + (shelf / "cut.iso").string() + ": "), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("failed: " + (shelf / "other.iso").string() + ": "), std::string::npos) << r.output;
  EXPECT_NE(r.output.find("5 discs: 2 done, 0 with repairs, 3 failed, 0 unfinished"), std::string::npos) << r.output;
  // The cut disc adds its six whole photos and the seventh, read as far as the image holds it.
  EXPECT_EQ(checkLibraryManifest(library), 72 + 7);
}

// An ssh server on loopback that lets this user in with a fresh key, for
// shelves run through --sshloginfile; stopped (by its pid) when destroyed.
struct LoopbackSsh {
  fs::path folder = freshFolder("cli-sshd");
  bool running = false;
  LoopbackSsh() {
    if (!fs::exists("/usr/sbin/sshd")) return;
    const std::string d = folder.string(), port = std::to_string(20000 + getpid() % 10000);
    std::ofstream(folder / "sshd_config") << "Port " << port << "\nListenAddress 127.0.0.1\nHostKey " << d
                                          << "/host\nAuthorizedKeysFile " << d << "/id.pub\nPidFile " << d
                                          << "/pid\nUsePAM no\nStrictModes no\nPasswordAuthentication no\n";
    std::ofstream(folder / "logins") << "2/ssh -p " << port << " -i " << d << "/id -o StrictHostKeyChecking=no"
                                     << " -o UserKnownHostsFile=/dev/null -o LogLevel=ERROR 127.0.0.1\n";
    running = run("ssh-keygen -q -t ed25519 -N '' -f " + d + "/host && ssh-keygen -q -t ed25519 -N '' -f " + d +
                  "/id && mkdir -p /run/sshd && /usr/sbin/sshd -f " + d + "/sshd_config && sleep 0.5")
                  .status == 0;
  }
  ~LoopbackSsh() {
    if (running) run("kill $(cat " + (folder / "pid").string() + ")");
  }
};

// Stopped by Ctrl+C (here and over ssh) or killed outright, a shelf is not
// done and leaves no job running; a re-run completes it with every file in
// the manifest once.
TEST(CliArchive, AnInterruptedShelfIsFinishedByARerun) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  if (run("parallel --version").status != 0) GTEST_SKIP() << "GNU parallel missing";
  LoopbackSsh ssh;
  const struct {
    const char* name;
    const char* signal;
    bool remote;
  } cases[] = {{"int", "INT", false}, {"kill", "KILL", false}, {"ssh", "INT", true}};  // ssh last: it may be skipped
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.remote && !ssh.running) GTEST_SKIP() << "no ssh server for loopback (Debian package openssh-server)";
    const fs::path shelf = freshFolder(std::string("cli-shelf-") + c.name), library = shelf / "library";
    std::string discs;
    for (const char* disc : {"a", "b", "c", "d"}) {
      fs::copy_file(kIso, shelf / (std::string(disc) + ".iso"));
      discs += " " + (shelf / disc).string() + ".iso";
    }
    // A script started in the background ignores Ctrl+C unless told otherwise.
    const std::string script = "env --default-signal=INT LUMIVEXA_CLI=" + program() +
                               " " LUMIVEXA_SOURCE_DIR "/scripts/convert-shelf.sh -j 2 -o " + library.string() +
                               (c.remote ? " --sshloginfile " + (ssh.folder / "logins").string() : "") + discs +
                               " -- --level base/4 --format png";
    Result r = run("sh -c '" + script + " & pid=$!; until ls " + library.string() +
                   "/a/IMG0001.png >/dev/null 2>&1; do sleep 0.05; done; kill -" + c.signal +
                   " $pid; wait $pid; echo status=$?'");
    if (std::string(c.signal) == "INT") {
      EXPECT_NE(r.output.find("status=130"), std::string::npos) << r.output;
      EXPECT_NE(r.output.find("unfinished: " + (shelf / "d.iso").string() + " (not started)"), std::string::npos) << r.output;
    }
    r = run(program() + " status " + library.string() + discs);
    EXPECT_EQ(r.status, 130) << r.output;
    run("sleep 2");  // the jobs of a killed shelf are stopped within a second
    EXPECT_NE(run("pgrep -f '[e]xport .*" + library.string() + "'").status, 0) << "a job outlived its shelf";
    r = run(script);
    EXPECT_EQ(r.status, 0) << r.output;
    EXPECT_EQ(checkLibraryManifest(library), 4 * 24);
  }
}

TEST(CliArchive, VerifyAndExportCountThePhotosTheDiscLists) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  fs::path disc = freshFolder("cli-missing") / "disc";
  fs::copy(kDisc, disc, fs::copy_options::recursive);
  fs::remove(disc / "PHOTO_CD/IMAGES/IMG0003.PCD");
  Result r = run(program() + " verify " + disc.string() + " -j 2");
  EXPECT_EQ(r.status, 3) << r.output;
  EXPECT_NE(r.output.find("IMG0003.PCD: DAMAGED: missing; the disc lists 24 photos"), std::string::npos) << r.output;
  r = run(program() + " export " + disc.string() + " -o " + (disc.parent_path() / "out").string() + " --level base/16 -q");
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_NE(r.output.find("IMG0003.PCD: missing; the disc lists 24 photos"), std::string::npos) << r.output;
  // Inputs that cannot be opened stand in the JSON document with their reason.
  r = run(program() + " verify --json " + kPack1 + " /dev/zero");
  EXPECT_EQ(r.status, 1) << r.output;
  EXPECT_EQ(nlohmann::json::parse(r.output)["inputs"][0]["error"], "a device, not a file or folder") << r.output;
}

TEST(CliArchive, DiscsWithoutSerialNumbersHaveIdentitiesOfTheirOwn) {
  if (!fs::exists(kDisc)) GTEST_SKIP() << "sample disc not built";
  const std::string pack2 = kDisc + "/PHOTO_CD/IMAGES/IMG0002.PCD";
  const fs::path out = freshFolder("cli-identity");
  const struct {
    std::string name, serial, pack;
  } discs[] = {{"blank1", "", kPack1}, {"blank2", "", pack2}, {"dot", ".", kPack1}, {"slash", "/", kPack1}};
  std::set<std::string> folders;
  for (const auto& d : discs) {
    const fs::path disc = discWithSerial("cli-identity-" + d.name, d.serial, d.pack);
    Result r = run(program() + " export " + disc.string() + " -o " + out.string() + " --level base/16 --format jpg --name '{serial}/{photo}'");
    EXPECT_EQ(r.status, 0) << d.name << ": " << r.output;
  }
  for (const auto& entry : fs::directory_iterator(out)) folders.insert(entry.path().filename().string());
  EXPECT_EQ(folders.size(), 4u);
  for (const std::string& folder : folders) {
    EXPECT_EQ(folder.rfind("pcd-", 0), 0u) << folder;
    EXPECT_EQ(exifTags(out / folder / "0001.jpg")["XMP-xmpMM:DocumentID"], "photocd:" + folder + "/IMG0001.PCD");
  }
}
