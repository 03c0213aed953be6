#include "viewer/frame_placement.h"

#include <algorithm>

namespace viewer {

imaging::PixelRect PlaceFrame(int centreX, int centreY, int width, int height, const imaging::PixelRect& workArea) {
  width = std::min(std::max(width, kMinFrameWidth), workArea.right - workArea.left);
  height = std::min(std::max(height, kMinFrameHeight), workArea.bottom - workArea.top);
  imaging::PixelRect frame{centreX - width / 2, centreY - height / 2, 0, 0};
  frame.right = frame.left + width;
  frame.bottom = frame.top + height;
  int dx = std::min(0, workArea.right - frame.right);
  int dy = std::min(0, workArea.bottom - frame.bottom);
  dx += std::max(0, workArea.left - (frame.left + dx));
  dy += std::max(0, workArea.top - (frame.top + dy));
  frame.left += dx;
  frame.right += dx;
  frame.top += dy;
  frame.bottom += dy;
  return frame;
}

imaging::PixelRect PlaceFrameFrom(int left, int top, int width, int height, const imaging::PixelRect& workArea) {
  width = std::min(width, workArea.right - left);
  height = std::min(height, workArea.bottom - top);
  return PlaceFrame(left + width / 2, top + height / 2, width, height, workArea);
}

imaging::PixelRect CascadeFrame(const imaging::PixelRect& last, int step, const imaging::PixelRect& workArea) {
  imaging::PixelRect frame{last.left + step, last.top + step, last.right + step, last.bottom + step};
  if (frame.right > workArea.right || frame.bottom > workArea.bottom) {
    frame = {workArea.left, workArea.top, workArea.left + last.right - last.left,
             workArea.top + last.bottom - last.top};
  }
  return frame;
}

}  // namespace viewer
