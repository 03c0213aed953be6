#include "synthetic_photo.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace colour_test {

namespace {

// Smooth value noise from a hashed lattice, 0..1.
double lattice(int x, int y, unsigned seed) {
  unsigned h = static_cast<unsigned>(x) * 374761393u + static_cast<unsigned>(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return ((h ^ (h >> 16)) & 0xFFFF) / 65535.0;
}

double valueNoise(double x, double y, unsigned seed) {
  int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  double fx = x - x0, fy = y - y0;
  fx = fx * fx * (3 - 2 * fx);
  fy = fy * fy * (3 - 2 * fy);
  double top = lattice(x0, y0, seed) * (1 - fx) + lattice(x0 + 1, y0, seed) * fx;
  double bottom = lattice(x0, y0 + 1, seed) * (1 - fx) + lattice(x0 + 1, y0 + 1, seed) * fx;
  return top * (1 - fy) + bottom * fy;
}

double fractalNoise(double x, double y, unsigned seed) {
  double sum = 0, amplitude = 0.5;
  for (int octave = 0; octave < 5; ++octave, x *= 2, y *= 2, amplitude /= 2) sum += amplitude * valueNoise(x, y, seed + octave);
  return sum / 0.97;
}

struct Colour {
  double r, g, b;
};

Colour mix(Colour a, Colour b, double t) { return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t}; }

double smoothStep(double edge0, double edge1, double x) {
  double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

Colour pixelAt(double u, double v, double scale) {
  // u, v in 0..1 across the picture; scale = pixels per unit of u.
  double horizon = 0.45 + 0.04 * std::sin(u * 6.0);
  Colour c;
  if (v < horizon) {  // sky: deep blue to a pale horizon, a few soft clouds
    c = mix({40, 90, 200}, {200, 215, 235}, std::pow(v / horizon, 1.6));
    double cloud = smoothStep(0.55, 0.75, fractalNoise(u * 6, v * 12, 7));
    c = mix(c, {245, 245, 250}, cloud * 0.8);
  } else {  // ground: grass and soil with fine texture
    double n = fractalNoise(u * 40, v * 40, 3);
    c = mix({60, 110, 40}, {120, 95, 60}, smoothStep(0.4, 0.6, fractalNoise(u * 4, v * 4, 11)));
    c = mix(c, {c.r * 0.5, c.g * 0.5, c.b * 0.5}, n * 0.6);
  }
  // The sun: a bright disc with a soft halo.
  double sun = std::hypot(u - 0.8, (v - 0.15) * 0.67);
  c = mix(c, {255, 250, 225}, 1 - smoothStep(0.03, 0.09, sun));
  // A red house with hard edges and a shaded wall.
  if (u > 0.12 && u < 0.32 && v > 0.38 && v < 0.62) c = mix({170, 40, 30}, {90, 20, 20}, (u - 0.12) / 0.2);
  if (u > 0.18 && u < 0.23 && v > 0.48 && v < 0.62) c = {35, 25, 20};
  // A face: skin tones shaded like a lit sphere.
  double dx = (u - 0.55) / 0.1, dy = (v - 0.62) / 0.16;
  double d2 = dx * dx + dy * dy;
  if (d2 < 1) {
    double light = 0.55 + 0.45 * std::max(0.0, -0.5 * dx - 0.4 * dy + 0.77 * std::sqrt(1 - d2));
    c = {232 * light, 180 * light, 150 * light};
  }
  // Fabric: fine stripes and a checked weave.
  if (u > 0.4 && u < 0.7 && v > 0.8) {
    double stripes = 0.5 + 0.5 * std::sin(u * scale * 0.9);
    double weave = 0.5 + 0.5 * std::sin((u + v) * scale * 0.35);
    c = mix({30, 60, 140}, {200, 170, 60}, stripes * weave);
  }
  return c;
}

}  // namespace

std::vector<std::uint8_t> syntheticPhoto(int width, int height) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width) * height * 3);
  unsigned noise = 12345;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      Colour c = pixelAt((x + 0.5) / width, (y + 0.5) / height, width);
      std::uint8_t* p = &pixels[(static_cast<std::size_t>(y) * width + x) * 3];
      double sample[3] = {c.b, c.g, c.r};
      for (int k = 0; k < 3; ++k) {
        noise = noise * 1664525u + 1013904223u;  // a little film grain
        double grain = ((noise >> 16) & 0xFF) / 255.0 * 4 - 2;
        p[k] = static_cast<std::uint8_t>(std::lround(std::clamp(sample[k] + grain, 0.0, 255.0)));
      }
    }
  return pixels;
}

}  // namespace colour_test
