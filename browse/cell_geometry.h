// Where the parts of a thumbnail cell go: the cell box, the photo inside it and
// the layout of a ready-made cell bitmap. Portable arithmetic, no drawing.
#pragma once
#include "imaging/pixel_types.h"

namespace browse {

// The thumbnail box and the border around it, from the settings.
struct CellMetrics {
  int thumbWidth = 96;
  int thumbHeight = 96;
  int border = 8;
  int gap = 8;  // between cells
  int cellWidth() const { return thumbWidth + 2 * border; }
  int cellHeight() const { return thumbHeight + 2 * border; }
  // Distance between cells in the list: the cell plus the gap.
  int spacingX() const { return cellWidth() + gap; }
  int spacingY() const { return cellHeight() + gap; }
};

// The cell box centred in an item's icon rectangle.
imaging::PixelRect CellRect(const CellMetrics& metrics, const imaging::PixelRect& icon);

// The photo of a thumbnail of imageWidth x imageHeight (signs ignored) centred in
// the icon rectangle, reduced to fit the thumbnail box but never enlarged.
imaging::PixelRect PhotoRect(const CellMetrics& metrics, const imaging::PixelRect& icon, int imageWidth, int imageHeight);

// Placement of a photo of photoWidth x photoHeight in a cell bitmap: the part
// that fits (cut evenly on both sides when too big) and where it goes.
struct CellBitmapLayout {
  int sourceX = 0, sourceY = 0;  // first visible photo pixel
  int width = 0, height = 0;     // visible part
  int destX = 0, destY = 0;      // its place in the cell bitmap
};
CellBitmapLayout LayoutCellBitmap(const CellMetrics& metrics, int photoWidth, int photoHeight);

}  // namespace browse
