#include <gtest/gtest.h>

#include <cstring>

#include "image_info.h"
#include "image_pack.h"
#include "pcd_layout.h"
#include "pcd_test_files.h"

namespace {

Bytes IpiBlock(std::uint16_t version, const char (&rightsName)[29]) {
  Bytes block(pcd::kIpiBlockSize, 0);
  PutBigEndian16(block, pcd::kIpiVersionOffset, version);
  block[pcd::kIpiRightsStatusOffset] = 1;
  std::memcpy(block.data() + pcd::kIpiRightsFileOffset, rightsName, 28);
  block[pcd::kIpiWord360Offset] = 0xAB;
  block[pcd::kIpiWord360Offset + 1] = 0xCD;
  return block;
}

TEST(ImageInfo, RightsNameTidiedFromVersion5) {
  ImagePackInfo info{};
  Bytes block = IpiBlock(0x0005, "Rights/README.TXT \0 \0       ");
  ASSERT_EQ(PcdParseImageInfo(block.data(), block.size(), info), kPcdOk);
  EXPECT_EQ(info.rightsStatus, 1);
  EXPECT_STREQ(info.rightsFileName, "rights/readme.txt");
}

TEST(ImageInfo, RightsFieldsEmptyUpToVersion4) {
  ImagePackInfo info{};
  Bytes block = IpiBlock(0x0004, "README.TXT                  ");
  ASSERT_EQ(PcdParseImageInfo(block.data(), block.size(), info), kPcdOk);
  EXPECT_EQ(info.rightsStatus, 0);
  EXPECT_EQ(info.rightsFileName[0], '\0');
}

TEST(ImageInfo, FullRightsNameStaysInsideItsField) {
  ImagePackInfo info{};
  Bytes block = IpiBlock(0x0100, "ABCDEFGHIJKLMNOPQRSTUVWXYZ12");
  ASSERT_EQ(PcdParseImageInfo(block.data(), block.size(), info), kPcdOk);
  EXPECT_EQ(std::memcmp(info.rightsFileName, "abcdefghijklmnopqrstuvwxyz12", 28), 0);
  EXPECT_EQ(info.word355[0], 0xAB);  // the next field is untouched
  EXPECT_EQ(info.word355[1], 0xCD);
}

TEST(ImageInfo, ReadFromThePackWithNativeNumbers) {
  TempDir dir;
  Bytes pack = ImagePackBytes(PackFields{});
  const std::size_t ipi = pcd::kIpiOffset;
  PutBigEndian16(pack, ipi + pcd::kIpiWorkstationVersionOffset, 0x0203);
  PutBigEndian16(pack, ipi + pcd::kIpiMagnificationOffset, 0x0132);
  PutBigEndian32(pack, ipi + pcd::kIpiScanTimeOffset, 0x2F000001);
  PutBigEndian32(pack, ipi + pcd::kIpiModificationTimeOffset, 0x30000002);
  pack[ipi + pcd::kIpiMediaTypeOffset] = 0xFF;
  std::memcpy(pack.data() + ipi + pcd::kIpiScannerVendorOffset, "VENDOR", 6);
  pack[ipi + pcd::kIpiPixelSizeOffset] = 12;
  pack[ipi + pcd::kIpiPixelSizeOffset + 1] = 50;
  pack[ipi + pcd::kIpiPhotofinisherOffset] = 'L';
  ImagePack* opened = nullptr;
  ASSERT_EQ(PcdOpenImagePack(dir.Write("IMG0001.PCD", pack).c_str(), opened), kPcdOk);
  ImagePackInfo info{};
  ASSERT_EQ(PcdGetImageInfo(opened, info), kPcdOk);
  EXPECT_EQ(info.discVersion, 0x0100);
  EXPECT_EQ(info.workstationVersion, 0x0203);
  EXPECT_EQ(info.magnification, 0x0132);
  EXPECT_EQ(info.scanTime, 0x2F000001u);
  EXPECT_EQ(info.modificationTime, 0x30000002u);
  EXPECT_EQ(info.mediaType, -1);
  EXPECT_EQ(std::memcmp(info.scannerVendor, "VENDOR\0", 7), 0);
  EXPECT_EQ(info.scannerPixelSize[0], 12);
  EXPECT_EQ(info.photofinisher[0], 'L');
  ImagePackInfo again{};
  ASSERT_EQ(PcdGetImageInfo(opened, again), kPcdOk);
  EXPECT_EQ(std::memcmp(&info, &again, sizeof info), 0);
  EXPECT_EQ(PcdCloseImagePack(opened), kPcdOk);
  EXPECT_EQ(PcdGetImageInfo(nullptr, info), kPcdInvalidArgument);
}

}  // namespace
