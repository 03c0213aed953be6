// Plugs the colour cube and the two-pass quantiser into the reader's output
// stage: pass the address of a ColourReducerFactory as OutputOptions::reducers.
// The stage picks the reduction with chooseReduction() and drives the
// two-pass schedule itself (see two_pass_quantiser.h for the order of calls).
#pragma once
#include <memory>

#include "imaging/colour_reducer.h"

namespace imaging::colour {

class ColourReducerFactory : public ReducerFactory {
 public:
  // Null when the arguments give no usable reducer.
  std::unique_ptr<RowReducer> colourCube(int colours, int mode, int width) const override;
  std::unique_ptr<TwoPassReducer> twoPass(int colours, bool diffusion, int width) const override;
};

}  // namespace imaging::colour
