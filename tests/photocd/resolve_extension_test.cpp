#include <gtest/gtest.h>

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

Resolved Resolve(const std::string& path) {
  char pack[kPcdMaxPath] = "x";
  char folder[kPcdMaxPath] = "x";
  EXPECT_EQ(PcdResolveExtension(path.c_str(), pack, folder), kPcdOk);
  return {pack, folder};
}

TEST(ResolveExtension, VersionedPackFindsItsExtensionUnderIpe) {
  TempDir dir;
  dir.Write("PHOTO_CD/IMAGES/IMG0001.PCD;1", Bytes{1});
  dir.Write("PHOTO_CD/IPE/IMG0001/INFO.IPE;1", Bytes{1});
  Resolved found = Resolve(dir.Join("PHOTO_CD\\IMAGES\\IMG0001.PCD;1"));
  EXPECT_EQ(found.imagePack, dir.Join("PHOTO_CD\\IMAGES\\IMG0001.PCD;1"));
  EXPECT_EQ(found.extensionDir, dir.Join("PHOTO_CD\\IPE\\IMG0001"));
}

TEST(ResolveExtension, InfoFileBesideThePackWins) {
  TempDir dir;
  dir.Write("PHOTO_CD/IMAGES/IMG0001.PCD;1", Bytes{1});
  dir.Write("PHOTO_CD/IMAGES/INFO.IPE;1", Bytes{1});
  dir.Write("PHOTO_CD/IPE/IMG0001/INFO.IPE;1", Bytes{1});
  EXPECT_EQ(Resolve(dir.Join("PHOTO_CD\\IMAGES\\IMG0001.PCD;1")).extensionDir, dir.Join("PHOTO_CD\\IMAGES"));
}

TEST(ResolveExtension, LowerCasePathFormsLowerCaseNames) {
  TempDir dir;
  dir.Write("PHOTO_CD/IMAGES/IMG0001.PCD;1", Bytes{1});
  dir.Write("PHOTO_CD/IPE/IMG0001/INFO.IPE;1", Bytes{1});
  // The local file system maps the names, the formed path keeps their case.
  Resolved found = Resolve(dir.Join("photo_cd\\images\\img0001.pcd"));
  EXPECT_EQ(found.imagePack, dir.Join("photo_cd\\images\\img0001.pcd"));
  EXPECT_EQ(found.extensionDir, dir.Join("photo_cd\\ipe\\img0001"));
}

TEST(ResolveExtension, PackWithoutExtension) {
  TempDir dir;
  dir.Write("PHOTO_CD/IMAGES/IMG0001.PCD", Bytes{1});
  Resolved found = Resolve(dir.Join("PHOTO_CD\\IMAGES\\IMG0001.PCD"));
  EXPECT_EQ(found.imagePack, dir.Join("PHOTO_CD\\IMAGES\\IMG0001.PCD"));
  EXPECT_EQ(found.extensionDir, "");
}

TEST(ResolveExtension, ExtensionFolderFindsItsPack) {
  TempDir dir;
  dir.Write("PHOTO_CD/IMAGES/IMG0007.PCD", Bytes{1});
  dir.Write("PHOTO_CD/IPE/IMG0007/INFO.IPE", Bytes{1});
  Resolved found = Resolve(dir.Join("PHOTO_CD\\IPE\\IMG0007"));
  EXPECT_EQ(found.extensionDir, dir.Join("PHOTO_CD\\IPE\\IMG0007"));
  EXPECT_EQ(found.imagePack, dir.Join("PHOTO_CD\\IMAGES\\IMG0007.PCD"));

  dir.Write("PHOTO_CD/IPE/IMG0007/IMG0007.PCD", Bytes{1});  // a pack inside the folder comes first
  EXPECT_EQ(Resolve(dir.Join("PHOTO_CD\\IPE\\IMG0007")).imagePack, dir.Join("PHOTO_CD\\IPE\\IMG0007\\IMG0007.PCD"));
}

TEST(ResolveExtension, ResultsAreNormalised) {
  TempDir dir;
  dir.Write("PHOTO_CD/IMAGES/IMG0001.PCD", Bytes{1});
  dir.Write("PHOTO_CD/IPE/IMG0001/INFO.IPE", Bytes{1});
  Resolved found = Resolve(dir.Join("PHOTO_CD\\IPE\\..\\IMAGES\\IMG0001.PCD"));
  EXPECT_EQ(found.imagePack, dir.Join("PHOTO_CD\\IMAGES\\IMG0001.PCD"));
  EXPECT_EQ(found.extensionDir, dir.Join("PHOTO_CD\\IPE\\IMG0001"));
}

TEST(ResolveExtension, NothingFound) {
  TempDir dir;
  dir.Write("PHOTO_CD/IPE/IMG0001/README", Bytes{1});
  EXPECT_EQ(Resolve(dir.Join("PHOTO_CD\\IPE\\IMG0001")).extensionDir, "");  // no INFO.IPE
  EXPECT_EQ(Resolve("IMG0001.PCD").imagePack, "");                         // no folder
  char pack[kPcdMaxPath], folder[kPcdMaxPath];
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
