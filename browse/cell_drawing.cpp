#include "browse/cell_drawing.h"

#include <cstdlib>

#include "imaging/dib_draw.h"
#include "ui/ui_utils_win.h"
#include "ui/gdi_scope_win.h"

namespace {

// A line through the points, leaving out the last one.
void Polyline3(HDC dc, COLORREF colour, POINT a, POINT b, POINT c) {
  ScopedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
  SelectedObject selected(dc, pen.get());
  MoveToEx(dc, a.x, a.y, nullptr);
  LineTo(dc, b.x, b.y);
  LineTo(dc, c.x, c.y);
}

}  // namespace

void PaintCell(HDC dc, const browse::CellMetrics& cells, const imaging::PackedDib* thumbnail, HPALETTE palette,
               const RECT& icon, int highlight) {
  // Given back before closing the disc can delete it.
  SelectedPalette selected(dc, palette);
  RECT cell = ToRECT(browse::CellRect(cells, ToPixelRect(icon)));
  FillRect(dc, &cell, GetSysColorBrush(highlight == 1 ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
  if (cells.border > 0) DrawEdge(dc, &cell, BDR_RAISEDOUTER, BF_RECT | BF_SOFT | BF_ADJUST);
  if (!thumbnail || !thumbnail->header()) return;

  const imaging::DibHeader& header = *thumbnail->header();
  imaging::PixelRect photo = browse::PhotoRect(cells, ToPixelRect(icon), header.width, header.height);
  if (cells.border > 3) {
    RECT frame = {photo.left - 1, photo.top - 1, photo.right + 1, photo.bottom + 1};
    DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  }
  int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  imaging::drawPackedDib(reinterpret_cast<imaging::DeviceContext>(dc), *thumbnail, photo);
  SetStretchBltMode(dc, oldMode);
}

HBITMAP MakeCellBitmap(const browse::CellMetrics& cells, const imaging::PackedDib* thumbnail) {
  const int width = cells.cellWidth(), height = cells.cellHeight();
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biXPelsPerMeter = info.bmiHeader.biYPelsPerMeter = 72;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return nullptr;

  int photoWidth = width, photoHeight = height;
  if (thumbnail && thumbnail->header()) {
    // The thumbnail is reduced to the thumbnail box first, as a decode to that size would.
    imaging::PixelRect fitted = browse::PhotoRect(cells, imaging::PixelRect{}, thumbnail->header()->width,
                                            thumbnail->header()->height);
    photoWidth = fitted.width();
    photoHeight = fitted.height();
  }
  const browse::CellBitmapLayout at = browse::LayoutCellBitmap(cells, photoWidth, photoHeight);
  const int x = at.destX, y = at.destY, dw = at.width, dh = at.height;

  MemoryDc memory(nullptr);
  const HDC dc = memory.get();
  SelectedObject selectedBitmap(dc, bitmap);
  RECT all = {0, 0, width, height};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  const int border = cells.border;
  if (border > 0) {
    ScopedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWFRAME)));
    SelectedObject selectedPen(dc, pen.get());
    SelectedObject selectedBrush(dc, GetStockObject(NULL_BRUSH));
    if (border == 1) {
      Rectangle(dc, x - 1, y - 1, x + dw + 1, y + dh + 1);
    } else {
      Rectangle(dc, 0, 0, width, height);
      Polyline3(dc, GetSysColor(COLOR_3DHILIGHT), {width - 2, 1}, {1, 1}, {1, height - 1});
      Polyline3(dc, GetSysColor(COLOR_3DSHADOW), {width - 2, 1}, {width - 2, height - 2}, {1, height - 2});
    }
    if (border > 3) {
      Polyline3(dc, GetSysColor(COLOR_3DHILIGHT), {x + dw, y - 1}, {x + dw, y + dh}, {x - 1, y + dh});
      Polyline3(dc, GetSysColor(COLOR_3DSHADOW), {x + dw, y - 1}, {x - 1, y - 1}, {x - 1, y + dh});
    }
  }
  if (thumbnail && thumbnail->bits()) {
    const imaging::DibHeader& h = *thumbnail->header();
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, x, y, dw, dh, 0, 0, h.width, std::abs(h.height), thumbnail->bits(),
                  reinterpret_cast<const BITMAPINFO*>(thumbnail->info()), DIB_RGB_COLORS, SRCCOPY);
  }
  return bitmap;
}
