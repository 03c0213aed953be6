#include "imaging/colour/colour_reducer_factory.h"

#include "imaging/colour/colour_cube.h"
#include "imaging/colour/two_pass_quantiser.h"

namespace imaging::colour {

namespace {

class CubeReducer : public RowReducer {
 public:
  CubeReducer(int colours, int mode, int width) : cube_(colours, mode, width) {}
  bool valid() const { return cube_.valid(); }
  void reduceRow(const std::uint8_t* in, std::uint8_t* out, int first, int last) override {
    cube_.reduceRow(in, out, first, last);
  }
  int palette(RgbTriple* out) const override { return cube_.palette(out); }

 private:
  ColourCube cube_;
};

class QuantiserReducer : public TwoPassReducer {
 public:
  QuantiserReducer(int colours, bool diffusion, int width) : quantiser_(colours, diffusion, width) {}
  bool valid() const { return quantiser_.valid(); }
  void countRow(const std::uint8_t* row) override { quantiser_.countRow(row); }
  void chooseColours() override { quantiser_.chooseColours(); }
  int palette(RgbTriple* out) const override { return quantiser_.palette(out); }
  void mapRow(const std::uint8_t* row, std::uint8_t* out) override { quantiser_.mapRow(row, out); }

 private:
  TwoPassQuantiser quantiser_;
};

template <class Reducer, class Base, class... Args>
std::unique_ptr<Base> makeValid(Args... args) {
  auto reducer = std::make_unique<Reducer>(args...);
  if (!reducer->valid()) return nullptr;
  return reducer;
}

}  // namespace

std::unique_ptr<RowReducer> ColourReducerFactory::colourCube(int colours, int mode, int width) const {
  return makeValid<CubeReducer, RowReducer>(colours, mode, width);
}

std::unique_ptr<TwoPassReducer> ColourReducerFactory::twoPass(int colours, bool diffusion, int width) const {
  return makeValid<QuantiserReducer, TwoPassReducer>(colours, diffusion, width);
}

}  // namespace imaging::colour
