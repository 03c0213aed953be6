// The output stage every image reader shares: it fixes the output size and
// depths, builds the palette, creates the display bitmap (and a full-depth
// copy on request) and stores each delivered row - scaled horizontally,
// gamma-corrected and colour-reduced. It keeps the progress in 1/10000 and
// the rectangle the last step changed.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/colour_reducer.h"
#include "imaging/dib_types.h"
#include "imaging/gamma.h"
#include "imaging/output_geometry.h"

namespace imaging {

struct DibImage;
class OutputStage;

enum StageError : int {
  kStageOk = 0,
  kStageNotAllowed = 1,      // wrong store kind for the reader, or a step after completion
  kStageBadOptions = 2,      // negative box, unusable source description
  kStageNoMemoryDc = 10,
  kStageDisplayBitmap = 11,
  kStageFullBitmap = 12,
  kStagePalette = 13,
  kStageSetBits = 14,
  kStageNoReducer = 20,      // the display needs a colour reducer and none is installed
};

struct OutputOptions {
  int boxWidth = 0;  // 0 = the source's size
  int boxHeight = 0;
  int dither8 = 1;
  int dither16 = 1;
  double gamma = 1.0;
  int displayDepth = 24;
  bool bottomUp = false;
  bool makeDisplay = true;
  bool keepFull = false;
  bool useDdb = false;
  const ReducerFactory* reducers = nullptr;
};

// What a format decoder tells the stage about the page it is about to deliver.
struct SourceDescription {
  int width = 0;
  int height = 0;
  int bits = 0;                     // bits per pixel in the file
  bool greyScale = false;           // no colour table: a grey ramp is built
  std::vector<RgbTriple> palette;   // the source's own colour table, if any
  bool columnMode = false;          // delivers columns instead of rows
  int colourType = 0;
};

// The format side of a decode. Rows are delivered at the stage's rowBits():
// 1-bit packed, 8-bit indices or grey values, 16-bit 5-5-5, or 24-bit blue,
// green, red; columns likewise, one pixel after another.
class RowSource {
 public:
  virtual ~RowSource() = default;
  // Called once the bitmaps exist; returns 0 or an error code.
  virtual int beginRows(OutputStage& stage) = 0;
  // Delivers up to count more output rows (or columns); 0 or an error code.
  virtual int deliverRows(OutputStage& stage, int count) = 0;
};

class OutputStage {
 public:
  OutputStage() = default;
  OutputStage(const OutputStage&) = delete;
  OutputStage& operator=(const OutputStage&) = delete;
  ~OutputStage() { end(); }

  bool begin(const OutputOptions& options, const SourceDescription& source, RowSource* rows);
  bool putRow(const std::uint8_t* row, int r);
  bool putColumn(const std::uint8_t* column, int c);
  // Rows of a rectangle for tiled sources; only without scaling or reducers.
  bool putBlock(const std::uint8_t* pixels, std::size_t stride, int x, int y, int width, int height);
  bool step(int rows, bool* changed = nullptr, PixelRect* changedRect = nullptr);
  // From beginRows: the source delivers a smaller rendition of the page (a
  // lower resolution level) whose lines are still at least as long as the
  // output's. The output size stays; false when the rendition is too small.
  bool resizeSource(int width, int height);
  int progress() const;
  // Everything delivered since begin: the part of the bitmaps that holds the picture.
  PixelRect validRect() const { return valid_; }
  void clear();
  void end();

  int error() const { return error_; }
  bool begun() const { return begun_; }
  int outWidth() const { return size_.width; }
  int outHeight() const { return size_.height; }
  int displayBits() const { return depths_.display; }
  int fullBits() const { return depths_.full; }
  int rowBits() const { return depths_.row; }
  const SourceDescription& source() const { return source_; }
  const OutputOptions& options() const { return options_; }
  const GammaTable& gamma() const { return gamma_; }
  const std::vector<RgbTriple>& paletteColours() const { return paletteColours_; }
  BitmapHandle displayBitmap() const { return display_; }
  BitmapHandle fullBitmap() const { return full_; }
  PaletteHandle palette() const { return palette_; }

  // Points the frame at the stage's handles while the stage still owns them.
  void lendTo(DibImage& frame) const;
  // Moves ownership of the handles into the frame.
  void handOver(DibImage& frame);

 private:
  bool fail(int code);
  bool makePalette(const std::vector<RgbTriple>& cubeColours);
  bool makeBitmaps();
  const std::uint8_t* scale(const std::uint8_t* line, int inCount, int outCount);
  const std::uint8_t* correct(const std::uint8_t* line, int count);
  const std::uint8_t* displaySource(const std::uint8_t* scaled, const std::uint8_t* corrected) const;
  const std::uint8_t* as24(const std::uint8_t* line, int count);
  const std::uint8_t* displayLine(const std::uint8_t* line, int count);
  void writeFullSpan(const std::uint8_t* line, int y, int x, int count);
  // Column x of a DIB section's memory from one pixel per row, top row first.
  void writeColumn(BitmapHandle bitmap, int x, const std::uint8_t* data, int bitCount);
  bool writeDisplaySpan(const std::uint8_t* data, int y, int x, int count);
  void noteChanged(int left, int top, int right, int bottom, long long pixels);
  bool finishFirstPass();
  bool mapSecondPass(int rows);
  std::uint8_t* memoryRowOf(BitmapHandle bitmap, int y) const;

  OutputOptions options_;
  SourceDescription source_;
  RowSource* rows_ = nullptr;
  bool begun_ = false;
  int error_ = kStageOk;
  OutputSize size_;
  OutputDepths depths_;
  int displayStoreBits_ = 0;  // bit count of what is written to the display bitmap
  GammaTable gamma_;
  bool gammaPixels_ = false;

  std::vector<RgbTriple> paletteColours_;
  std::uint16_t paletteIndices_[256] = {};
  int declaredColours_ = 0;
  BitmapHandle display_ = nullptr;
  BitmapHandle full_ = nullptr;
  PaletteHandle palette_ = nullptr;
  bool ownsDisplay_ = false, ownsFull_ = false, ownsPalette_ = false;
  DeviceContext memoryDc_ = nullptr;
  std::uint8_t* displayBits_ = nullptr;  // pixel memory of DIB sections
  std::uint8_t* fullBits_ = nullptr;
  bool displayBottomUp_ = false, fullBottomUp_ = false;

  std::unique_ptr<RowReducer> cube_;
  std::unique_ptr<TwoPassReducer> twoPass_;
  std::vector<std::uint8_t> scaleRow_, gammaRow_, wideRow_, outRow_, deviceRow_;

  long long pixelsDone_ = 0;
  int pass_ = 1;
  int mappedRows_ = 0;
  PixelRect changed_;
  PixelRect valid_;
};

}  // namespace imaging
