#include <gtest/gtest.h>

#include <cstring>

#include "properties/photo_properties_text.h"

namespace {

using namespace pcdprops;

TEST(PropertiesText, NumbersAsThePagesShowThem) {
  EXPECT_EQ("1.50", FormatRecordedPair(0x0132));
  EXPECT_EQ("", FormatRecordedPair(0xFFFF));
  EXPECT_EQ("2.03", FormatByteVersion(0x0203));
  EXPECT_EQ("1.00", FormatByteVersion(0x0100));
}

TEST(PropertiesText, PixelSizeIsDecimalCodedWhenBothBytesAreDecimalDigits) {
  const std::uint8_t binary[2] = {0x0C, 0x05}, decimal[2] = {0x11, 0x48}, none[2] = {0xFF, 0xFF};
  EXPECT_EQ("12.05 microns", FormatPixelSize(binary));
  // 11.48 micrometres x 3072 pixels is the 35.3 mm width of a 35 mm frame.
  EXPECT_EQ("11.48 microns", FormatPixelSize(decimal));
  EXPECT_EQ("", FormatPixelSize(none));
  const std::uint8_t mixed[2] = {0x09, 0xC8};  // second byte no decimal pair: both binary
  EXPECT_EQ("9.200 microns", FormatPixelSize(mixed));
}

TEST(PropertiesText, MediaTypesAndFields) {
  EXPECT_STREQ("Unknown", MediaTypeText(9));
  EXPECT_EQ(120, MediaTypeStringId(9));
  EXPECT_STREQ("n/a", MediaTypeText(-1));
  EXPECT_EQ(109, MediaTypeStringId(-1));
  EXPECT_STREQ("Internegative", MediaTypeText(7));
  EXPECT_EQ(118, MediaTypeStringId(7));

  ImagePackInfo info{};
  std::memset(info.scannerVendor, ' ', sizeof info.scannerVendor);
  EXPECT_EQ("", FieldText(info.scannerVendor));
  std::memcpy(info.scannerVendor, "Lab  ", 5);
  EXPECT_EQ("Lab", FieldText(info.scannerVendor));
  info.photofinisher[0] = static_cast<char>(0xFF);
  EXPECT_EQ("", PhotofinisherText(info));
}

TEST(PropertiesText, LevelBoxesOfA4BasePhotoAndOfAnExtension) {
  const std::uint8_t noExtension[2] = {0, 0}, extension[2] = {0, 0x60};
  const int expected4Base[] = {1, 1, 1, 1, 1, 0, 0};
  for (int level = 0; level < 7; ++level) EXPECT_EQ(expected4Base[level], LevelBoxState(0x1F, noExtension, level));
  EXPECT_EQ(1, LevelBoxState(0x7F, extension, 4));
  EXPECT_EQ(2, LevelBoxState(0x7F, extension, 6));
  EXPECT_EQ(0, LevelBoxState(0x3F, extension, 6));
}

}  // namespace
