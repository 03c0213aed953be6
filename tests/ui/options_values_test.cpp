#include <gtest/gtest.h>

#include "ui/options_values.h"

namespace {

using namespace options;

TEST(DelayTable, NearestEntryPrefersTheLaterOfTwoAndTextsRoundToTheirUnit) {
  // 7000 and 8000 are equally near 7500: the later entry wins.
  EXPECT_EQ(11, NearestDelayPosition(7500));
  EXPECT_EQ(8000u, kDelayTable[NearestDelayPosition(7500)]);
  EXPECT_EQ("(8 seconds)", DelayText(7500));
  EXPECT_EQ(0, NearestDelayPosition(0));
  EXPECT_EQ("(No delay)", DelayText(0));
  EXPECT_EQ("", DelayText(500));
  EXPECT_EQ("(1 second)", DelayText(1000));
  EXPECT_EQ("(60 seconds)", DelayText(59999));
  EXPECT_EQ("(2 minutes)", DelayText(90000));
  EXPECT_EQ(36, NearestDelayPosition(864000000));
  EXPECT_EQ("(10 days)", DelayText(864000000));
  // Beyond the table and at the top of the 32-bit range.
  EXPECT_EQ(36, NearestDelayPosition(0xFFFFFFFFu));
  EXPECT_EQ("(50 days)", DelayText(0xFFFFFFFFu));
}

TEST(DelayTable, OnlyPlainDigitsAreANumber) {
  std::uint32_t value = 1;
  EXPECT_TRUE(ParseUnsignedNumber("7500", &value));
  EXPECT_EQ(7500u, value);
  EXPECT_TRUE(ParseUnsignedNumber("4294967295", &value));
  for (const char* text : {"", "-5", "75a", " 75", "4294967296"}) EXPECT_FALSE(ParseUnsignedNumber(text, &value)) << text;
}

TEST(GammaField, UsesTheUsersDecimalSeparatorAndRefusesOutOfRange) {
  EXPECT_EQ("1,20", FormatGammaPosition(GammaPosition(1.2), ","));
  EXPECT_EQ("0.29", FormatGammaPosition(GammaPosition(0.29), "."));
  EXPECT_DOUBLE_EQ(1.5, ParseGammaText("1,5", ","));
  EXPECT_TRUE(GammaAcceptable(ParseGammaText("1,5", ",")));
  // "5" moves the spin to its top but is no acceptable value.
  EXPECT_EQ(kGammaMaxPosition, GammaPosition(ParseGammaText("5", ",")));
  EXPECT_FALSE(GammaAcceptable(5.0));
  EXPECT_TRUE(GammaAcceptable(ParseGammaText("0.10", ".")));
  EXPECT_FALSE(GammaAcceptable(ParseGammaText("0,09", ",")));
  EXPECT_FALSE(GammaAcceptable(ParseGammaText("abc", ".")));
  EXPECT_FALSE(GammaAcceptable(ParseGammaText("nan", ".")));
  EXPECT_EQ(kGammaMinPosition, GammaPosition(0.0 / 0.0));
}

TEST(DitherRows, MapBothWays) {
  for (int dither8 : {1, 2, 4}) EXPECT_EQ(dither8, Dither8FromRow(Dither8Row(dither8)));
  EXPECT_EQ(0, Dither8Row(7));
}

}  // namespace
