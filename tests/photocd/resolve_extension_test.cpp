#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "image_file_name.h"
#include "pcd_path.h"
#include "pcd_test_files.h"
#include "resolve_extension.h"

namespace {

struct Resolved {
  std::string imagePack;
  std::string extensionDir;
};

// A disc tree with the given files; paths are resolved relative to its folder.
struct Disc {
  TempDir dir;
  Disc(std::initializer_list<const char*> files) {
    for (const char* file : files) dir.Write(file, Bytes{1});
  }
  std::string Join(const char* relative) const { return dir.Join(relative); }
  Resolved Resolve(const char* relative) const {
    char pack[kPcdMaxPath] = "x";
    char folder[kPcdMaxPath] = "x";
    EXPECT_EQ(PcdResolveExtension(Join(relative).c_str(), pack, folder), kPcdOk);
    return {pack, folder};
  }
};

TEST(ResolveExtension, VersionedPackFindsItsExtensionUnderIpe) {
  Disc disc{"PHOTO_CD/IMAGES/IMG0001.PCD;1", "PHOTO_CD/IPE/IMG0001/INFO.IPE;1"};
  Resolved found = disc.Resolve("PHOTO_CD\\IMAGES\\IMG0001.PCD;1");
  EXPECT_EQ(found.imagePack, disc.Join("PHOTO_CD\\IMAGES\\IMG0001.PCD;1"));
  EXPECT_EQ(found.extensionDir, disc.Join("PHOTO_CD\\IPE\\IMG0001"));
}

TEST(ResolveExtension, InfoFileBesideThePackWins) {
  Disc disc{"PHOTO_CD/IMAGES/IMG0001.PCD;1", "PHOTO_CD/IMAGES/INFO.IPE;1", "PHOTO_CD/IPE/IMG0001/INFO.IPE;1"};
  EXPECT_EQ(disc.Resolve("PHOTO_CD\\IMAGES\\IMG0001.PCD;1").extensionDir, disc.Join("PHOTO_CD\\IMAGES"));
}

TEST(ResolveExtension, LowerCasePathFormsLowerCaseNames) {
  Disc disc{"PHOTO_CD/IMAGES/IMG0001.PCD;1", "PHOTO_CD/IPE/IMG0001/INFO.IPE;1"};
  // The local file system maps the names, the formed path keeps their case.
  Resolved found = disc.Resolve("photo_cd\\images\\img0001.pcd");
  EXPECT_EQ(found.imagePack, disc.Join("photo_cd\\images\\img0001.pcd"));
  EXPECT_EQ(found.extensionDir, disc.Join("photo_cd\\ipe\\img0001"));
}

TEST(ResolveExtension, PackWithoutExtension) {
  Disc disc{"PHOTO_CD/IMAGES/IMG0001.PCD"};
  Resolved found = disc.Resolve("PHOTO_CD\\IMAGES\\IMG0001.PCD");
  EXPECT_EQ(found.imagePack, disc.Join("PHOTO_CD\\IMAGES\\IMG0001.PCD"));
  EXPECT_EQ(found.extensionDir, "");
}

TEST(ResolveExtension, ExtensionFolderFindsItsPack) {
  Disc disc{"PHOTO_CD/IMAGES/IMG0007.PCD", "PHOTO_CD/IPE/IMG0007/INFO.IPE"};
  Resolved found = disc.Resolve("PHOTO_CD\\IPE\\IMG0007");
  EXPECT_EQ(found.extensionDir, disc.Join("PHOTO_CD\\IPE\\IMG0007"));
  EXPECT_EQ(found.imagePack, disc.Join("PHOTO_CD\\IMAGES\\IMG0007.PCD"));

  disc.dir.Write("PHOTO_CD/IPE/IMG0007/IMG0007.PCD", Bytes{1});  // a pack inside the folder comes first
  EXPECT_EQ(disc.Resolve("PHOTO_CD\\IPE\\IMG0007").imagePack, disc.Join("PHOTO_CD\\IPE\\IMG0007\\IMG0007.PCD"));
}

TEST(ResolveExtension, ResultsAreNormalised) {
  Disc disc{"PHOTO_CD/IMAGES/IMG0001.PCD", "PHOTO_CD/IPE/IMG0001/INFO.IPE"};
  Resolved found = disc.Resolve("PHOTO_CD\\IPE\\..\\IMAGES\\IMG0001.PCD");
  EXPECT_EQ(found.imagePack, disc.Join("PHOTO_CD\\IMAGES\\IMG0001.PCD"));
  EXPECT_EQ(found.extensionDir, disc.Join("PHOTO_CD\\IPE\\IMG0001"));
}

TEST(ResolveExtension, NothingFound) {
  Disc disc{"PHOTO_CD/IPE/IMG0001/README"};
  EXPECT_EQ(disc.Resolve("PHOTO_CD\\IPE\\IMG0001").extensionDir, "");  // no INFO.IPE
  char pack[kPcdMaxPath], folder[kPcdMaxPath];
  EXPECT_EQ(PcdResolveExtension("IMG0001.PCD", pack, folder), kPcdOk);  // no folder: nothing
  EXPECT_EQ(pack[0], '\0');
  EXPECT_EQ(PcdResolveExtension(nullptr, pack, folder), kPcdInvalidArgument);
  EXPECT_EQ(PcdResolveExtension(std::string(400, 'a').c_str(), pack, folder), kPcdInvalidArgument);
}

TEST(PathNormalise, RemovesParentSteps) {
  char path[kPcdMaxPath] = "D:\\PHOTO_CD\\IMAGES\\..\\IPE\\IMG0001";
  PcdNormalisePath(path);
  EXPECT_STREQ(path, "D:\\PHOTO_CD\\IPE\\IMG0001");
  char twice[kPcdMaxPath] = "a\\b\\c\\..\\..\\d";
  PcdNormalisePath(twice);
  EXPECT_STREQ(twice, "a\\d");
  char kept[kPcdMaxPath] = "D:\\..\\..\\x";  // nothing before them to remove
  PcdNormalisePath(kept);
  EXPECT_STREQ(kept, "D:\\..\\..\\x");
}

TEST(ImageFileName, FourDigitsWithLeadingZeros) {
  char name[kPcdImageFileNameSize];
  ASSERT_EQ(PcdFormatImageFileName(12, name, sizeof name), kPcdOk);
  EXPECT_STREQ(name, "img0012.pcd");
  ASSERT_EQ(PcdFormatImageFileName(1234, name, sizeof name), kPcdOk);
  EXPECT_STREQ(name, "img1234.pcd");
  EXPECT_EQ(PcdFormatImageFileName(0, name, sizeof name), kPcdInvalidArgument);
  EXPECT_EQ(PcdFormatImageFileName(1, nullptr, 20), kPcdInvalidArgument);
  EXPECT_EQ(PcdFormatImageFileName(1, name, 8), kPcdInvalidArgument);
}

}  // namespace
