// Disc images through the file layer: the same bytes from a folder, an .iso,
// a raw .bin/.cue with and without interleaved Form 2 sectors and a later
// session; hostile images refused with a reason.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>

#include "disc_image.h"
#include "disc_image_writer.h"
#include "pcd_file.h"
#include "pcd_test_files.h"

namespace fs = std::filesystem;

namespace {

Bytes Pattern(std::size_t size, int seed) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * seed + i / 2048);
  return bytes;
}

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Reads count bytes from offset through the file layer; empty when the open fails.
Bytes ReadPart(const std::string& path, std::uint32_t offset, std::uint32_t count, PcdStatus* openStatus = nullptr) {
  PcdFile* file = nullptr;
  PcdStatus status = PcdFileOpen(path.c_str(), file);
  if (openStatus) *openStatus = status;
  if (status != kPcdOk) return {};
  Bytes bytes(count);
  std::uint32_t got = 0;
  EXPECT_EQ(PcdFileSeek(file, offset), kPcdOk);
  EXPECT_EQ(PcdFileRead(file, bytes.data(), count, got), kPcdOk);
  bytes.resize(got);
  PcdFileClose(file);
  return bytes;
}

class DiscImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("tree/PHOTO_CD/INFO.PCD", info_);
    dir_.Write("tree/PHOTO_CD/IMAGES/IMG0001.PCD", pack_);
  }
  std::string Image(const std::string& name, pcdmake::ImageLayout layout, const std::string& tree = "tree") {
    std::string path = dir_.Join(name);
    pcdmake::WriteDiscImage(dir_.path() / tree, path, layout);
    return path;
  }
  // The offset of a directory record by its name, past the path tables.
  static std::size_t RecordOf(const Bytes& image, const std::string& name, std::size_t sectorSize) {
    for (std::size_t at = 20 * sectorSize; at + name.size() < image.size(); ++at)
      if (image[at - 1] == name.size() && std::memcmp(&image[at], name.data(), name.size()) == 0) return at - 33;
    ADD_FAILURE() << name << " not found";
    return 0;
  }
  std::string Patched(const std::string& iso, const std::string& name, std::size_t field, std::uint32_t value) {
    Bytes bytes = ReadFile(iso);
    std::size_t record = RecordOf(bytes, name, 2048);
    for (int i = 0; i < 4; ++i) bytes[record + field + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return dir_.Write("patched.iso", bytes);
  }

  TempDir dir_;
  const Bytes info_ = Pattern(2048 + 100, 3);
  const Bytes pack_ = Pattern(23 * 2048 + 17, 7);
};

TEST_F(DiscImageTest, FilesReadTheSameFromEveryKindOfImage) {
  const std::string images[] = {Image("disc.iso", {}), Image("disc.bin", {true}),
                                Image("woven.bin", {true, 3, 2}).substr(0, dir_.Join("woven.bin").size() - 4) + ".cue"};
  for (const std::string& image : images) {
    SCOPED_TRACE(image);
    EXPECT_EQ(ReadPart(image + "\\PHOTO_CD\\IMAGES\\IMG0001.PCD", 0, 100000), pack_);
    EXPECT_EQ(ReadPart(image + "/photo_cd/images/img0001.pcd", 0, 100000), pack_);
    // Across sector and unit boundaries, and past the end.
    EXPECT_EQ(ReadPart(image + "/PHOTO_CD/IMAGES/IMG0001.PCD;1", 5000, 9000), Bytes(pack_.begin() + 5000, pack_.begin() + 14000));
    EXPECT_EQ(ReadPart(image + "/PHOTO_CD/INFO.PCD", 2000, 500), Bytes(info_.begin() + 2000, info_.end()));
    EXPECT_TRUE(PcdFileExists((image + "\\PHOTO_CD\\INFO.PCD").c_str()));
    EXPECT_FALSE(PcdFileExists((image + "\\PHOTO_CD\\IMAGES").c_str()));
    EXPECT_FALSE(PcdFileExists((image + "\\PHOTO_CD\\OVERVIEW.PCD").c_str()));
  }
}

TEST_F(DiscImageTest, TheLastSessionsVolumeIsRead) {
  dir_.Write("first/PHOTO_CD/INFO.PCD", Pattern(2048, 5));
  const std::string first = Image("s1.bin", {true}, "first");
  const std::uint32_t firstSectors = static_cast<std::uint32_t>(fs::file_size(first) / 2352);
  // A rip that keeps the disc's addresses (the gap between sessions left out
  // of the files) and one that counts only the sectors it holds.
  for (std::uint32_t gap : {11400u, 0u}) {
    SCOPED_TRACE(gap);
    Image("s2.bin", {true, 0, 0, firstSectors + gap});
    std::ofstream(dir_.Join("two.cue")) << "REM SESSION 01\nFILE \"s1.bin\" BINARY\n  TRACK 01 MODE2/2352\n"
                                        << "    INDEX 01 00:00:00\nREM SESSION 02\nFILE \"s2.bin\" BINARY\n"
                                        << "  TRACK 02 MODE2/2352\n    INDEX 01 00:00:00\n";
    EXPECT_EQ(ReadPart(dir_.Join("two.cue/PHOTO_CD/INFO.PCD"), 0, 5000), info_);
    EXPECT_TRUE(PcdFileExists(dir_.Join("two.cue/PHOTO_CD/IMAGES/IMG0001.PCD").c_str()));
  }
}

TEST_F(DiscImageTest, HostileImagesAreRefusedWithAReason) {
  const std::string iso = Image("disc.iso", {});
  std::unique_ptr<pcdimage::DiscImage> image;
  pcdimage::DirectoryEntry entry;
  std::string why;
  const auto findPack = [&](const std::string& path, const std::string& inside) {
    why.clear();
    if (pcdimage::DiscImage::Open(path, image, why) != kPcdOk) return false;
    return image->Find(inside, entry, why) == kPcdOk;
  };

  // An extent far past the end, and a size no disc holds.
  EXPECT_FALSE(findPack(Patched(iso, "IMG0001.PCD;1", 2, 0x00FFFFFF), "PHOTO_CD/IMAGES/IMG0001.PCD"));
  EXPECT_NE(why.find("past the end"), std::string::npos) << why;
  PcdStatus status = kPcdOk;
  EXPECT_TRUE(ReadPart(dir_.Join("patched.iso/PHOTO_CD/IMAGES/IMG0001.PCD"), 0, 10, &status).empty());
  EXPECT_EQ(status, kPcdOpenFailed);
  EXPECT_FALSE(findPack(Patched(iso, "IMAGES", 10, 0xFFFFF000), "PHOTO_CD/IMAGES/IMG0001.PCD"));
  EXPECT_NE(why.find("folder"), std::string::npos) << why;

  // A folder that holds its own parent: a deep path ends, it does not loop.
  Bytes bytes = ReadFile(iso);
  const std::size_t photoCd = RecordOf(bytes, "PHOTO_CD", 2048);
  std::size_t images = RecordOf(bytes, "IMAGES", 2048);
  std::copy_n(&bytes[photoCd + 2], 8, &bytes[images + 2]);
  std::string looping = dir_.Write("loop.iso", bytes), deep;
  for (int i = 0; i < 40; ++i) deep += "IMAGES/";
  EXPECT_FALSE(findPack(looping, "PHOTO_CD/" + deep + "INFO.PCD"));
  EXPECT_NE(why.find("too deep"), std::string::npos) << why;

  // Cut short: the pack reads as far as the image holds it, and then ends.
  bytes = ReadFile(iso);
  bytes.resize(bytes.size() - 5 * 2048);
  const std::string cut = dir_.Write("short.iso", bytes);
  ASSERT_TRUE(findPack(cut, "PHOTO_CD/IMAGES/IMG0001.PCD")) << why;
  EXPECT_EQ(entry.recordedSize, pack_.size());
  EXPECT_EQ(entry.size, ((pack_.size() + 2047) / 2048 - 5) * 2048);  // the pack ends the image
  PcdFile* cutFile = nullptr;
  ASSERT_EQ(PcdFileOpen((cut + "/PHOTO_CD/IMAGES/IMG0001.PCD").c_str(), cutFile), kPcdOk);
  EXPECT_TRUE(PcdFileCutShort(cutFile));
  PcdFileClose(cutFile);
  EXPECT_EQ(ReadPart(cut + "/PHOTO_CD/IMAGES/IMG0001.PCD", 0, pack_.size()),
            Bytes(pack_.begin(), pack_.begin() + static_cast<std::ptrdiff_t>(entry.size)));

  // Form 2 sectors inside a file its record calls contiguous fail the read, never pass as data.
  const std::string woven = Image("woven.bin", {true, 3, 2});
  bytes = ReadFile(woven);
  const std::size_t record = RecordOf(bytes, "IMG0001.PCD;1", 2352);
  bytes[record + 26] = bytes[record + 27] = 0;
  const std::string unmarked = dir_.Write("unmarked.bin", bytes);
  PcdFile* file = nullptr;
  ASSERT_EQ(PcdFileOpen((unmarked + "/PHOTO_CD/IMAGES/IMG0001.PCD").c_str(), file), kPcdOk);
  Bytes whole(pack_.size());
  std::uint32_t got = 0;
  EXPECT_EQ(PcdFileRead(file, whole.data(), static_cast<std::uint32_t>(whole.size()), got), kPcdReadFailed);
  PcdFileClose(file);

  std::ofstream(dir_.Join("odd.cue")) << "FILE \"disc.bin\" BINARY\n  TRACK 01 MODE2/2336\n    INDEX 01 00:00:00\n";
  EXPECT_FALSE(findPack(dir_.Join("odd.cue"), ""));
  EXPECT_NE(why.find("MODE2/2336"), std::string::npos) << why;
  EXPECT_FALSE(findPack(dir_.Write("empty.iso", Bytes(40000)), ""));
  EXPECT_NE(why.find("no ISO 9660 volume"), std::string::npos) << why;
}

}  // namespace
