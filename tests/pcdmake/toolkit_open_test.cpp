// The toolkit opens what pcdmake writes: disc information, levels,
// orientation, image information and the extension folder.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <sstream>

#include "author.h"
#include "disc_info.h"
#include "image_pack.h"
#include "resolve_extension.h"

namespace pcdmake {
namespace {
namespace fs = std::filesystem;

class AuthoredDisc : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ = fs::temp_directory_path() / ("pcdmake-open-" + std::to_string(std::random_device()()));
    DiscJob job;
    job.outDir = root_.string();
    job.style = {true, true};  // lower-case names with ";1", as some mounts show them
    job.fields.serial = "OPEN00000001";
    job.fields.created = 832066200;
    job.fields.stamp = 832100000;
    PhotoJob p;
    p.source = "scene:chart:1";
    p.topLevel = 3;
    p.pack.info.scannerVendor = "Quorvant Imaging";
    p.pack.info.photofinisher = "Harbour Lab";
    job.photos.push_back(p);
    p = {};
    p.source = "scene:city:2";
    p.topLevel = 4;
    p.rotation = 1;
    p.pack.imageSectors = 10;
    p.pack.audioSectors = 4;
    job.photos.push_back(p);
    p = {};
    p.source = "scene:meadow:3";
    p.topLevel = 6;
    p.rotation = 2;
    p.rightsName = "RIGHTS.TXT";
    p.pack.info.rightsStatus = 1;
    job.photos.push_back(p);
    std::ostringstream log;
    AuthorDisc(job, log);
  }
  static void TearDownTestSuite() { fs::remove_all(root_); }

  // Paths as the program forms them: upper case, backslashes, no suffix.
  static std::string Path(const char* rest) { return root_.string() + "\\PHOTO_CD\\" + rest; }

  struct Opened {
    ImagePack* pack = nullptr;
    ~Opened() { if (pack) PcdCloseImagePack(pack); }
  };

  static fs::path root_;
};
fs::path AuthoredDisc::root_;

TEST_F(AuthoredDisc, DiscInformationReadsBack) {
  DiscInfo info{};
  ASSERT_EQ(PcdReadDiscInfo(Path("INFO.PCD").c_str(), info), kPcdOk);
  EXPECT_EQ(std::memcmp(info.serialNumber, "OPEN00000001", 12), 0);
  EXPECT_EQ(info.creationTime, 832066200u);
  EXPECT_EQ(info.secondTime, 832100000u);
}

TEST_F(AuthoredDisc, LevelsOrientationAndInterleave) {
  std::uint16_t mask = 0;
  int count = 0;
  {
    Opened base;
    ASSERT_EQ(PcdOpenImagePack(Path("IMAGES\\IMG0001.PCD").c_str(), base.pack), kPcdOk);
    ASSERT_EQ(PcdGetResolutionMask(base.pack, mask, count), kPcdOk);
    EXPECT_EQ(mask, 0x0F);
    EXPECT_EQ(base.pack->extension, nullptr);
  }
  {
    Opened turned;
    ASSERT_EQ(PcdOpenImagePack(Path("IMAGES\\IMG0002.PCD").c_str(), turned.pack), kPcdOk);
    ASSERT_EQ(PcdGetResolutionMask(turned.pack, mask, count), kPcdOk);
    EXPECT_EQ(mask, 0x1F);
    EXPECT_EQ(turned.pack->interleaveImage, 10);
    EXPECT_EQ(turned.pack->interleaveAudio, 4);
    ASSERT_EQ(PcdSetResolution(turned.pack, 4), kPcdOk);
    EXPECT_EQ(turned.pack->outputWidth, 1024);
    EXPECT_EQ(turned.pack->outputHeight, 1536);
  }
  Opened extended;
  ASSERT_EQ(PcdOpenImagePack(Path("IMAGES\\IMG0003.PCD").c_str(), extended.pack), kPcdOk);
  ASSERT_EQ(PcdGetResolutionMask(extended.pack, mask, count), kPcdOk);
  EXPECT_EQ(mask, 0x7F);
  EXPECT_EQ(count, 7);
  ASSERT_NE(extended.pack->extension, nullptr);
  EXPECT_NE(extended.pack->tableSector16Base, 0u);
  ASSERT_EQ(PcdSetResolution(extended.pack, 6), kPcdOk);
  EXPECT_EQ(extended.pack->outputWidth, 6144);
  EXPECT_EQ(extended.pack->outputHeight, 4096);
}

TEST_F(AuthoredDisc, ExtensionFolderIsFoundFromThePackPath) {
  char pack[260] = {}, folder[260] = {};
  ASSERT_EQ(PcdResolveExtension(Path("IMAGES\\IMG0003.PCD;1").c_str(), pack, folder), kPcdOk);
  EXPECT_EQ(std::string(folder), Path("IPE\\IMG0003"));
  ASSERT_EQ(PcdResolveExtension(Path("IMAGES\\IMG0001.PCD;1").c_str(), pack, folder), kPcdOk);
  EXPECT_EQ(std::string(folder), "");
}

TEST_F(AuthoredDisc, ImageInformationReadsBack) {
  Opened a, c;
  ASSERT_EQ(PcdOpenImagePack(Path("IMAGES\\IMG0001.PCD").c_str(), a.pack), kPcdOk);
  ImagePackInfo info{};
  ASSERT_EQ(PcdGetImageInfo(a.pack, info), kPcdOk);
  EXPECT_EQ(info.discVersion, 0x0100);
  EXPECT_EQ(std::string(info.scannerVendor, 16), "Quorvant Imaging");
  EXPECT_EQ(std::string(info.photofinisher, 11), "Harbour Lab");
  EXPECT_EQ(info.rightsStatus, 0);

  ASSERT_EQ(PcdOpenImagePack(Path("IMAGES\\IMG0003.PCD").c_str(), c.pack), kPcdOk);
  ASSERT_EQ(PcdGetImageInfo(c.pack, info), kPcdOk);
  EXPECT_EQ(info.rightsStatus, 1);
  EXPECT_STREQ(info.rightsFileName, "rights.txt;1");
}

}  // namespace
}  // namespace pcdmake
