// imagesnr: how close a picture comes to a reference picture, as the
// signal-to-noise ratio over every B, G and R sample: the variance of the
// reference's samples over the mean squared difference, in dB ("inf" when
// the two are equal). Unlike PSNR it does not favour a decoder whose colours
// have less contrast. Used by scripts/bench-damage.
// Usage: imagesnr REFERENCE IMAGE (two pictures of one size the image reader opens)
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <vector>

#include "imagefile/image_reader.h"
#include "imaging/gdi_backend.h"

namespace {

struct Samples {
  int width = 0, height = 0;
  std::vector<std::uint8_t> bgr;  // rows of width * 3 samples
};

bool Load(const char* path, Samples& out) {
  imagefile::ImageReader reader;
  reader.open(path);
  imagefile::DecodeRequest request;
  request.displayDepth = 24;
  request.keepFullBitmap = true;
  if (!reader.beginDecode(request)) return false;
  while (reader.progress() < 10000)
    if (reader.step(1024) != 1) return false;
  reader.finish(false);
  imaging::DibSectionInfo info;
  if (!imaging::describeDibSection(reader.dibSection(), info) || info.header.bitCount != 24) return false;
  out.width = info.header.width;
  out.height = std::abs(info.header.height);
  const std::size_t rowBytes = static_cast<std::size_t>(out.width) * 3;
  const std::size_t stride = (rowBytes + 3) & ~std::size_t{3};
  out.bgr.resize(rowBytes * out.height);
  for (int row = 0; row < out.height; ++row)
    std::copy_n(info.bits + stride * row, rowBytes, out.bgr.begin() + rowBytes * row);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: imagesnr REFERENCE IMAGE\n");
    return 2;
  }
  Samples reference, image;
  for (int i = 0; i < 2; ++i)
    if (!Load(argv[1 + i], i ? image : reference)) {
      std::fprintf(stderr, "imagesnr: cannot read %s\n", argv[1 + i]);
      return 1;
    }
  if (reference.width != image.width || reference.height != image.height) {
    std::fprintf(stderr, "imagesnr: %s is %dx%d, %s is %dx%d\n", argv[1], reference.width, reference.height, argv[2],
                 image.width, image.height);
    return 1;
  }
  double sum = 0, sumSquares = 0, errorSquares = 0;
  for (std::size_t i = 0; i < reference.bgr.size(); ++i) {
    const double r = reference.bgr[i], d = r - image.bgr[i];
    sum += r;
    sumSquares += r * r;
    errorSquares += d * d;
  }
  const double n = static_cast<double>(reference.bgr.size());
  const double variance = sumSquares / n - (sum / n) * (sum / n);
  if (errorSquares == 0)
    std::printf("inf\n");
  else
    std::printf("%.2f\n", 10 * std::log10(variance / (errorSquares / n)));
  return 0;
}
