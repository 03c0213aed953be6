// From a picture at the top level's size to everything an image pack and its
// extension store: PhotoYCC base levels and the residuals of each higher
// level against the decoder's own enlargement of the level below it.
#pragma once
#include <cstdint>
#include <vector>

#include "image.h"

namespace pcdmake {

// Luma w x h with chroma w/2 x h/2, stored as PhotoYCC row pairs.
struct BaseLevel {
  Plane luma, c1, c2;
};

struct Residuals {
  int width = 0;
  int height = 0;
  std::vector<std::int8_t> values;
};

struct PhotoLevels {
  int topLevel = 3;  // highest level held: 3 BASE, 4 4BASE, 5 16BASE, 6 64BASE
  BaseLevel base16, base4, base;
  Residuals luma4;                    // 1536 x 1024
  Residuals luma16, c1of16, c2of16;   // 3072 x 2048, chroma 1536 x 1024
  Residuals luma64, c1of64, c2of64;   // 6144 x 4096, chroma 3072 x 2048
};

// Residual values are kept on a grid that is fine near zero and coarser for
// large corrections, so that three code tables fit one sector.
std::int8_t QuantiseResidual(int difference);

// picture: the stored (landscape) picture at the size of level 5, or of
// level 6 when topLevel is 6.
PhotoLevels BuildLevels(const RgbImage& picture, int topLevel);

}  // namespace pcdmake
