#include <gtest/gtest.h>

#include <cstring>

#include "disc_info.h"
#include "pcd_test_files.h"

namespace {

PcdStatus ReadBytes(const Bytes& bytes, DiscInfo& info) {
  TempDir dir;
  return PcdReadDiscInfo(dir.Write("INFO.PCD", bytes).c_str(), info);
}

TEST(DiscInfo, ReadsFieldsAndConvertsBigEndianNumbers) {
  DiscInfo info{};
  ASSERT_EQ(ReadBytes(DiscInfoBytes(1, 0, 0x12345678, 0x0000ABCD), info), kPcdOk);
  EXPECT_EQ(std::memcmp(info.signature, "PHOTO_CD", 8), 0);
  EXPECT_EQ(std::memcmp(info.serialNumber, "SERIAL000042", 12), 0);
  EXPECT_EQ(info.creationTime, 0x12345678u);
  EXPECT_EQ(info.secondTime, 0x0000ABCDu);
  EXPECT_EQ(info.word32, 0x1234);
  EXPECT_EQ(info.byte39, 0x77);
}

TEST(DiscInfo, VersionWordMustReachHalf) {
  DiscInfo info{};
  EXPECT_EQ(ReadBytes(DiscInfoBytes(0, 5, 0, 0), info), kPcdOk);
  EXPECT_EQ(ReadBytes(DiscInfoBytes(1, 0, 0, 0), info), kPcdOk);
  EXPECT_EQ(ReadBytes(DiscInfoBytes(0, 4, 0, 0), info), kPcdBadVersion);
  EXPECT_EQ(ReadBytes(DiscInfoBytes(0, 0, 0, 0), info), kPcdBadVersion);
}

TEST(DiscInfo, RefusesWrongSignature) {
  Bytes bytes = DiscInfoBytes(1, 0, 0, 0);
  bytes[7] = 'X';
  DiscInfo info{};
  EXPECT_EQ(ReadBytes(bytes, info), kPcdBadSignature);
}

TEST(DiscInfo, ShortFileIsAReadFailure) {
  DiscInfo info{};
  Bytes bytes = DiscInfoBytes(1, 0, 0, 0);
  bytes.resize(37);  // the last one-byte field is missing
  EXPECT_EQ(ReadBytes(bytes, info), kPcdReadFailed);
  bytes.resize(24);  // the creation time is cut in half
  EXPECT_EQ(ReadBytes(bytes, info), kPcdReadFailed);
  EXPECT_EQ(ReadBytes(Bytes{}, info), kPcdReadFailed);
}

TEST(DiscInfo, MissingFileFailsToOpen) {
  TempDir dir;
  DiscInfo info{};
  EXPECT_EQ(PcdReadDiscInfo(dir.Join("INFO.PCD").c_str(), info), kPcdOpenFailed);
  EXPECT_EQ(PcdReadDiscInfo(nullptr, info), kPcdOpenFailed);
}

}  // namespace
