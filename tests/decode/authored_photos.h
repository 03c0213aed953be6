// Photos authored with pcdmake for the reader tests, each on its own small
// disc made the first time a test asks for it, and decodes through
// ImageReader into plain pixel buffers.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "author.h"

struct AuthoredPhoto {
  std::string pack;               // path of the photo's IMG0001.PCD
  pcdmake::SourcePicture source;  // display orientation, top-level size
  int topLevel = 5;
};

// Scene name, rotation code 0-3 and top level 3-6; longCodes writes code
// tables with codes of 13 to 16 bits.
const AuthoredPhoto& Authored(const std::string& scene, int rotation, int topLevel, bool longCodes = false);

// B, G, R pixels, top row first.
struct Picture {
  int width = 0, height = 0;
  std::vector<std::uint8_t> bgr;
  const std::uint8_t* Pixel(int x, int y) const { return &bgr[(static_cast<std::size_t>(y) * width + x) * 3]; }
};

namespace imagefile {
class ImageReader;
}

// Decodes the reader's file into a 24-bit bitmap fitted into the target (0 =
// the image's own size) with the given decoding threads; an empty picture and
// the reader's error on failure.
Picture DecodeOpened(imagefile::ImageReader& reader, int targetWidth, int targetHeight, int* error = nullptr,
                     int threads = 1);

// Decodes through ImageReader into a 24-bit bitmap fitted into the target
// (0 = the image's own size) with the requested Photo CD level set for the
// decode. Fails the calling test (and returns an empty picture) on error.
Picture DecodeWithReader(const std::string& path, int requestedLevel, int targetWidth = 0, int targetHeight = 0);

// The source reduced to a level the way pcdmake reduces it, in display orientation.
Picture SourceAt(const AuthoredPhoto& photo, int level);

// Over all components, peak 255.
double Psnr(const Picture& a, const Picture& b);
// Pearson correlation of two grey images of the same size.
double Correlation(const std::vector<double>& a, const std::vector<double>& b);
// Rec. 601 luma of each pixel.
std::vector<double> Luma(const Picture& picture);
