#include <gtest/gtest.h>

#include "ui/path_utils.h"

namespace {

TEST(PathUtilsTest, JoinPathAddsOneSeparatorOnlyWhereNeeded) {
  EXPECT_EQ("C:\\x", JoinPath("C:\\", "x"));
  EXPECT_EQ("x", JoinPath("", "x"));
  EXPECT_EQ("C:\\a", JoinPath("C:\\a", ""));
  EXPECT_EQ("C:\\out\\IMG0001.tif", JoinPath("C:\\out", "IMG0001.tif"));
}

TEST(PathUtilsTest, FolderOfPathKeepsADrivesRoot) {
  EXPECT_EQ("C:\\photos", FolderOfPath("C:\\photos\\IMG0001.PCD"));
  EXPECT_EQ("C:\\", FolderOfPath("C:\\IMG0001.PCD"));
  EXPECT_EQ("\\\\server\\share", FolderOfPath("\\\\server\\share\\a.pcd"));
  EXPECT_EQ("", FolderOfPath("a.pcd"));
}

TEST(PathUtilsTest, ReplaceExtensionIgnoresPointsInFolders) {
  EXPECT_EQ("a.b\\c.tif", ReplaceExtension("a.b\\c", "tif"));
  EXPECT_EQ("c", ReplaceExtension("c.pcd", ""));
  EXPECT_EQ("IMG0001.jpg", ReplaceExtension("IMG0001.PCD", "jpg"));
  EXPECT_EQ("a.b\\c", ReplaceExtension("a.b\\c", ""));
  EXPECT_EQ("x.tar.bmp", ReplaceExtension("x.tar.gz", "bmp"));
  EXPECT_EQ("dir\\.tif", ReplaceExtension("dir\\.profile", "tif"));
}

TEST(PathUtilsTest, VolumeRootOfDriveAndNetworkPaths) {
  std::string root;
  ASSERT_TRUE(VolumeRoot("\\\\srv\\share\\dir\\f", &root));
  EXPECT_EQ("\\\\srv\\share\\", root);
  ASSERT_TRUE(VolumeRoot("\\\\srv\\share", &root));
  EXPECT_EQ("\\\\srv\\share\\", root);
  ASSERT_TRUE(VolumeRoot("C:\\photos\\2026", &root));
  EXPECT_EQ("C:\\", root);
  ASSERT_TRUE(VolumeRoot("D:", &root));
  EXPECT_EQ("D:\\", root);
  root = "unchanged";
  EXPECT_FALSE(VolumeRoot("\\\\srv", &root));
  EXPECT_FALSE(VolumeRoot("", &root));
  EXPECT_EQ("unchanged", root);
}

TEST(PathUtilsTest, LocaleNumberTakesTheUsersSeparator) {
  EXPECT_DOUBLE_EQ(1.5, ParseLocaleNumber("1,5", ","));
  EXPECT_DOUBLE_EQ(1.2, ParseLocaleNumber("1.20", "."));
  EXPECT_DOUBLE_EQ(2.0, ParseLocaleNumber("2,0,5", ","));  // only the first one is replaced
  EXPECT_DOUBLE_EQ(5.0, ParseLocaleNumber("5", ","));
  EXPECT_DOUBLE_EQ(0.0, ParseLocaleNumber("abc", "."));
  EXPECT_DOUBLE_EQ(3.0, ParseLocaleNumber("3x", "."));
}

}  // namespace
