// RGB to PhotoYCC as the exact inverse of the toolkit's colour conversion
// (luma and chroma tables, then the output curve), and that forward
// conversion itself for checking round trips.
#pragma once
#include <cstdint>

#include "image.h"

namespace pcdmake {

struct YccSample {
  float y, c1, c2;  // unrounded codes; chroma centred on 156 and 137
};

// The YCC codes whose decoding through the toolkit's tables gives r, g, b
// back as closely as the 8-bit codes allow.
YccSample RgbToYcc(std::uint8_t r, std::uint8_t g, std::uint8_t b);

// The toolkit's conversion of one PhotoYCC sample to R, G, B.
void YccToRgb(std::uint8_t y, std::uint8_t c1, std::uint8_t c2, std::uint8_t rgb[3]);

// Full-resolution luma and chroma planes of a picture.
struct YccPlanes {
  Plane luma, c1, c2;
};
YccPlanes ConvertToYcc(const RgbImage& image);

}  // namespace pcdmake
