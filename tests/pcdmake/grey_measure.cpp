#include "grey_measure.h"

#include <array>
#include <cmath>

namespace pcdmake_test {

GreyImage EqualisedGrey(const pcdmake::RgbImage& image) {
  GreyImage g{image.width, image.height, std::vector<float>(static_cast<std::size_t>(image.width) * image.height)};
  std::vector<int> grey(g.samples.size());
  std::array<double, 256> histogram{};
  for (std::size_t i = 0; i < grey.size(); ++i) {
    const std::uint8_t* p = &image.pixels[3 * i];
    grey[i] = static_cast<int>(std::lround(0.299 * p[0] + 0.587 * p[1] + 0.114 * p[2]));
    histogram[grey[i]] += 1;
  }
  // Each grey value maps to the middle of its share of the cumulative histogram.
  std::array<float, 256> map{};
  double below = 0;
  for (int v = 0; v < 256; ++v) {
    map[v] = static_cast<float>(255.0 * (below + histogram[v] / 2) / grey.size());
    below += histogram[v];
  }
  for (std::size_t i = 0; i < grey.size(); ++i) g.samples[i] = map[grey[i]];
  return g;
}

double Psnr(const GreyImage& a, const GreyImage& b) {
  double sum = 0;
  for (std::size_t i = 0; i < a.samples.size(); ++i) {
    const double d = a.samples[i] - b.samples[i];
    sum += d * d;
  }
  const double mse = sum / a.samples.size();
  return mse == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 / mse);
}

double Correlation(const GreyImage& a, const GreyImage& b) {
  const double n = static_cast<double>(a.samples.size());
  double ma = 0, mb = 0;
  for (std::size_t i = 0; i < a.samples.size(); ++i) { ma += a.samples[i]; mb += b.samples[i]; }
  ma /= n;
  mb /= n;
  double sab = 0, saa = 0, sbb = 0;
  for (std::size_t i = 0; i < a.samples.size(); ++i) {
    const double da = a.samples[i] - ma, db = b.samples[i] - mb;
    sab += da * db;
    saa += da * da;
    sbb += db * db;
  }
  return sab / std::sqrt(saa * sbb);
}

}  // namespace pcdmake_test
