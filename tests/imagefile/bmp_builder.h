// Builds BMP files in memory for tests.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

namespace bmp_builder {

inline void le16(std::vector<std::uint8_t>& v, std::size_t at, unsigned x) {
  v[at] = static_cast<std::uint8_t>(x);
  v[at + 1] = static_cast<std::uint8_t>(x >> 8);
}
inline void le32(std::vector<std::uint8_t>& v, std::size_t at, std::uint32_t x) {
  for (int i = 0; i < 4; ++i) v[at + i] = static_cast<std::uint8_t>(x >> (8 * i));
}

// value(x, y) gives the pixel of image row y (0 = top): an index for <= 8
// bits, 0x00RRGGBB for 24 and 32 bits, a 5-5-5 word for 16 bits.
// palette holds 0x00RRGGBB entries; empty means a grey ramp.
inline std::vector<std::uint8_t> make(int width, int height, int bits, std::function<std::uint32_t(int, int)> value,
                                      std::vector<std::uint32_t> palette = {}, bool topDown = false) {
  int entries = bits <= 8 ? 1 << bits : 0;
  if (entries && palette.empty())
    for (int i = 0; i < entries; ++i) {
      std::uint32_t g = static_cast<std::uint32_t>(i * 255 / (entries - 1));
      palette.push_back(g << 16 | g << 8 | g);
    }
  std::size_t stride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
  std::uint32_t offset = 54 + 4 * static_cast<std::uint32_t>(palette.size());
  std::vector<std::uint8_t> f(offset + stride * height, 0);
  f[0] = 'B';
  f[1] = 'M';
  le32(f, 2, static_cast<std::uint32_t>(f.size()));
  le32(f, 10, offset);
  le32(f, 14, 40);
  le32(f, 18, static_cast<std::uint32_t>(width));
  le32(f, 22, static_cast<std::uint32_t>(topDown ? -height : height));
  le16(f, 26, 1);
  le16(f, 28, static_cast<unsigned>(bits));
  le32(f, 46, static_cast<std::uint32_t>(bits <= 8 ? palette.size() : 0));
  for (std::size_t i = 0; i < palette.size(); ++i) le32(f, 54 + 4 * i, palette[i]);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = &f[offset + stride * (topDown ? y : height - 1 - y)];
    for (int x = 0; x < width; ++x) {
      std::uint32_t v = value(x, y);
      switch (bits) {
        case 1: row[x / 8] |= static_cast<std::uint8_t>((v & 1) << (7 - x % 8)); break;
        case 4: row[x / 2] |= static_cast<std::uint8_t>((v & 15) << (x % 2 ? 0 : 4)); break;
        case 8: row[x] = static_cast<std::uint8_t>(v); break;
        case 16: row[2 * x] = static_cast<std::uint8_t>(v); row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8); break;
        default:
          for (int c = 0; c < bits / 8; ++c) row[x * (bits / 8) + c] = static_cast<std::uint8_t>(c < 3 ? v >> (8 * c) : 0);
      }
    }
  }
  return f;
}

}  // namespace bmp_builder
