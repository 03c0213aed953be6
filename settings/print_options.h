// The print setup values, kept as one packed 49-byte block in the settings.
// Packed fields may be unaligned: copy them, never bind references or pointers
// to them (EXPECT_EQ and std::min take references).
#pragma once
#include <cstdint>

#pragma pack(push, 1)
struct PrintOptions {
  float leftMargin = 1.0f;  // inches
  float rightMargin = 1.0f;
  float topMargin = 1.0f;
  float bottomMargin = 1.0f;
  std::uint8_t position = 1;  // 0..8, row-major 3 x 3 grid
  std::uint8_t sizeMode = 0;  // 0 fit to page, 1 specified size, 2 thumbnails
  std::uint8_t keepAspectRatio = 1;
  std::uint8_t reserved1 = 0;
  std::uint8_t showPhotoNumber = 0;
  std::uint8_t showDate = 0;
  std::uint8_t captionChoice = 1;
  std::uint8_t descriptionChoice = 1;
  std::uint8_t photographerChoice = 1;
  std::int16_t renderingDpi = 300;
  std::uint8_t gammaCorrection = 0;
  std::uint8_t reserved2 = 0;
  float gammaValue = 1.2f;
  float specifiedWidth = 6.0f;  // inches
  float specifiedHeight = 6.0f;
  float thumbnailWidth = 1.0f;  // inches
  float thumbnailHeight = 1.0f;
};
#pragma pack(pop)

static_assert(sizeof(PrintOptions) == 49, "the stored print block is 49 bytes");
