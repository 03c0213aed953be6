// Serpentine Floyd-Steinberg error diffusion over 24-bit blue, green, red rows,
// shared by the colour cube and the two-pass quantiser.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/colour/colour_types.h"

namespace imaging::colour {

// Errors are kept in sixteenths. A pixel's error e goes 7/16 to the next pixel
// in scan direction and 3/16, 5/16, 1/16 to the pixels below-behind, below and
// below-ahead. Rows alternate direction, the first left to right, so rows must
// be fed in order.
class ErrorDiffusionRow {
 public:
  explicit ErrorDiffusionRow(int width)
      : width_(width), owed_((static_cast<std::size_t>(width) + 2) * 3, 0) {}

  // Diffuses one row. `adjust(error)` turns the rounded error owed to a
  // component into the amount added to its sample; `choose(value, chosen)`
  // picks the output index for the three adjusted samples and stores the
  // colour it stands for in chosen[3].
  template <class Adjust, class Choose>
  void run(const std::uint8_t* in, std::uint8_t* out, Adjust adjust, Choose choose) {
    const int dir = rightToLeft_ ? -1 : 1;
    int x = rightToLeft_ ? width_ - 1 : 0;
    // Entry x + 1 belongs to pixel x; entries 0 and width + 1 catch what falls
    // off either end. `behind` points at the entry of the pixel behind x.
    std::int16_t* behind = owed_.data() + (rightToLeft_ ? static_cast<std::size_t>(width_) + 1 : 0) * 3;
    Carry blue, green, red;
    for (int n = 0; n < width_; ++n, x += dir, behind += 3 * dir) {
      const std::uint8_t* pixel = in + static_cast<std::size_t>(x) * 3;
      const std::int16_t* here = behind + 3 * dir;
      int value[3] = {clampSample(pixel[0] + adjust(blue.owedHere(here[0]))),
                      clampSample(pixel[1] + adjust(green.owedHere(here[1]))),
                      clampSample(pixel[2] + adjust(red.owedHere(here[2])))};
      int chosen[3];
      out[x] = choose(value, chosen);
      blue.spread(value[0] - chosen[0], behind[0]);
      green.spread(value[1] - chosen[1], behind[1]);
      red.spread(value[2] - chosen[2], behind[2]);
    }
    behind[0] = static_cast<std::int16_t>(blue.partial);
    behind[1] = static_cast<std::int16_t>(green.partial);
    behind[2] = static_cast<std::int16_t>(red.partial);
    rightToLeft_ = !rightToLeft_;
  }

 private:
  // One component's error on its way along the row.
  struct Carry {
    int ahead = 0;    // 7e of the previous pixel
    int partial = 0;  // owed so far to the entry behind: 1e and 5e of earlier pixels
    int last = 0;     // e of the previous pixel

    int owedHere(int fromAbove) const { return (ahead + fromAbove + 8) >> 4; }
    void spread(int e, std::int16_t& behindEntry) {
      behindEntry = static_cast<std::int16_t>(partial + 3 * e);
      partial = last + 5 * e;
      last = e;
      ahead = 7 * e;
    }
  };

  int width_;
  std::vector<std::int16_t> owed_;  // per entry and component, owed to the next row
  bool rightToLeft_ = false;
};

}  // namespace imaging::colour
