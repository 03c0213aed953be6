#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "pcd_test_files.h"
#include "rescue_map.h"

namespace {

// The manual's example, an edited map (decimal, octal, comments after
// blanks), and what is no mapfile.
TEST(RescueMap, ReadsTheAreasAndRefusesWhatIsNoMapfile) {
  PcdRescueMap map;
  std::string why;
  ASSERT_TRUE(PcdParseRescueMap("# Mapfile. Created by GNU ddrescue version 1.27\n0x00120000     ?   1\n"
                                "#      pos        size  status\n0x00000000  0x00117000  +\n0x00117000  0x00000200  -\n"
                                "0x00117200  0x00001000  /\n0x00118200  0x00007E00  *\n0x00120000  0x00048000  ?\n",
                                map, why)) << why;
  EXPECT_EQ(map.unread, (std::vector<std::pair<std::uint64_t, std::uint64_t>>{{0x117000, 0x168000}}));
  ASSERT_TRUE(PcdParseRescueMap("0 + 1 # done\n0 4096 +\n4096 010 -\n4104 100 +\n4204 2 *\n", map, why)) << why;
  EXPECT_TRUE(map.Readable(0, 4096) && map.Readable(4104, 4204));
  EXPECT_FALSE(map.Readable(4095, 4097) || map.Readable(4103, 4105) || map.Readable(4200, 4205) || map.Readable(4206, 4207));
  for (const char* text : {"", "0x0 X 1\n", "0 + 1\n0 100 +\n200 100 -\n", "0 + 1\n0 100 x\n", "0 + 1\n0 100 + 7\n"})
    EXPECT_FALSE(PcdParseRescueMap(text, map, why)) << text;
}

// A mapfile that ddrescue itself wrote while copying part of a file.
TEST(RescueMap, ReadsAMapThatDdrescueWrote) {
  if (std::system("ddrescue --version > /dev/null 2>&1") != 0) GTEST_SKIP() << "ddrescue is not installed";
  TempDir dir;
  const std::string source = dir.Write("source.bin", Bytes(40960, 7));
  const std::string copy = dir.path().string() + "/copy.iso", mapfile = dir.path().string() + "/copy.map";
  const std::string command = "ddrescue -q -s 8192 '" + source + "' '" + copy + "' '" + mapfile + "'";
  ASSERT_EQ(std::system(command.c_str()), 0);
  PcdRescueMap map;
  std::string why;
  ASSERT_EQ(PcdReadRescueMap(mapfile, map, why), kPcdOk) << why;
  EXPECT_TRUE(map.Readable(0, 8192));
  EXPECT_FALSE(map.Readable(8192, 8193));
  // Beside a disc image it is found without being named.
  std::shared_ptr<const PcdRescueMap> found;
  ASSERT_EQ(PcdRescueMapOf(copy, true, found, why), kPcdOk) << why;
  ASSERT_TRUE(found);
  EXPECT_EQ(found->unread, map.unread);
  ASSERT_EQ(PcdRescueMapOf(copy, false, found, why), kPcdOk);
  EXPECT_FALSE(found);
}

}  // namespace
