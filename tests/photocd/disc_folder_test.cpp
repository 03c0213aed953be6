// What a folder holds: a disc copied to a hard disk, or loose image packs
// found by their content among other files.
#include <gtest/gtest.h>

#include <filesystem>

#include "pcd_test_files.h"
#include "disc_folder.h"

namespace {

std::vector<std::string> Names(const std::vector<std::string>& paths) {
  std::vector<std::string> names;
  for (const std::string& path : paths) names.push_back(std::filesystem::path(path).filename().string());
  return names;
}

TEST(DiscFolder, LoosePacksAreFoundByContentInNameOrder) {
  TempDir dir;
  const Bytes pack = ImagePackBytes(PackFields{});
  for (const char* name : {"wedding-10.pcd", "wedding-2.PCD", "Wedding-1.jpg", "more/wedding-3.pcd"})
    dir.Write(name, pack);
  dir.Write("notes.txt", Bytes(4096, 'x'));
  dir.Write("fake.pcd", Bytes(100, 0));
  dir.Write("images.txt", Bytes(1, 0));
  PcdFolderPhotos photos;
  ASSERT_EQ(PcdFindFolderPhotos(dir.path().string(), photos), kPcdOk);
  EXPECT_TRUE(photos.photoCd.empty());
  EXPECT_TRUE(photos.info.empty());
  EXPECT_EQ(Names(photos.packs), (std::vector<std::string>{"Wedding-1.jpg", "wedding-2.PCD", "wedding-10.pcd"}));

  ASSERT_EQ(PcdFindFolderPhotos(dir.Join("more"), photos), kPcdOk);
  EXPECT_EQ(photos.packs.size(), 1u);
  EXPECT_EQ(PcdFindFolderPhotos(dir.Join("missing"), photos), kPcdOpenFailed);
}

TEST(DiscFolder, ACopiedDiscIsReadFromItsRootOrItsPhotoCdFolder) {
  TempDir dir;
  for (const char* name : {"img0010.pcd;1", "IMG0002.PCD", "IMG0001.PCD", "IMG0003.PCD.bak"})
    dir.Write(std::string("photo_cd/images/") + name, Bytes(1, 0));  // named as a disc names packs
  dir.Write("photo_cd/info.pcd", DiscInfoBytes(1, 0, 0, 0));
  dir.Write("loose.pcd", ImagePackBytes(PackFields{}));  // beside a disc, not one of its photos
  for (const std::string& folder : {dir.path().string(), dir.Join("photo_cd")}) {
    PcdFolderPhotos photos;
    ASSERT_EQ(PcdFindFolderPhotos(folder, photos), kPcdOk);
    EXPECT_EQ(photos.photoCd, dir.Join("photo_cd"));
    EXPECT_EQ(photos.info, dir.Join("photo_cd/info.pcd"));
    EXPECT_TRUE(photos.overview.empty());
    EXPECT_EQ(Names(photos.packs), (std::vector<std::string>{"IMG0001.PCD", "IMG0002.PCD", "img0010.pcd;1"}));
  }
}

TEST(DiscFolder, NumbersInNamesSortAsNumbers) {
  EXPECT_TRUE(PcdNameLess("x9", "x0010"));
  EXPECT_FALSE(PcdNameLess("x0010", "x9"));
  EXPECT_TRUE(PcdNameLess("trip", "trip-1"));
  // Equal but for leading zeros or case: still a strict order.
  EXPECT_NE(PcdNameLess("a01", "a1"), PcdNameLess("a1", "a01"));
  EXPECT_NE(PcdNameLess("A", "a"), PcdNameLess("a", "A"));
}

}  // namespace
