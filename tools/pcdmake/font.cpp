#include "font.h"

#include <cstring>

namespace pcdmake {

int DrawText(RgbImage& image, int x, int y, int scale, const std::string& text, const std::uint8_t rgb[3]) {
  for (char c : text) {
    if (const std::uint8_t* rows = imaging::dotGlyph(c))
      for (int row = 0; row < kGlyphHeight; ++row)
        for (int col = 0; col < imaging::kDotGlyphWidth; ++col) {
          if (!(rows[row] & (0x10 >> col))) continue;
          for (int dy = 0; dy < scale; ++dy)
            for (int dx = 0; dx < scale; ++dx) {
              const int px = x + col * scale + dx, py = y + row * scale + dy;
              if (px >= 0 && py >= 0 && px < image.width && py < image.height) std::memcpy(image.Pixel(px, py), rgb, 3);
            }
        }
    x += kGlyphAdvance * scale;
  }
  return x;
}

}  // namespace pcdmake
