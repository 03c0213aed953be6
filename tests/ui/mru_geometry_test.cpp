#include <gtest/gtest.h>

#include "ui/mru_list.h"
#include "ui/mul_div.h"
#include "ui/window_geometry.h"

namespace {

std::vector<unsigned char> Bytes(const std::string& text) {
  return std::vector<unsigned char>(text.begin(), text.end());
}

TEST(MruListTest, ValueFormatRoundTrips) {
  EXPECT_EQ(Bytes(std::string("\0", 1)), EncodeMruList({}));
  EXPECT_EQ(Bytes(std::string("C:\\a\0D:\\b\0\0", 11)), EncodeMruList({"C:\\a", "D:\\b"}));
  EXPECT_EQ((MruList{"C:\\a", "D:\\b"}), DecodeMruList(Bytes(std::string("C:\\a\0D:\\b\0\0", 11))));
  EXPECT_TRUE(DecodeMruList({}).empty());
}

TEST(MruListTest, DecodingStopsAtAnEmptyTextAndToleratesAMissingEnd) {
  EXPECT_EQ((MruList{"a"}), DecodeMruList(Bytes(std::string("a\0\0b\0\0", 6))));
  EXPECT_EQ((MruList{"a", "bc"}), DecodeMruList(Bytes(std::string("a\0bc", 4))));
}

TEST(MruListTest, PromotingAnExistingEntryKeepsTheOthersInOrder) {
  MruList list{"one", "two", "Three", "four"};
  PromoteMruEntry(list, "three");
  EXPECT_EQ((MruList{"three", "one", "two", "four"}), list);
  PromoteMruEntry(list, "five");
  EXPECT_EQ((MruList{"five", "three", "one", "two", "four"}), list);
}

TEST(MruListTest, TrimmingByCountThenBytes) {
  MruList list;
  for (int i = 0; i < 21; ++i) list.push_back("entry" + std::to_string(i));
  TrimMruList(list, 20, 0);
  ASSERT_EQ(20u, list.size());
  EXPECT_EQ("entry19", list.back());

  MruList small{"aaa", "bb", "c"};
  TrimMruList(small, 0, 1 + 4 + 3);  // room for "aaa" and "bb", not "c"
  EXPECT_EQ((MruList{"aaa", "bb"}), small);
  TrimMruList(small, 0, 4);
  EXPECT_TRUE(small.empty());
}

TEST(MulDivRoundedTest, RoundsHalvesAwayFromZeroLikeThePlatform) {
  EXPECT_EQ(67, MulDivRounded(8, 600, 72));  // 66.67: an 8-point line at 600 dpi
  EXPECT_EQ(3, MulDivRounded(5, 1, 2));
  EXPECT_EQ(-3, MulDivRounded(5, 1, -2));
  EXPECT_EQ(2000000000, MulDivRounded(2000000000, 2000000000, 2000000000));  // 64-bit product
  EXPECT_EQ(-1, MulDivRounded(1, 1, 0));
  EXPECT_EQ(-1, MulDivRounded(2000000000, 4, 2));  // does not fit an int
}

TEST(WindowGeometryTest, CentresOnTheOwnerWithinTheScreen) {
  PixelPoint p = CentredOrigin({0, 0, 200, 100}, {100, 100, 500, 400}, 1024, 768);
  EXPECT_EQ(200, p.x);
  EXPECT_EQ(200, p.y);
  p = CentredOrigin({0, 0, 201, 101}, {0, 0, 400, 300}, 1024, 768);  // odd sizes round up
  EXPECT_EQ(99, p.x);
  EXPECT_EQ(99, p.y);
  p = CentredOrigin({0, 0, 300, 200}, {900, 700, 1020, 760}, 1024, 768);
  EXPECT_EQ(1024 - 300 - 1, p.x);
  EXPECT_EQ(768 - 200 - 1, p.y);
  p = CentredOrigin({0, 0, 300, 200}, {-50, -50, 10, 10}, 1024, 768);
  EXPECT_EQ(0, p.x);
  EXPECT_EQ(0, p.y);
}

TEST(WindowGeometryTest, WindowLargerThanTheScreenGoesToTheCorner) {
  PixelPoint p = CentredOrigin({0, 0, 2000, 1000}, {0, 0, 1024, 768}, 1024, 768);
  EXPECT_EQ(0, p.x);
  EXPECT_EQ(0, p.y);
}

TEST(WindowGeometryTest, NormaliseAndClip) {
  imaging::PixelRect r = NormaliseRect(50, 40, 10, 80);
  EXPECT_EQ(10, r.left);
  EXPECT_EQ(40, r.top);
  EXPECT_EQ(50, r.right);
  EXPECT_EQ(80, r.bottom);
  r = NormaliseAndClip(120, -5, 10, 30, {0, 0, 100, 20});
  EXPECT_EQ(10, r.left);
  EXPECT_EQ(0, r.top);
  EXPECT_EQ(100, r.right);
  EXPECT_EQ(20, r.bottom);
}

}  // namespace
