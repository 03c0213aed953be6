// Plain pixel containers of the authoring tool and the few operations it
// needs on them: resampling to a level size, quarter turns and reduction.
#pragma once
#include <cstdint>
#include <vector>

namespace pcdmake {

// 8-bit RGB, rows top to bottom, pixels R, G, B.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;

  RgbImage() = default;
  RgbImage(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h * 3) {}
  std::uint8_t* Pixel(int x, int y) { return &pixels[(static_cast<std::size_t>(y) * width + x) * 3]; }
  const std::uint8_t* Pixel(int x, int y) const {
    return &pixels[(static_cast<std::size_t>(y) * width + x) * 3];
  }
};

// One 8-bit component plane.
struct Plane {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> samples;

  Plane() = default;
  Plane(int w, int h) : width(w), height(h), samples(static_cast<std::size_t>(w) * h) {}
  std::uint8_t* Row(int y) { return &samples[static_cast<std::size_t>(y) * width]; }
  const std::uint8_t* Row(int y) const { return &samples[static_cast<std::size_t>(y) * width]; }
};

// Scales to w x h: area averaging when shrinking, bilinear when growing.
RgbImage Resample(const RgbImage& src, int w, int h);

// Turns the picture by quarter turns clockwise (0 to 3).
RgbImage TurnClockwise(const RgbImage& src, int quarterTurns);

// Halves a plane with a [1 2 1] filter centred on every even sample, so each
// result sample sits where the enlargement of the level below puts it.
Plane Reduce2x(const Plane& src);

}  // namespace pcdmake
