#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "pcd_test_files.h"
#include "rescue_map.h"

namespace {

TEST(RescueMap, ReadsTheAreasAndRefusesWhatIsNoMapfile) {
  struct Case {
    const char* text;
    bool valid;
    std::vector<std::pair<std::uint64_t, std::uint64_t>> unread;
  } cases[] = {
      {"# Mapfile. Created by GNU ddrescue version 1.27\n# current_pos  current_status  current_pass\n"
       "0x00120000     ?               1\n#      pos        size  status\n0x00000000  0x00117000  +\n"
       "0x00117000  0x00000200  -\n0x00117200  0x00001000  /\n0x00118200  0x00007E00  *\n0x00120000  0x00048000  ?\n",
       true, {{0x117000, 0x168000}}},
      // Decimal and octal as an edited map may hold; comments after blanks; '+' between bad areas.
      {"0 + 1 # done\n0 4096 +\n4096 010 -\n4104 100 +\n4204 2 *\n", true, {{4096, 4104}, {4204, 4206}}},
      {"0 + 1\n", true, {}},
      {"", false, {}},
      {"0x0 X 1\n", false, {}},               // no such phase
      {"0 + 1\n0 100 +\n200 100 -\n", false, {}},  // a gap between areas
      {"0 + 1\n0 100 x\n", false, {}},        // no such status
      {"0 + 1\n0 100 + 7\n", false, {}},      // a word too many
      {"0 + 1\n0 -100 +\n", false, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    PcdRescueMap map;
    std::string why;
    EXPECT_EQ(PcdParseRescueMap(c.text, map, why), c.valid) << why;
    if (c.valid) EXPECT_EQ(map.unread, c.unread);
    else EXPECT_FALSE(why.empty());
  }
  PcdRescueMap map;
  std::string why;
  ASSERT_TRUE(PcdParseRescueMap("0 + 1\n0 4096 +\n4096 2048 -\n6144 4096 +\n", map, why));
  EXPECT_TRUE(map.Readable(0, 4096));
  EXPECT_FALSE(map.Readable(4095, 4097));
  EXPECT_FALSE(map.Readable(6143, 6145));
  EXPECT_TRUE(map.Readable(6144, 10240));
  EXPECT_FALSE(map.Readable(8192, 10241));  // past what the map covers
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
