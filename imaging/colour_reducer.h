// The seam between the output stage and the colour reducers. The reducers
// themselves (colour cube with ordered or error-diffusion dithering, and the
// two-pass median-cut quantiser) plug in through ReducerFactory.
#pragma once
#include <cstdint>
#include <memory>

#include "imaging/dib_types.h"

namespace imaging {

// One-pass reducer onto a fixed colour cube. Input rows are 24-bit blue,
// green, red. Modes 0-2 write one palette index per pixel for the whole row;
// modes 3 and 4 write pixels first..last (last -1 = the whole row) as 16-bit
// 5-5-5 values or as 24-bit pixels holding 5-bit values.
class RowReducer {
 public:
  virtual ~RowReducer() = default;
  virtual void reduceRow(const std::uint8_t* in, std::uint8_t* out, int first, int last) = 0;
  // The cube colours; returns their count (0 for modes 3 and 4).
  virtual int palette(RgbTriple* out) const = 0;
};

// Two-pass quantiser: pass 1 counts every row, then colours are chosen, and
// pass 2 maps the kept 24-bit rows onto them.
class TwoPassReducer {
 public:
  virtual ~TwoPassReducer() = default;
  virtual void countRow(const std::uint8_t* row) = 0;
  virtual void chooseColours() = 0;
  virtual int palette(RgbTriple* out) const = 0;
  virtual void mapRow(const std::uint8_t* row, std::uint8_t* out) = 0;
};

class ReducerFactory {
 public:
  virtual ~ReducerFactory() = default;
  // width is the line length the reducer will be fed. Null when unavailable.
  virtual std::unique_ptr<RowReducer> colourCube(int colours, int mode, int width) const = 0;
  virtual std::unique_ptr<TwoPassReducer> twoPass(int colours, bool diffusion, int width) const = 0;
};

// Which reduction a decode needs, from the delivered row depth, the display
// bitmap depth and the two dither settings.
struct ReductionChoice {
  bool cube = false;
  int cubeColours = 0;
  int cubeMode = 0;
  bool twoPass = false;
  int twoPassColours = 0;
  bool diffusion = false;
};

ReductionChoice chooseReduction(int rowBits, int displayBits, int dither8, int dither16);

}  // namespace imaging
