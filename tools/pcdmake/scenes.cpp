#include "scenes.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "font.h"

namespace pcdmake {
namespace {

constexpr double kPi = 3.14159265358979323846;

std::uint32_t Hash(std::uint32_t x, std::uint32_t y, std::uint32_t seed) {
  std::uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
  h ^= h >> 13;
  h *= 0x5BD1E995u;
  return h ^ (h >> 15);
}

double Random01(std::uint32_t x, std::uint32_t y, std::uint32_t seed) { return (Hash(x, y, seed) & 0xFFFFFF) / 16777216.0; }

// Smoothly interpolated lattice noise in 0..1.
double Noise(double x, double y, std::uint32_t seed) {
  const double fx = std::floor(x), fy = std::floor(y);
  const auto ix = static_cast<std::uint32_t>(static_cast<std::int64_t>(fx)), iy = static_cast<std::uint32_t>(static_cast<std::int64_t>(fy));
  double tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  const double a = Random01(ix, iy, seed), b = Random01(ix + 1, iy, seed);
  const double c = Random01(ix, iy + 1, seed), d = Random01(ix + 1, iy + 1, seed);
  return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
}

double Fractal(double x, double y, std::uint32_t seed, int octaves) {
  double sum = 0, amplitude = 0.5;
  for (int i = 0; i < octaves; ++i, x *= 2.03, y *= 2.03, amplitude *= 0.5) sum += amplitude * Noise(x, y, seed + i);
  return sum;
}

struct Colour {
  double r, g, b;
};

Colour Mix(Colour a, Colour b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

void Put(RgbImage& img, int x, int y, Colour c) {
  std::uint8_t* p = img.Pixel(x, y);
  p[0] = static_cast<std::uint8_t>(std::clamp(c.r, 0.0, 255.0));
  p[1] = static_cast<std::uint8_t>(std::clamp(c.g, 0.0, 255.0));
  p[2] = static_cast<std::uint8_t>(std::clamp(c.b, 0.0, 255.0));
}

void FillRect(RgbImage& img, int x0, int y0, int x1, int y1, Colour c) {
  for (int y = std::max(0, y0); y < std::min(img.height, y1); ++y)
    for (int x = std::max(0, x0); x < std::min(img.width, x1); ++x) Put(img, x, y, c);
}

Colour Hue(double h) {  // fully saturated colour around the wheel, h in 0..1
  const double r = std::clamp(std::fabs(h * 6 - 3) - 1, 0.0, 1.0);
  const double g = std::clamp(2 - std::fabs(h * 6 - 2), 0.0, 1.0);
  const double b = std::clamp(2 - std::fabs(h * 6 - 4), 0.0, 1.0);
  return {255 * r, 255 * g, 255 * b};
}

void Label(RgbImage& img, const std::string& text, int scale, int x, int y, Colour c) {
  const std::uint8_t rgb[3] = {static_cast<std::uint8_t>(c.r), static_cast<std::uint8_t>(c.g), static_cast<std::uint8_t>(c.b)};
  DrawText(img, x, y, scale, text, rgb);
}

// Colour chart: patches, a grey wedge, a hue band, a zone plate and line pairs.
void Chart(RgbImage& img, unsigned seed) {
  static const Colour kPatches[24] = {
      {115, 82, 68}, {194, 150, 130}, {98, 122, 157}, {87, 108, 67}, {133, 128, 177}, {103, 189, 170},
      {214, 126, 44}, {80, 91, 166}, {193, 90, 99}, {94, 60, 108}, {157, 188, 64}, {224, 163, 46},
      {56, 61, 150}, {70, 148, 73}, {175, 54, 60}, {231, 199, 31}, {187, 86, 149}, {8, 133, 161},
      {243, 243, 242}, {200, 200, 200}, {160, 160, 160}, {122, 122, 121}, {85, 85, 85}, {52, 52, 52}};
  const int w = img.width, h = img.height, u = std::min(w, h) / 64;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Put(img, x, y, Mix({70, 70, 74}, {110, 108, 104}, static_cast<double>(y) / h));
  const int pw = w * 9 / 16 / 6, ph = h / 2 / 4;
  for (int i = 0; i < 24; ++i) {
    const int px = u + (i % 6) * pw, py = u + (i / 6) * ph;
    FillRect(img, px + u / 2, py + u / 2, px + pw - u / 2, py + ph - u / 2, kPatches[(i + seed) % 24]);
  }
  const int wedgeTop = h / 2 + 2 * u, wedgeH = h / 10;
  for (int i = 0; i < 16; ++i) {
    const double v = 255.0 * i / 15;
    FillRect(img, u + i * (w - 2 * u) / 16, wedgeTop, u + (i + 1) * (w - 2 * u) / 16, wedgeTop + wedgeH, {v, v, v});
  }
  const int bandTop = wedgeTop + wedgeH + u, bandBottom = h - 5 * u;
  for (int y = bandTop; y < bandBottom; ++y)
    for (int x = u; x < w - u; ++x) {
      const double t = static_cast<double>(y - bandTop) / (bandBottom - bandTop);
      const Colour c = Hue(static_cast<double>(x - u) / (w - 2 * u));
      Put(img, x, y, t < 0.5 ? Mix({255, 255, 255}, c, t * 2) : Mix(c, {0, 0, 0}, (t - 0.5) * 2));
    }
  const int zx = w * 5 / 8, zs = h / 2 - u, zc = zs / 2;
  for (int y = 0; y < zs; ++y)
    for (int x = 0; x < zs; ++x) {
      const double r2 = static_cast<double>((x - zc) * (x - zc) + (y - zc) * (y - zc));
      const double v = 127.5 + 127.5 * std::cos(kPi * r2 / (2.0 * zs));
      Put(img, zx + x, u + y, {v, v, v});
    }
  for (int y = u; y < u + zs; ++y)
    for (int x = zx + zs + u; x < w - u; ++x) {
      const int period = 2 + (y - u) * 10 / zs;
      const double v = (x / period) % 2 ? 235 : 20;
      Put(img, x, y, {v, v, v});
    }
  Label(img, "LUMIVEXA CHART " + std::to_string(seed), std::max(1, u / 3), u, h - 4 * u, {240, 240, 240});
}

// Streets of houses with window grids under an evening sky.
void City(RgbImage& img, unsigned seed) {
  const int w = img.width, h = img.height;
  const double sunX = 0.2 + 0.6 * Random01(seed, 1, 7);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double t = static_cast<double>(y) / h;
      Colour sky = Mix({30, 60, 140}, {250, 170, 110}, t);
      const double dx = static_cast<double>(x) / w - sunX, dy = t - 0.55;
      sky = Mix(sky, {255, 240, 200}, std::exp(-(dx * dx + dy * dy) * 40));
      Put(img, x, y, sky);
    }
  int x = 0;
  for (int i = 0; x < w; ++i) {
    const int bw = w / 14 + static_cast<int>(Random01(i, 2, seed) * w / 10);
    const int top = h / 6 + static_cast<int>(Random01(i, 3, seed) * h / 2);
    const Colour wall = Mix({60, 55, 70}, {170, 140, 120}, Random01(i, 4, seed));
    for (int y = top; y < h; ++y)
      for (int xx = x; xx < std::min(w, x + bw); ++xx) {
        const double grain = 14 * (Random01(xx, y, seed + i) - 0.5);
        Put(img, xx, y, {wall.r + grain, wall.g + grain, wall.b + grain});
      }
    const int cell = std::max(6, bw / 7);
    for (int wy = top + cell; wy + cell < h - h / 8; wy += cell * 3 / 2)
      for (int wx = x + cell / 2; wx + cell < x + bw; wx += cell * 3 / 2) {
        const bool lit = Random01(wx, wy, seed) < 0.45;
        FillRect(img, wx, wy, wx + cell, wy + cell, lit ? Colour{255, 214, 120} : Colour{25, 30, 45});
      }
    x += bw + w / 200;
  }
  FillRect(img, 0, h - h / 8, w, h, {45, 45, 48});
  for (int xx = 0; xx < w; xx += w / 12) FillRect(img, xx, h - h / 16, xx + w / 24, h - h / 16 + h / 200 + 1, {230, 230, 210});
  Label(img, "LUMIVEXA AVENUE " + std::to_string(seed), std::max(1, w / 400), w / 20, h - h / 10, {250, 250, 250});
}

// Grassy hills with flowers: fine texture everywhere.
void Meadow(RgbImage& img, unsigned seed) {
  const int w = img.width, h = img.height;
  const double scale = 3072.0 / std::max(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double fx = x * scale, fy = y * scale;
      const double hill = h * (0.35 + 0.12 * Fractal(fx / 700.0, 0.0, seed, 3));
      if (y < hill) {
        const double cloud = Fractal(fx / 300.0, fy / 120.0, seed + 11, 4);
        Put(img, x, y, Mix(Mix({90, 140, 220}, {200, 220, 245}, static_cast<double>(y) / hill), {250, 250, 250},
                           std::clamp((cloud - 0.5) * 3, 0.0, 1.0)));
        continue;
      }
      const double blades = Noise(fx / 1.7, fy / 9.0, seed + 3);
      const double patches = Fractal(fx / 160.0, fy / 160.0, seed + 5, 4);
      Colour grass = Mix({40, 90, 25}, {150, 190, 60}, patches);
      grass = Mix(grass, {20, 50, 10}, 0.6 * blades * (y - hill) / (h - hill));
      if (Random01(x / 9, y / 9, seed + 17) > 0.985) grass = Hue(Random01(x / 9, y / 9, seed + 19));
      Put(img, x, y, grass);
    }
  Label(img, "MEADOW " + std::to_string(seed), std::max(1, w / 500), w / 30, h / 20, {40, 40, 60});
}

// A printed page: text in several sizes on fibrous paper with ruled lines.
void Page(RgbImage& img, unsigned seed) {
  const int w = img.width, h = img.height;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double fibre = Noise(x / 2.5, y / 14.0, seed) * 18 + Random01(x, y, seed) * 6;
      Colour paper{246 - fibre, 240 - fibre, 222 - fibre};
      if (y % (h / 40) == 0) paper = {150, 170, 210};
      Put(img, x, y, paper);
    }
  static const char* kWords[] = {"photo", "disc", "light", "grain", "colour", "lens", "film", "print", "scan",
                                 "sharp", "detail", "shadow", "harbour", "city", "meadow", "frame", "level", "base"};
  const int line = h / 40;
  Label(img, "THE LUMIVEXA GAZETTE", std::max(1, line / 7), w / 12, line, {20, 20, 30});
  for (int row = 3; row < 39; ++row) {
    const int scale = std::max(1, (row < 12 ? line / 9 : line / 14));
    int x = w / 12;
    for (int word = 0; x < w * 11 / 12; ++word) {
      const std::string text = kWords[Hash(row, word, seed) % 18];
      if (x + static_cast<int>(text.size() + 1) * kGlyphAdvance * scale > w * 11 / 12) break;
      Label(img, text, scale, x, row * line + line - kGlyphHeight * scale - 2, {25, 25, 35});
      x += static_cast<int>(text.size() + 1) * kGlyphAdvance * scale;
    }
  }
  const int cx = w * 3 / 4, cy = h * 3 / 4, r = std::min(w, h) / 8;
  for (int y = cy - r; y < cy + r; ++y)
    for (int x = cx - r; x < cx + r; ++x) {
      const double d = std::hypot(x - cx, y - cy);
      if (d < r && d > r * 0.8) Put(img, x, y, {200, 30, 40});
    }
}

// Sea with waves and boats under a bright sky.
void Harbour(RgbImage& img, unsigned seed) {
  const int w = img.width, h = img.height;
  const int horizon = h * 2 / 5;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (y < horizon) {
        Put(img, x, y, Mix({120, 170, 230}, {235, 235, 225}, static_cast<double>(y) / horizon));
        continue;
      }
      const double depth = static_cast<double>(y - horizon) / (h - horizon);
      const double waves = std::sin(x * 0.02 / (depth + 0.05) + y * 0.3 + 6 * Noise(x / 90.0, y / 30.0, seed)) *
                           Noise(x / 40.0, y / 8.0, seed + 1);
      Colour sea = Mix({60, 110, 140}, {10, 40, 70}, depth);
      sea = Mix(sea, {230, 240, 245}, std::clamp(waves, 0.0, 1.0) * 0.5);
      Put(img, x, y, sea);
    }
  for (int i = 0; i < 5; ++i) {
    const int bx = static_cast<int>(Random01(i, 9, seed) * w * 0.8) + w / 20, by = horizon + (i + 1) * (h - horizon) / 7;
    const int bl = w / 10, bh = h / 40;
    const Colour hull = Hue(Random01(i, 10, seed));
    for (int y = 0; y < bh; ++y) FillRect(img, bx + y, by + y, bx + bl - y, by + y + 1, hull);
    for (int y = 0; y < bl / 2; ++y) FillRect(img, bx + bl / 2, by - y, bx + bl / 2 + y / 2, by - y + 1, {250, 248, 240});
  }
  for (int x = 0; x < w; x += w / 25) FillRect(img, x, horizon - h / 30, x + w / 120, horizon + h / 15, {70, 50, 35});
  Label(img, "HARBOUR " + std::to_string(seed), std::max(1, w / 450), w / 25, h / 15, {30, 40, 80});
}

// Test patterns: a spoke target, checkers of falling size and gradient tiles.
void Mosaic(RgbImage& img, unsigned seed) {
  const int w = img.width, h = img.height;
  const int cx = w / 4, cy = h / 2, r = std::min(w / 4, h / 2) - 8;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double dx = x - cx, dy = y - cy;
      if (dx * dx + dy * dy < static_cast<double>(r) * r) {
        const double a = std::atan2(dy, dx);
        const double v = std::sin(a * 36) > 0 ? 240 : 15;
        Put(img, x, y, {v, v, v});
      } else if (x > w / 2) {
        const int tile = std::max(2, (w - x) / 40 + 2);
        const bool on = ((x / tile) + (y / tile)) % 2;
        const Colour c = Mix(Hue(static_cast<double>(y) / h + seed * 0.1), {255, 255, 255}, static_cast<double>(x - w / 2) / w);
        Put(img, x, y, on ? c : Mix(c, {0, 0, 0}, 0.7));
      } else {
        Put(img, x, y, Mix({20, 20, 20}, {200, 200, 200}, static_cast<double>(y) / h));
      }
    }
  Label(img, "MOSAIC " + std::to_string(seed), std::max(1, w / 400), w / 40, h / 40, {255, 255, 0});
}

// A photograph's statistics: texture at every scale from a third of the
// picture down to single pixels, each octave as strong as the next (the 1/f
// amplitude spectrum of natural scenes), objects with sharp edges, and grain.
void Photo(RgbImage& img, unsigned seed) {
  const int w = img.width, h = img.height;
  const double scale = 3072.0 / std::max(w, h);  // the same picture at every size
  struct Shape {
    double x, y, rx, ry;
    Colour colour;
    double texture;  // strength of the shape's own texture
  };
  std::vector<Shape> shapes;
  for (unsigned i = 0; i < 60; ++i)
    shapes.push_back({Random01(i, 1, seed) * 3072, 800 + Random01(i, 2, seed) * 1300, 40 + Random01(i, 3, seed) * 260,
                      30 + Random01(i, 4, seed) * 200, Mix(Hue(Random01(i, 5, seed)), {128, 118, 100}, 0.55),
                      0.5 + Random01(i, 6, seed)});
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double fx = x * scale, fy = y * scale;
      const double horizon = 700 + 160 * Fractal(fx / 900.0, 0.0, seed + 40, 4);
      Colour c = fy < horizon ? Mix({95, 140, 205}, {215, 222, 230}, fy / horizon)
                              : Mix({110, 120, 70}, {70, 60, 45}, (fy - horizon) / (2048 - horizon));
      double strength = fy < horizon ? 0.35 : 1.0;
      for (const Shape& s : shapes) {
        const double dx = (fx - s.x) / s.rx, dy = (fy - s.y) / s.ry;
        if (dx * dx + dy * dy < 1) {
          c = Mix(s.colour, {40, 36, 30}, 0.5 * (dx + dy + 1.5) / 3);  // lit from the upper left
          strength = s.texture;
        }
      }
      double texture = 0;
      unsigned octave = 0;
      for (double period = 1024; period >= 1; period /= 2, ++octave)
        texture += Noise(fx / period, fy / period, seed + 100 + octave) - 0.5;
      const double tint = Fractal(fx / 300.0, fy / 300.0, seed + 200, 5) - 0.5;
      const double v = 38 * strength * texture;
      Put(img, x, y, {c.r + v + 30 * tint, c.g + v, c.b + v - 30 * tint});
    }
  Label(img, "LUMIVEXA PHOTO " + std::to_string(seed), std::max(1, w / 450), w / 25, h / 15, {250, 250, 245});
}

using Painter = void (*)(RgbImage&, unsigned);
struct Scene {
  const char* name;
  Painter paint;
};
constexpr Scene kScenes[] = {{"chart", Chart}, {"city", City}, {"meadow", Meadow},
                             {"page", Page},   {"harbour", Harbour}, {"mosaic", Mosaic},
                             {"photo", Photo}};

}  // namespace

const std::vector<std::string>& SceneNames() {
  static const std::vector<std::string> names = [] {
    std::vector<std::string> n;
    for (const Scene& s : kScenes) n.push_back(s.name);
    return n;
  }();
  return names;
}

bool RenderScene(const std::string& name, int w, int h, unsigned seed, RgbImage& image) {
  for (const Scene& s : kScenes)
    if (name == s.name) {
      image = RgbImage(w, h);
      s.paint(image, seed);
      return true;
    }
  return false;
}

}  // namespace pcdmake
