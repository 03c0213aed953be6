// Where the viewer frame goes when it fits itself to its photo. Portable.
#pragma once

#include "imaging/dib_types.h"

namespace viewer {

// The frame never gets smaller than this.
constexpr int kMinFrameWidth = 280;
constexpr int kMinFrameHeight = 320;

// A frame of the wanted outer size, kept between the minimum size and the work
// area, centred on (centreX, centreY) and pushed back inside the work area:
// right and bottom edges first, then left and top.
imaging::PixelRect PlaceFrame(int centreX, int centreY, int width, int height, const imaging::PixelRect& workArea);

// A frame of the wanted outer size with its top-left corner at (left, top),
// made smaller where it would leave the work area; PlaceFrame's rules after that.
imaging::PixelRect PlaceFrameFrom(int left, int top, int width, int height, const imaging::PixelRect& workArea);

// A new frame the size of the last one, one step right and down from it so that
// the last one's caption stays in sight; back at the work area's top-left corner
// when the moved frame would stick out of the work area.
imaging::PixelRect CascadeFrame(const imaging::PixelRect& last, int step, const imaging::PixelRect& workArea);

}  // namespace viewer
