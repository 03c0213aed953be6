// What the decoder writes per pixel.
#pragma once
#include <cstdint>

enum class OutputFormat : std::uint8_t {
  LumaOnly = 10,  // one byte: luma
  Rgb24 = 11,     // B, G, R
  RawYcc24 = 12,  // luma, chroma 1, chroma 2 in the places of B, G, R
  Indexed8 = 13,  // one byte: index into the 3-3-2 palette
};
