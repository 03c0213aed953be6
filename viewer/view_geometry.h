// Arithmetic of the image view control: how decoded pixels map to the screen
// at a zoom, which part of the bitmap a paint needs, scrolling limits and
// keeping the centre in place. Rectangles are in pixels, right and bottom
// exclusive. Portable.
#pragma once

#include "imaging/dib_types.h"

namespace viewer {

using imaging::PixelRect;

// Decoded size over source size, along the long side (1 without a picture).
double DecodeScale(int decodedWidth, int decodedHeight, int sourceWidth, int sourceHeight);
// Display pixels per decoded pixel in 1/10000: round(zoom / decodeScale x 10000).
int DisplayFactor(double zoom, double decodeScale);

// Decoded pixels to display pixels (not yet scrolled), rounding outwards so
// that every display pixel a decoded pixel touches is covered.
PixelRect DecodedToDisplay(const PixelRect& decoded, int factor);

// What one paint draws: the decoded pixels under the paint rectangle and the
// display rectangle they cover, already moved by the scroll position.
struct PaintRects {
  PixelRect source;
  PixelRect target;
};
PaintRects PaintRectsFor(const PixelRect& paint, int scrollX, int scrollY, int factor, int decodedWidth,
                         int decodedHeight);

// A new zoom decodes the picture again when it was decoded below its source
// size and the zoom asks for more than 1 % beyond the decoded size.
bool ZoomNeedsRedecode(double decodeScale, double zoom);

// Displayed size of a source length at a zoom.
int DisplayLength(int sourceLength, double zoom);
// max(0, displayed - control).
int ScrollLimit(int sourceLength, double zoom, int controlLength);
int ClampScroll(int scroll, int limit);
// The scroll position that keeps the control's centre on the same picture point
// when the zoom changes (not yet clamped).
int ScrollKeepingCentre(int scroll, int controlLength, double oldZoom, double newZoom);

}  // namespace viewer
