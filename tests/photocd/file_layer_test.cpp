#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "pcd_file.h"
#include "pcd_test_files.h"

namespace {

Bytes Pattern(std::size_t size) {
  Bytes bytes(size);
  for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  return bytes;
}

Bytes ReadAll(const std::string& path, std::uint32_t size, PcdStatus& status) {
  Bytes bytes(size);
  PcdFile* file = nullptr;
  status = PcdFileOpen(path.c_str(), file);
  if (status != kPcdOk) return {};
  std::uint32_t got = 0;
  status = PcdFileRead(file, bytes.data(), size, got);
  bytes.resize(got);
  EXPECT_EQ(PcdFileClose(file), kPcdOk);
  return bytes;
}

TEST(FileLayer, LongReadsArriveWholeAndStopAtTheEnd) {
  TempDir dir;
  const Bytes content = Pattern(100000);  // several 32768-byte pieces and a short one
  std::string path = dir.Write("data.bin", content);
  PcdStatus status;
  EXPECT_EQ(ReadAll(path, 100000, status), content);
  EXPECT_EQ(ReadAll(path, 150000, status), content);
  EXPECT_EQ(status, kPcdOk);
}

TEST(FileLayer, SeekMovesTheReadPosition) {
  TempDir dir;
  const Bytes content = Pattern(5000);
  PcdFile* file = nullptr;
  ASSERT_EQ(PcdFileOpen(dir.Write("data.bin", content).c_str(), file), kPcdOk);
  std::uint8_t byte = 0;
  std::uint32_t got = 0;
  ASSERT_EQ(PcdFileSeek(file, 4321), kPcdOk);
  ASSERT_EQ(PcdFileRead(file, &byte, 1, got), kPcdOk);
  EXPECT_EQ(got, 1u);
  EXPECT_EQ(byte, content[4321]);
  ASSERT_EQ(PcdFileSeek(file, 9000), kPcdOk);  // past the end: reads give nothing
  ASSERT_EQ(PcdFileRead(file, &byte, 1, got), kPcdOk);
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(PcdFileSeek(file, 0x80000000u), kPcdSeekFailed);
  EXPECT_EQ(PcdFileClose(file), kPcdOk);
}

TEST(FileLayer, DiscNamesFindLowerCaseAndVersionedFiles) {
  TempDir dir;
  dir.Write("photo_cd/images/img0001.pcd", Bytes{1});
  dir.Write("photo_cd/images/IMG0002.PCD;1", Bytes{2});
  dir.Write("photo_cd/INFO.PCD;1", Bytes{3});
  EXPECT_TRUE(PcdFileExists(dir.Join("PHOTO_CD\\IMAGES\\IMG0001.PCD;1").c_str()));
  EXPECT_TRUE(PcdFileExists(dir.Join("PHOTO_CD\\IMAGES\\IMG0001.PCD").c_str()));
  EXPECT_TRUE(PcdFileExists(dir.Join("photo_cd/images/img0002.pcd").c_str()));
  EXPECT_TRUE(PcdFileExists(dir.Join("Photo_CD\\..\\photo_cd\\Images/IMG0002.PCD;1").c_str()));
  EXPECT_TRUE(PcdFileExists(dir.Join("photo_cd\\info.pcd").c_str()));
  EXPECT_FALSE(PcdFileExists(dir.Join("PHOTO_CD\\IMAGES\\IMG0003.PCD").c_str()));
  EXPECT_FALSE(PcdFileExists(dir.Join("PHOTO_CD\\IMAGES\\IMG0001.PC").c_str()));
  EXPECT_FALSE(PcdFileExists(dir.Join("PHOTO_CD\\IMAGES").c_str()));  // a folder is not a file
  PcdStatus status;
  EXPECT_EQ(ReadAll(dir.Join("PHOTO_CD\\IMAGES\\IMG0002.PCD"), 4, status), Bytes{2});
}

TEST(FileLayer, RelativePathsStartFromTheCurrentFolder) {
  TempDir dir;
  dir.Write("photo_cd/info.pcd", Bytes{9});
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  EXPECT_TRUE(PcdFileExists("PHOTO_CD\\INFO.PCD"));
  EXPECT_TRUE(PcdFileExists(".\\PHOTO_CD\\INFO.PCD;1"));
  PcdStatus status;
  EXPECT_EQ(ReadAll("photo_cd/INFO.PCD", 1, status), Bytes{9});
  std::filesystem::current_path(previous);
}

TEST(FileLayer, OpenFailures) {
  TempDir dir;
  dir.Write("sub/file", Bytes{1});
  PcdFile* file = reinterpret_cast<PcdFile*>(&dir);
  EXPECT_EQ(PcdFileOpen(dir.Join("nothing").c_str(), file), kPcdOpenFailed);
  EXPECT_EQ(file, nullptr);
  EXPECT_EQ(PcdFileOpen(dir.Join("sub").c_str(), file), kPcdOpenFailed);  // a folder
  EXPECT_EQ(PcdFileOpen("", file), kPcdOpenFailed);
  EXPECT_EQ(PcdFileOpen(dir.Join(std::string(300, 'x')).c_str(), file), kPcdOpenFailed);
  EXPECT_EQ(PcdFileClose(nullptr), kPcdInvalidArgument);
}

}  // namespace
