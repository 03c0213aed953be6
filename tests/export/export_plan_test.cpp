#include <gtest/gtest.h>

#include "export/export_plan.h"

namespace imagefile {
namespace {

TEST(ExportPlanTest, OutputNamesReplaceOrAppendTheExtension) {
  EXPECT_EQ("C:\\out\\IMG0001.tif", ExportOutputPath("C:\\out", "D:\\PHOTO_CD\\IMAGES\\IMG0001.PCD", "tif"));
  EXPECT_EQ("C:\\IMG0001.tif", ExportOutputPath("C:\\", "D:\\PHOTO_CD\\IMAGES\\IMG0001.PCD", "tif"));
  EXPECT_EQ("C:\\out\\IMG0001.jpg", ExportOutputPath("C:\\out\\", "IMG0001", "jpg"));
  // A dot in a folder name is not the title's extension.
  EXPECT_EQ("E:\\x\\PHOTO.bmp", ExportOutputPath("E:\\x", "D:\\a.b\\PHOTO", "bmp"));
}

// Every cause a decode named reaches the list of repaired photos.
TEST(ExportPlanTest, RepairedPhotoLinesNameEveryCause) {
  EXPECT_EQ("IMG0001.PCD: Repaired", RepairedPhotoLine("IMG0001.PCD", "Repaired", {}));
  EXPECT_EQ("IMG0002.PCD: Repaired (BASE: 1 sector unreadable, filled from BASE/4; 16BASE row table unreadable)",
            RepairedPhotoLine("IMG0002.PCD", "Repaired", {"BASE: 1 sector unreadable, filled from BASE/4",
                                                          "16BASE row table unreadable"}));
}

TEST(ExportPlanTest, OnlyTheBlocksAskedForAreKept) {
  ExportOptions stored, working;
  working.format = kFormatTiff;
  working.rotation = 90;
  working.jpeg.quality = 90;
  working.tiff.compression = kTiffLzw;
  ExportOptions kept = OptionsToStore(stored, working, kKeepTiffOptions);
  EXPECT_EQ(kTiffLzw, kept.tiff.compression);
  EXPECT_EQ(65, kept.jpeg.quality);
  EXPECT_EQ(0, kept.format);  // this run's choices are not stored
  EXPECT_EQ(0, kept.rotation);
  EXPECT_EQ(90, OptionsToStore(stored, working, kKeepJpegOptions | kKeepTiffOptions).jpeg.quality);
}

}  // namespace
}  // namespace imagefile
