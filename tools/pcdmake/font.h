// A tiny 5 x 7 bitmap font for labels and text pages in the built-in scenes.
#pragma once
#include <string>

#include "image.h"
#include "imaging/dot_font.h"

namespace pcdmake {

// Draws text with its top-left corner at (x, y), each font dot scale x scale
// pixels; letters are upper-cased, unknown characters are left blank.
// Returns the x just after the text.
int DrawText(RgbImage& image, int x, int y, int scale, const std::string& text, const std::uint8_t rgb[3]);

constexpr int kGlyphAdvance = imaging::kDotGlyphAdvance;  // font dots per character, the gap included
constexpr int kGlyphHeight = imaging::kDotGlyphHeight;

}  // namespace pcdmake
