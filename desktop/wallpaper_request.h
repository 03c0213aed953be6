// What a wallpaper request asks of the decode: the target size, the turn and
// the part of the photo to keep. Portable arithmetic.
#pragma once

#include "imaging/quarter_turns.h"

namespace desktop {

struct Extent {
  int width = 0;
  int height = 0;
};

// Inclusive corners in the photo's own pixels, as viewers select.
struct Selection {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
  bool empty() const { return right < left || bottom < top; }
};

// The size to decode to: the screen, turned like the photo; with a selection,
// enlarged so that the selected part fills the screen.
Extent WallpaperTarget(Extent screen, imaging::QuarterTurns turn, Extent photo, const Selection* selection);

// The selection in the pixels of the decoded (and turned) bitmap, clipped to
// it; false when nothing of it is left.
bool ScaleSelection(const Selection& selection, Extent photo, Extent decoded, Selection* scaled);

}  // namespace desktop
