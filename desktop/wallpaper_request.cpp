#include "desktop/wallpaper_request.h"

#include <algorithm>
#include <cstdint>

namespace desktop {

namespace {

int MulDiv(int a, int b, int c) {
  return c ? static_cast<int>(static_cast<std::int64_t>(a) * b / c) : 0;
}

bool QuarterTurned(int flags) { return (flags & (kTurnLeft | kTurnRight)) != 0; }

}  // namespace

int RotationFlags(int counterClockwiseDegrees) {
  switch (counterClockwiseDegrees) {
    case 90: return kTurnLeft;
    case 180: return kHalfTurn;
    case 270: return kTurnRight;
  }
  return 0;
}

int WallpaperTurn(int flags) {
  if (flags & kHalfTurn) return 180;
  if (flags & kTurnLeft) return -90;
  if (flags & kTurnRight) return 90;
  return 0;
}

Extent WallpaperTarget(Extent screen, int flags, Extent photo, const Selection* selection) {
  Extent target = screen;
  if (QuarterTurned(flags)) {
    std::swap(target.width, target.height);
    std::swap(photo.width, photo.height);
  }
  if (!selection || selection->empty()) return target;
  // Each side scaled by how much of the photo the selection spans along it.
  return Extent{MulDiv(target.width, photo.width, selection->width()),
                MulDiv(target.height, photo.height, selection->height())};
}

bool ScaleSelection(const Selection& selection, Extent photo, Extent decoded, Selection* scaled) {
  if (photo.width <= 0 || photo.height <= 0) return false;
  Selection s{MulDiv(selection.left, decoded.width, photo.width), MulDiv(selection.top, decoded.height, photo.height),
              MulDiv(selection.right, decoded.width, photo.width),
              MulDiv(selection.bottom, decoded.height, photo.height)};
  s.left = std::max(s.left, 0);
  s.top = std::max(s.top, 0);
  s.right = std::min(s.right, decoded.width - 1);
  s.bottom = std::min(s.bottom, decoded.height - 1);
  if (s.empty()) return false;
  *scaled = s;
  return true;
}

}  // namespace desktop
