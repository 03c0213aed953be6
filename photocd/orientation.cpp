#include "orientation.h"

Orientation PcdOrientationFromRotation(unsigned rotationCode) {
  static const Orientation kByRotation[4] = {0, 4, 3, 7};
  return kByRotation[rotationCode & 3];
}

PcdStatus PcdPlacementSteps(Orientation orientation, int rows, int columns, std::ptrdiff_t stride,
                            int bytesPerPixel, PlacementSteps& steps) {
  if (orientation > 7 || rows < 1 || columns < 1 || bytesPerPixel < 1) return kPcdInvalidArgument;
  const std::ptrdiff_t s = stride;
  const std::ptrdiff_t b = bytesPerPixel;
  const std::ptrdiff_t lastRow = (rows - 1) * s;
  const std::ptrdiff_t lastColumn = (columns - 1) * b;
  switch (orientation) {
    case 0: steps = {lastRow, +b, -s}; break;
    case 1: steps = {0, +b, +s}; break;
    case 2: steps = {lastRow + lastColumn, -b, -s}; break;
    case 3: steps = {lastColumn, -b, +s}; break;
    case 4: steps = {0, +s, +b}; break;
    case 5: steps = {lastRow, -s, +b}; break;
    case 6: steps = {lastColumn, +s, -b}; break;
    default: steps = {lastRow + lastColumn, -s, -b}; break;
  }
  return kPcdOk;
}

PcdStatus PcdMapRectToStored(Orientation orientation, const OutputRect& output, int outputWidth,
                             int outputHeight, OutputRect& stored) {
  const int wo = outputWidth;
  const int ho = outputHeight;
  if (orientation > 7 || output.top < 0 || output.left < 0 || output.top >= output.bottom ||
      output.left >= output.right || output.bottom > ho || output.right > wo)
    return kPcdInvalidArgument;
  int top = output.top, left = output.left, bottom = output.bottom, right = output.right;
  if (orientation & kOrientationFlipsColumns) {
    int oldLeft = left;
    left = wo - right;
    right = wo - oldLeft;
  }
  if (orientation & kOrientationFlipsRows) {
    int oldTop = top;
    top = ho - bottom;
    bottom = ho - oldTop;
  }
  if (orientation & kOrientationSwapsAxes) {
    int oldTop = top, oldLeft = left, oldBottom = bottom, oldRight = right;
    top = oldLeft;
    left = ho - oldBottom;
    bottom = oldRight;
    right = ho - oldTop;
  }
  stored = {static_cast<std::int16_t>(top), static_cast<std::int16_t>(left),
            static_cast<std::int16_t>(bottom), static_cast<std::int16_t>(right)};
  return kPcdOk;
}
