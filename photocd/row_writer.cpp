#include "row_writer.h"

#include <algorithm>
#include <new>

#include "colour_tables.h"
#include "sample_kernels.h"

PcdStatus PcdFormatBytesPerPixel(int code, int currentBytesPerPixel, int& bytesPerPixel) {
  switch (static_cast<OutputFormat>(code)) {
    case OutputFormat::LumaOnly:
    case OutputFormat::Indexed8: bytesPerPixel = 1; return kPcdOk;
    case OutputFormat::Rgb24:
    case OutputFormat::RawYcc24: bytesPerPixel = currentBytesPerPixel == 1 ? 3 : currentBytesPerPixel; return kPcdOk;
  }
  return kPcdInvalidArgument;
}

PcdStatus PcdChangeFormat(int code, OutputFormat& format, int& bytesPerPixel, int& componentSpacing) {
  int bytes = 0;
  PcdStatus status = PcdFormatBytesPerPixel(code, bytesPerPixel, bytes);
  if (status != kPcdOk) return status;
  format = static_cast<OutputFormat>(code);
  bytesPerPixel = bytes;
  componentSpacing = 1;
  return kPcdOk;
}

PcdStatus RowWriter::Begin(const OutputTarget& target, int outputRows, int outputColumns, std::uint8_t* buffer,
                           std::ptrdiff_t stride) {
  int check = 0;
  if (!buffer || PcdFormatBytesPerPixel(static_cast<int>(target.format), target.bytesPerPixel, check) != kPcdOk)
    return kPcdInvalidArgument;
  const int components = target.format == OutputFormat::Rgb24 || target.format == OutputFormat::RawYcc24 ? 3 : 1;
  // The components of one pixel must stay inside that pixel's bytes.
  if (target.componentSpacing < 1 || (components - 1) * target.componentSpacing >= target.bytesPerPixel ||
      stride < static_cast<std::ptrdiff_t>(outputColumns) * target.bytesPerPixel)
    return kPcdInvalidArgument;
  PlacementSteps steps{};
  PcdStatus status = PcdPlacementSteps(target.orientation, outputRows, outputColumns, stride, target.bytesPerPixel, steps);
  if (status != kPcdOk) return status;
  target_ = target;
  row_ = buffer + steps.start;
  pixelStep_ = steps.pixelStep;
  rowStep_ = steps.rowStep;
  if (target.format == OutputFormat::Indexed8) {
    // A stored row is as long as the output's columns, or its rows when the axes swap.
    const int storedColumns = (target.orientation & kOrientationSwapsAxes) ? outputRows : outputColumns;
    const std::size_t size = 3 * (static_cast<std::size_t>(storedColumns) + 2);
    try {
      diffusion_.current.assign(size, 0);
      diffusion_.next.assign(size, 0);
    } catch (const std::bad_alloc&) {
      return kPcdOutOfMemory;
    }
    diffusion_.rightToLeft = false;
  }
  return kPcdOk;
}

void RowWriter::Write(const std::uint8_t* y, const std::uint8_t* c1, const std::uint8_t* c2, int count) {
  std::uint8_t* p = row_;
  const std::ptrdiff_t step = pixelStep_;
  const std::ptrdiff_t s1 = target_.componentSpacing, s2 = 2 * s1;
  switch (target_.format) {
    case OutputFormat::LumaOnly:
      for (int x = 0; x < count; ++x, p += step) *p = y[x];
      break;
    case OutputFormat::RawYcc24:
      for (int x = 0; x < count; ++x, p += step) {
        p[0] = y[x];
        p[s1] = c1[x];
        p[s2] = c2[x];
      }
      break;
    case OutputFormat::Rgb24:
      WriteRgb(y, c1, c2, count);
      break;
    case OutputFormat::Indexed8:
      WriteIndexed(y, c1, c2, count);
      break;
  }
  row_ += rowStep_;
}

void RowWriter::WriteRgb(const std::uint8_t* y, const std::uint8_t* c1, const std::uint8_t* c2, int count) {
  const PcdSampleKernels& kernels = PcdKernels();
  if (pixelStep_ == 3 && target_.componentSpacing == 1) {
    kernels.yccToBgr(y, c1, c2, count, row_);
    return;
  }
  // Turned or spaced pixels: converted in pieces, then placed one by one.
  constexpr int kPiece = 256;
  std::uint8_t bgr[3 * kPiece];
  const std::ptrdiff_t s1 = target_.componentSpacing, s2 = 2 * s1;
  std::uint8_t* p = row_;
  for (int x = 0; x < count; x += kPiece) {
    const int n = std::min(kPiece, count - x);
    kernels.yccToBgr(y + x, c1 + x, c2 + x, n, bgr);
    for (int i = 0; i < n; ++i, p += pixelStep_) {
      p[0] = bgr[3 * i];
      p[s1] = bgr[3 * i + 1];
      p[s2] = bgr[3 * i + 2];
    }
  }
}

void RowWriter::WriteIndexed(const std::uint8_t* y, const std::uint8_t* c1, const std::uint8_t* c2, int count) {
  ErrorDiffusion& d = diffusion_;
  std::fill(d.next.begin(), d.next.end(), 0);
  const bool backwards = d.rightToLeft;
  const int direction = backwards ? -1 : 1;
  for (int i = 0; i < count; ++i) {
    const int x = backwards ? count - 1 - i : i;
    const pcd::Rgb rgb = pcd::YccToRgb(y[x], c1[x], c2[x]);
    // Accumulators are offset by one column so that x - 1 and x + 1 always exist.
    int* here = &d.current[3 * (x + 1)];
    int* ahead = &d.current[3 * (x + 1 + direction)];
    int* below = &d.next[3 * (x + 1)];
    int value[3] = {rgb.r, rgb.g, rgb.b};
    for (int c = 0; c < 3; ++c) {
      value[c] = std::clamp(value[c] + (here[c] >> 1), 0, 255);
      here[c] = 0;
    }
    const std::uint8_t index = pcd::PaletteIndex(value[0], value[1], value[2]);
    const pcd::Rgb entry = pcd::PaletteEntry(index);
    const int chosen[3] = {entry.r, entry.g, entry.b};
    for (int c = 0; c < 3; ++c) {
      const int error = value[c] - chosen[c];
      ahead[c] += error;
      below[c] += error;
    }
    row_[x * pixelStep_] = index;
  }
  d.current.swap(d.next);
  d.rightToLeft = !backwards;
}
