// A picture measure that ignores how a reader converts colours: both
// pictures go to grey, each grey image is histogram-equalised, then they are
// compared sample by sample.
#pragma once
#include <vector>

#include "image.h"

namespace pcdmake_test {

struct GreyImage {
  int width = 0, height = 0;
  std::vector<float> samples;
};

GreyImage EqualisedGrey(const pcdmake::RgbImage& image);
double Psnr(const GreyImage& a, const GreyImage& b);          // dB, peak 255
double Correlation(const GreyImage& a, const GreyImage& b);   // Pearson, -1 to 1

}  // namespace pcdmake_test
