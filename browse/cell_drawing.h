// Painting one thumbnail cell: into a list item (custom draw) or into a cell
// bitmap for the list's image list (older list controls).
#pragma once
#include <windows.h>

#include "browse/cell_geometry.h"
#include "imaging/packed_dib.h"

// Fills the cell centred in icon (highlight colour when highlight is 1, button
// face otherwise), frames it by the border size and draws the thumbnail, if any,
// reduced to fit. palette, when given, is realised in dc first.
void PaintCell(HDC dc, const browse::CellMetrics& cells, const imaging::PackedDib* thumbnail, HPALETTE palette,
               const RECT& icon, int highlight);

// A 24-bit cell bitmap: button face, the border lines and the thumbnail reduced
// to the thumbnail box; without a thumbnail the empty framed cell. Null on failure.
HBITMAP MakeCellBitmap(const browse::CellMetrics& cells, const imaging::PackedDib* thumbnail);
