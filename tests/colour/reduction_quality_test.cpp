// Reduces a photo to 8 bits with each method and compares the result with
// the 24-bit original: the first photo of the sample disc at BASE when the
// disc has been built, else a procedural photo-like picture.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "imaging/colour/colour_cube.h"
#include "photocd/image_decode.h"
#include "imaging/colour/two_pass_quantiser.h"
#include "synthetic_photo.h"

using namespace imaging::colour;
using imaging::RgbTriple;

namespace {

constexpr int kWidth = 768, kHeight = 512;

using Picture = std::vector<std::uint8_t>;  // rows of blue, green, red

const std::uint8_t* rowAt(const Picture& p, int y) { return &p[static_cast<std::size_t>(y) * kWidth * 3]; }

// The sample disc's first photo (upright, 768 x 512 at BASE) top row first,
// or an empty picture when the disc is missing or does not decode.
Picture samplePhoto() {
  const std::string path = LUMIVEXA_SOURCE_DIR "/build/sample-disc/PHOTO_CD/IMAGES/IMG0001.PCD";
  if (!std::filesystem::exists(path)) return {};
  ImagePack* pack = nullptr;
  Picture photo;
  if (PcdOpenImagePack(path.c_str(), pack) == kPcdOk && PcdSetResolution(pack, 3) == kPcdOk &&
      pack->outputWidth == kWidth && pack->outputHeight == kHeight) {
    const std::size_t stride = static_cast<std::size_t>(kWidth) * 3;
    Picture bottomUp(stride * kHeight);
    if (PcdReadRect(pack, nullptr, bottomUp.data(), static_cast<std::ptrdiff_t>(stride)) == kPcdOk)
      for (int y = kHeight - 1; y >= 0; --y) photo.insert(photo.end(), &bottomUp[y * stride], &bottomUp[y * stride] + stride);
  }
  PcdCloseImagePack(pack);
  return photo;
}

// Turns palette indices back into a 24-bit picture.
Picture expand(const std::vector<std::uint8_t>& indices, const RgbTriple* palette) {
  Picture out;
  out.reserve(indices.size() * 3);
  for (std::uint8_t i : indices) out.insert(out.end(), {palette[i].blue, palette[i].green, palette[i].red});
  return out;
}

Picture throughCube(const Picture& photo, int mode) {
  ColourCube cube(240, mode, kWidth);
  std::vector<std::uint8_t> indices(static_cast<std::size_t>(kWidth) * kHeight);
  for (int y = 0; y < kHeight; ++y) EXPECT_TRUE(cube.reduceRow(rowAt(photo, y), &indices[static_cast<std::size_t>(y) * kWidth]));
  RgbTriple palette[256];
  cube.palette(palette);
  return expand(indices, palette);
}

Picture throughTwoPass(const Picture& photo, bool diffusion) {
  TwoPassQuantiser q(236, diffusion, kWidth);
  for (int y = 0; y < kHeight; ++y) EXPECT_TRUE(q.countRow(rowAt(photo, y)));
  EXPECT_EQ(q.chooseColours(), 236);
  std::vector<std::uint8_t> indices(static_cast<std::size_t>(kWidth) * kHeight);
  for (int y = 0; y < kHeight; ++y) EXPECT_TRUE(q.mapRow(rowAt(photo, y), &indices[static_cast<std::size_t>(y) * kWidth]));
  RgbTriple palette[256];
  q.palette(palette);
  return expand(indices, palette);
}

// A 5 x 5 binomial blur: roughly what the eye integrates at viewing distance.
std::vector<int> blurred(const Picture& p) {
  static const int kTap[5] = {1, 4, 6, 4, 1};
  std::vector<int> across(p.size()), out(p.size());
  for (int y = 0; y < kHeight; ++y)
    for (int x = 2; x < kWidth - 2; ++x)
      for (int c = 0; c < 3; ++c) {
        int sum = 0;
        for (int k = 0; k < 5; ++k) sum += kTap[k] * p[(static_cast<std::size_t>(y) * kWidth + x + k - 2) * 3 + c];
        across[(static_cast<std::size_t>(y) * kWidth + x) * 3 + c] = sum;
      }
  for (int y = 2; y < kHeight - 2; ++y)
    for (int x = 2; x < kWidth - 2; ++x)
      for (int c = 0; c < 3; ++c) {
        int sum = 0;
        for (int k = 0; k < 5; ++k) sum += kTap[k] * across[(static_cast<std::size_t>(y + k - 2) * kWidth + x) * 3 + c];
        out[(static_cast<std::size_t>(y) * kWidth + x) * 3 + c] = sum;
      }
  return out;
}

// Mean squared error per component over the interior (the blur's margin left out).
template <class Samples>
double meanSquaredError(const Samples& a, const Samples& b, double scale) {
  double sum = 0;
  long long n = 0;
  for (int y = 2; y < kHeight - 2; ++y)
    for (int x = 2; x < kWidth - 2; ++x)
      for (int c = 0; c < 3; ++c, ++n) {
        std::size_t i = (static_cast<std::size_t>(y) * kWidth + x) * 3 + c;
        double d = (static_cast<double>(a[i]) - b[i]) / scale;
        sum += d * d;
      }
  return sum / n;
}

}  // namespace

TEST(ReductionQuality, DitheringOrdersAsExpected) {
  Picture photo = samplePhoto();
  std::printf("picture: %s\n", photo.empty() ? "procedural" : "sample disc photo 1 at BASE");
  if (photo.empty()) photo = colour_test::syntheticPhoto(kWidth, kHeight);
  const std::vector<int> seen = blurred(photo);
  struct Result {
    const char* name;
    double pixelError, seenError;
  };
  auto measure = [&](const char* name, const Picture& reduced) {
    return Result{name, meanSquaredError(photo, reduced, 1.0), meanSquaredError(seen, blurred(reduced), 256.0)};
  };
  Result none = measure("cube, no dithering", throughCube(photo, kCubeNone));
  Result ordered = measure("cube, ordered", throughCube(photo, kCubeOrdered));
  Result diffused = measure("cube, Floyd-Steinberg", throughCube(photo, kCubeFloydSteinberg));
  Result twoPass = measure("two-pass, no diffusion", throughTwoPass(photo, false));
  Result twoPassDiffused = measure("two-pass, diffusion", throughTwoPass(photo, true));
  for (const Result& r : {none, ordered, diffused, twoPass, twoPassDiffused})
    std::printf("%-24s MSE per pixel %7.2f   MSE after 5x5 blur %7.2f\n", r.name, r.pixelError, r.seenError);

  // Per pixel, the nearest cube colour is the smallest possible error, so any
  // dither raises the plain MSE (both cube dithers roughly double it). What a
  // dither buys shows once neighbouring pixels are averaged as the eye does:
  // the order is checked on the error after the blur.
  EXPECT_LE(twoPassDiffused.pixelError, diffused.pixelError);
  EXPECT_LE(twoPassDiffused.seenError, diffused.seenError);
  EXPECT_LE(diffused.seenError, ordered.seenError);
  EXPECT_LE(ordered.seenError, none.seenError);
}
