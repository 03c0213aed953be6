// A tiny 5 x 7 dot font (letters, digits, a little punctuation) for labels
// drawn without a font library: the sample disc's scenes, contact sheets.
#pragma once
#include <cstdint>

namespace imaging {

constexpr int kDotGlyphWidth = 5;
constexpr int kDotGlyphHeight = 7;
constexpr int kDotGlyphAdvance = 6;  // dots per character, the gap included

// The seven rows of c (upper-cased), five dots each with the leftmost in bit
// 4; null for a character the font lacks.
const std::uint8_t* dotGlyph(char c);

}  // namespace imaging
