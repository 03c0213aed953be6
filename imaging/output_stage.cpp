#include "imaging/output_stage.h"

#include <algorithm>
#include <cstring>

#include "imaging/dib_format.h"
#include "imaging/dib_image.h"
#include "imaging/gdi_backend.h"

namespace imaging {

namespace {

LineKind lineKind(int rowBits, bool grey) {
  switch (rowBits) {
    case 1: return LineKind::Bits1;
    case 8: return grey ? LineKind::Grey8 : LineKind::Index8;
    case 16: return LineKind::Rgb555;
    default: return LineKind::Bgr24;
  }
}

// Copies count pixels of the given depth to pixel position x of a row; 1-bit
// spans always start at 0.
void copySpan(std::uint8_t* row, int x, const std::uint8_t* data, int count, int bits) {
  if (bits == 1)
    std::memcpy(row, data, (static_cast<std::size_t>(count) + 7) / 8);
  else
    std::memcpy(row + static_cast<std::size_t>(x) * (bits / 8), data, static_cast<std::size_t>(count) * (bits / 8));
}

}  // namespace

bool OutputStage::fail(int code) {
  error_ = code;
  return false;
}

bool OutputStage::begin(const OutputOptions& options, const SourceDescription& source, RowSource* rows) {
  end();
  error_ = kStageOk;
  options_ = options;
  source_ = source;
  rows_ = rows;
  begun_ = true;
  if (source_.columnMode) options_.useDdb = false;  // columns cannot go through SetDIBits
  if (!options_.makeDisplay) options_.useDdb = false;
  if (options.boxWidth < 0 || options.boxHeight < 0 || source.bits < 1 || source.bits > 32)
    return fail(kStageBadOptions);

  size_ = fitOutputSize(source.width, source.height, options.boxWidth, options.boxHeight);
  depths_ = chooseDepths(source.bits, options.displayDepth);
  gamma_.set(options.gamma);
  // True-colour pixels are corrected whatever the display: the full copy is
  // what export and print take, and on a palette display it has no palette.
  gammaPixels_ = !gamma_.isIdentity() && depths_.row >= 16;
  int line = source_.columnMode ? size_.height : size_.width;

  std::vector<RgbTriple> cubeColours;
  if (options_.makeDisplay) {
    ReductionChoice choice = chooseReduction(depths_.row, depths_.display, options.dither8, options.dither16);
    const ReducerFactory* factory = options.reducers;
    if (choice.cube && factory) cube_ = factory->colourCube(choice.cubeColours, choice.cubeMode, line);
    // Without a cube a 16-bit display still works by packing; a palette display does not.
    if (choice.cube && !cube_ && depths_.display == 8) return fail(kStageNoReducer);
    if (choice.twoPass && factory) twoPass_ = factory->twoPass(choice.twoPassColours, choice.diffusion, size_.width);
    if (twoPass_) options_.keepFull = true;
    if (cube_ && depths_.display <= 8) {
      RgbTriple colours[256];
      int n = std::min(cube_->palette(colours), 256);
      cubeColours.assign(colours, colours + n);
    }
  }
  std::size_t lineBytes = static_cast<std::size_t>(line) * 3 + 4;
  scaleRow_.assign(lineBytes, 0);
  gammaRow_.assign(lineBytes, 0);
  wideRow_.assign(lineBytes, 0);
  outRow_.assign(lineBytes, 0);
  if (!makePalette(cubeColours) || !makeBitmaps()) return false;
  int status = rows_ ? rows_->beginRows(*this) : kStageOk;
  return status == kStageOk ? true : fail(status);
}

bool OutputStage::makePalette(const std::vector<RgbTriple>& cubeColours) {
  PalettePlan plan = planPalette(source_.bits, source_.greyScale, source_.palette, depths_.display,
                                 options_.displayDepth, cubeColours);
  std::memcpy(paletteIndices_, plan.indices, sizeof paletteIndices_);
  declaredColours_ = plan.declaredColours;
  paletteColours_ = plan.entries;
  if (paletteColours_.empty()) return true;
  gamma_.apply(paletteColours_.data(), static_cast<int>(paletteColours_.size()));
  palette_ = createLogicalPalette(paletteColours_.data(), static_cast<int>(paletteColours_.size()));
  if (!palette_) return fail(kStagePalette);
  ownsPalette_ = true;
  return true;
}

bool OutputStage::makeBitmaps() {
  bool ddb = options_.useDdb;
  if (ddb) {
    memoryDc_ = createMemoryDc(palette_);
    if (!memoryDc_) return fail(kStageNoMemoryDc);
  }
  DibSectionInfo info;
  if (options_.makeDisplay) {
    displayStoreBits_ = depths_.display;
    // GDI converts true colour itself when it fills a 16-bit device bitmap.
    if (ddb && depths_.display == 16 && !cube_) displayStoreBits_ = 24;
    DibHeader header = makeDibHeader(size_.width, size_.height, displayStoreBits_, options_.bottomUp || ddb,
                                     displayStoreBits_ <= 8 ? declaredColours_ : 0);
    if (ddb)
      display_ = createDeviceBitmap(header);
    else if (displayStoreBits_ <= 8)
      display_ = createDibSectionFromPalette(header, palette_, paletteIndices_);
    else
      display_ = createDibSection(header, nullptr);
    if (!display_) return fail(kStageDisplayBitmap);
    ownsDisplay_ = true;
    if (!ddb) {
      if (!describeDibSection(display_, info)) return fail(kStageDisplayBitmap);
      displayBits_ = info.bits;
      displayBottomUp_ = isBottomUp(info.header);
    }
  }
  if (options_.keepFull) {
    DibHeader header = makeDibHeader(size_.width, size_.height, depths_.full, options_.bottomUp,
                                     depths_.full <= 8 ? declaredColours_ : 0);
    full_ = depths_.full <= 8 ? createDibSectionFromPalette(header, palette_, paletteIndices_)
                              : createDibSection(header, nullptr);
    if (!full_) return fail(kStageFullBitmap);
    ownsFull_ = true;
    if (!describeDibSection(full_, info)) return fail(kStageFullBitmap);
    fullBits_ = info.bits;
    fullBottomUp_ = isBottomUp(info.header);
  }
  return true;
}

const std::uint8_t* OutputStage::scale(const std::uint8_t* line, int inCount, int outCount) {
  if (outCount >= inCount) return line;
  reduceLine(line, inCount, scaleRow_.data(), outCount,
             lineKind(depths_.row, source_.greyScale || source_.palette.empty()));
  return scaleRow_.data();
}

const std::uint8_t* OutputStage::correct(const std::uint8_t* line, int count) {
  if (!gammaPixels_) return line;
  std::memcpy(gammaRow_.data(), line, static_cast<std::size_t>(count) * (depths_.row / 8));
  if (depths_.row == 24)
    gamma_.apply24(gammaRow_.data(), count);
  else
    gamma_.apply555(gammaRow_.data(), count);
  return gammaRow_.data();
}

const std::uint8_t* OutputStage::displaySource(const std::uint8_t* scaled, const std::uint8_t* corrected) const {
  // A colour cube on a palette display takes the pixels as they are: its
  // palette carries the correction. The two-pass quantiser and every other
  // display take corrected pixels.
  return cube_ && depths_.display <= 8 ? scaled : corrected;
}

const std::uint8_t* OutputStage::as24(const std::uint8_t* line, int count) {
  if (depths_.row == 24) return line;
  widen555(line, count, wideRow_.data());
  return wideRow_.data();
}

const std::uint8_t* OutputStage::displayLine(const std::uint8_t* line, int count) {
  if (cube_) {
    cube_->reduceRow(as24(line, count), outRow_.data(), 0, -1);
    return outRow_.data();
  }
  if (displayStoreBits_ == depths_.row) return line;
  if (depths_.row == 24 && displayStoreBits_ == 16) {
    std::uint8_t* out = outRow_.data();
    for (int i = 0; i < count; ++i, line += 3, out += 2) {
      std::uint16_t p = pack555(line[0], line[1], line[2]);
      out[0] = static_cast<std::uint8_t>(p);
      out[1] = static_cast<std::uint8_t>(p >> 8);
    }
    return outRow_.data();
  }
  return as24(line, count);  // 16-bit rows into a 24-bit device bitmap
}

std::uint8_t* OutputStage::memoryRowOf(BitmapHandle bitmap, int y) const {
  bool full = bitmap == full_;
  std::uint8_t* bits = full ? fullBits_ : displayBits_;
  int bitCount = full ? depths_.full : displayStoreBits_;
  // The row order the platform actually gave the section, which may differ from the one asked for.
  bool bottomUp = full ? fullBottomUp_ : displayBottomUp_;
  return bits + dibStride(size_.width, bitCount) * static_cast<std::size_t>(memoryRow(y, size_.height, bottomUp));
}

void OutputStage::writeColumn(BitmapHandle bitmap, int x, const std::uint8_t* data, int bitCount) {
  const int bytes = bitCount / 8;
  if (bytes == 0) {  // packed pixels go span by span
    for (int i = 0; i < size_.height; ++i) copySpan(memoryRowOf(bitmap, i), x, data, 1, bitCount);
    return;
  }
  // One pixel per row: step through the memory rows instead of locating each.
  const bool bottomUp = bitmap == full_ ? fullBottomUp_ : displayBottomUp_;
  const auto stride = static_cast<std::ptrdiff_t>(dibStride(size_.width, bitCount));
  const std::ptrdiff_t step = bottomUp ? -stride : stride;
  std::uint8_t* p = memoryRowOf(bitmap, 0) + static_cast<std::size_t>(x) * bytes;
  for (int i = 0; i < size_.height; ++i, p += step, data += bytes)
    for (int b = 0; b < bytes; ++b) p[b] = data[b];
}

void OutputStage::writeFullSpan(const std::uint8_t* line, int y, int x, int count) {
  std::uint8_t* row = memoryRowOf(full_, y);
  if (depths_.full == depths_.row)
    copySpan(row, x, line, count, depths_.row);
  else
    widen555(line, count, row + static_cast<std::size_t>(x) * 3);
}

bool OutputStage::writeDisplaySpan(const std::uint8_t* data, int y, int x, int count) {
  if (!options_.useDdb) {
    copySpan(memoryRowOf(display_, y), x, data, count, displayStoreBits_);
    return true;
  }
  // SetDIBits reads whole padded rows: hand it a row buffer of full stride.
  deviceRow_.assign(dibStride(size_.width, displayStoreBits_), 0);
  copySpan(deviceRow_.data(), x, data, count, displayStoreBits_);
  DibHeader header = makeDibHeader(size_.width, 1, displayStoreBits_, true,
                                   displayStoreBits_ <= 8 ? declaredColours_ : 0);
  if (!setDeviceBitmapRow(memoryDc_, display_, size_.height - 1 - y, header,
                          palette_ && displayStoreBits_ <= 8 ? paletteIndices_ : nullptr, deviceRow_.data()))
    return fail(kStageSetBits);
  return true;
}

namespace {

void Include(PixelRect& r, int left, int top, int right, int bottom) {
  if (r.empty()) {
    r = PixelRect{left, top, right, bottom};
    return;
  }
  r.left = std::min(r.left, left);
  r.top = std::min(r.top, top);
  r.right = std::max(r.right, right);
  r.bottom = std::max(r.bottom, bottom);
}

}  // namespace

void OutputStage::noteChanged(int left, int top, int right, int bottom, long long pixels) {
  Include(changed_, left, top, right, bottom);
  Include(valid_, left, top, right, bottom);
  pixelsDone_ += pixels;
}

bool OutputStage::putRow(const std::uint8_t* row, int r) {
  if (!begun_ || source_.columnMode || !row || r < 0 || r >= size_.height) return fail(kStageNotAllowed);
  const std::uint8_t* scaled = scale(row, source_.width, size_.width);
  const std::uint8_t* corrected = correct(scaled, size_.width);
  if (options_.keepFull) writeFullSpan(corrected, r, 0, size_.width);
  if (options_.makeDisplay) {
    if (twoPass_) twoPass_->countRow(as24(corrected, size_.width));
    if (!writeDisplaySpan(displayLine(displaySource(scaled, corrected), size_.width), r, 0, size_.width))
      return false;
  }
  noteChanged(0, r, size_.width, r + 1, size_.width);
  return true;
}

bool OutputStage::putColumn(const std::uint8_t* column, int c) {
  if (!begun_ || !source_.columnMode || depths_.row < 8 || !column || c < 0 || c >= size_.width)
    return fail(kStageNotAllowed);
  const std::uint8_t* scaled = scale(column, source_.height, size_.height);
  const std::uint8_t* corrected = correct(scaled, size_.height);
  if (options_.keepFull) {
    if (depths_.full == depths_.row)
      writeColumn(full_, c, corrected, depths_.full);
    else
      for (int i = 0; i < size_.height; ++i)
        writeFullSpan(corrected + static_cast<std::size_t>(i) * (depths_.row / 8), i, c, 1);
  }
  if (options_.makeDisplay)
    writeColumn(display_, c, displayLine(displaySource(scaled, corrected), size_.height), displayStoreBits_);
  noteChanged(c, 0, c + 1, size_.height, size_.height);
  return true;
}

bool OutputStage::putBlock(const std::uint8_t* pixels, std::size_t stride, int x, int y, int width, int height) {
  if (!begun_ || source_.columnMode || cube_ || twoPass_ || options_.useDdb || depths_.row < 8 || !pixels ||
      size_.width != source_.width || x < 0 || y < 0 || width <= 0 || height <= 0 ||
      width > size_.width - x || height > size_.height - y)
    return fail(kStageNotAllowed);
  for (int j = 0; j < height; ++j) {  // no cube here: display and full copy take corrected pixels
    const std::uint8_t* line = correct(pixels + stride * static_cast<std::size_t>(j), width);
    if (options_.keepFull) writeFullSpan(line, y + j, x, width);
    if (options_.makeDisplay) writeDisplaySpan(displayLine(line, width), y + j, x, width);
  }
  noteChanged(x, y, x + width, y + height, static_cast<long long>(width) * height);
  return true;
}

bool OutputStage::resizeSource(int width, int height) {
  if (!begun_ || width < size_.width || height < size_.height) return fail(kStageBadOptions);
  source_.width = width;
  source_.height = height;
  return true;
}

int OutputStage::progress() const {
  if (!begun_) return 0;
  long long total = static_cast<long long>(size_.width) * size_.height;
  long long done = std::min(pixelsDone_, total);
  if (twoPass_) return pass_ == 1 ? static_cast<int>(done * 5000 / total) : 5000 + mappedRows_ * 5000 / size_.height;
  return static_cast<int>(done * 10000 / total);
}

bool OutputStage::step(int rows, bool* changed, PixelRect* changedRect) {
  if (!begun_ || progress() >= 10000) return fail(kStageNotAllowed);
  changed_ = PixelRect{};
  if (pass_ == 2) {
    if (!mapSecondPass(rows)) return false;
  } else {
    int status = rows_ ? rows_->deliverRows(*this, rows) : kStageNotAllowed;
    if (status != kStageOk) return fail(status);
    long long total = static_cast<long long>(size_.width) * size_.height;
    if (twoPass_ && pixelsDone_ >= total && !finishFirstPass()) return false;
  }
  if (changed) *changed = !changed_.empty();
  if (changedRect) *changedRect = changed_;
  return true;
}

bool OutputStage::finishFirstPass() {
  // Column readers cannot feed row-wise counting as they go: count the kept copy.
  if (source_.columnMode)
    for (int y = 0; y < size_.height; ++y) twoPass_->countRow(memoryRowOf(full_, y));
  twoPass_->chooseColours();
  RgbTriple colours[256];
  int n = std::min(twoPass_->palette(colours), 256);
  paletteColours_.assign(colours, colours + n);
  if (!gammaPixels_) gamma_.apply(paletteColours_.data(), n);  // else it counted corrected pixels
  PaletteHandle palette = createLogicalPalette(paletteColours_.data(), n);
  if (!palette) return fail(kStagePalette);
  if (ownsPalette_) deletePalette(palette_);
  palette_ = palette;
  ownsPalette_ = true;
  if (options_.useDdb) {
    deleteMemoryDc(memoryDc_);
    memoryDc_ = createMemoryDc(palette_);
    if (!memoryDc_) return fail(kStageNoMemoryDc);
  } else {
    RgbQuad quads[256];
    for (int i = 0; i < n; ++i) quads[i] = RgbQuad{paletteColours_[i].blue, paletteColours_[i].green, paletteColours_[i].red, 0};
    setDibColourTable(display_, quads, n);
  }
  pass_ = 2;
  mappedRows_ = 0;
  return true;
}

bool OutputStage::mapSecondPass(int rows) {
  for (int k = 0; k < rows && mappedRows_ < size_.height; ++k) {
    int y = mappedRows_;
    twoPass_->mapRow(memoryRowOf(full_, y), outRow_.data());
    if (!writeDisplaySpan(outRow_.data(), y, 0, size_.width)) return false;
    noteChanged(0, y, size_.width, y + 1, 0);
    ++mappedRows_;
  }
  if (mappedRows_ == size_.height) changed_ = PixelRect{0, 0, size_.width, size_.height};
  return true;
}

void OutputStage::clear() {
  clearBitmap(display_);
  clearBitmap(full_);
}

void OutputStage::end() {
  deleteMemoryDc(memoryDc_);
  memoryDc_ = nullptr;
  if (ownsDisplay_) deleteBitmap(display_);
  if (ownsFull_) deleteBitmap(full_);
  if (ownsPalette_) deletePalette(palette_);
  display_ = full_ = nullptr;
  palette_ = nullptr;
  ownsDisplay_ = ownsFull_ = ownsPalette_ = false;
  displayBits_ = fullBits_ = nullptr;
  cube_.reset();
  twoPass_.reset();
  scaleRow_.clear();
  gammaRow_.clear();
  wideRow_.clear();
  outRow_.clear();
  deviceRow_.clear();
  paletteColours_.clear();
  declaredColours_ = 0;
  displayStoreBits_ = 0;
  pixelsDone_ = 0;
  pass_ = 1;
  mappedRows_ = 0;
  changed_ = PixelRect{};
  valid_ = PixelRect{};
  size_ = OutputSize{};
  depths_ = OutputDepths{};
  rows_ = nullptr;
  begun_ = false;
}

void OutputStage::lendTo(DibImage& frame) const {
  if (ownsDisplay_) frame.setDisplayBitmap(display_, false);
  if (ownsFull_) frame.setFullBitmap(full_, false);
  if (ownsPalette_) frame.setPalette(palette_, false);
}

void OutputStage::handOver(DibImage& frame) {
  if (ownsDisplay_) frame.setDisplayBitmap(display_, true);
  if (ownsFull_) frame.setFullBitmap(full_, true);
  if (ownsPalette_) frame.setPalette(palette_, true);
  ownsDisplay_ = ownsFull_ = ownsPalette_ = false;
}

}  // namespace imaging
