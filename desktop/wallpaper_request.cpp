#include "desktop/wallpaper_request.h"

#include <algorithm>
#include <cstdint>

#include "ui/mul_div.h"

namespace desktop {

namespace {

// A selection edge in decoded-bitmap coordinates (truncated toward zero).
int ScaleEdge(int edge, int decoded, int photo) {
  return static_cast<int>(static_cast<std::int64_t>(edge) * decoded / photo);
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
  return Extent{MulDivRounded(target.width, photo.width, selection->width()),
                MulDivRounded(target.height, photo.height, selection->height())};
}

bool ScaleSelection(const Selection& selection, Extent photo, Extent decoded, Selection* scaled) {
  if (photo.width <= 0 || photo.height <= 0) return false;
  Selection s{ScaleEdge(selection.left, decoded.width, photo.width), ScaleEdge(selection.top, decoded.height, photo.height),
              ScaleEdge(selection.right, decoded.width, photo.width),
              ScaleEdge(selection.bottom, decoded.height, photo.height)};
  s.left = std::max(s.left, 0);
  s.top = std::max(s.top, 0);
  s.right = std::min(s.right, decoded.width - 1);
  s.bottom = std::min(s.bottom, decoded.height - 1);
  if (s.empty()) return false;
  *scaled = s;
  return true;
}

}  // namespace desktop
