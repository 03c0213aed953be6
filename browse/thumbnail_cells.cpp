// Drawing the thumbnail cells: custom draw where the list control supports it,
// ready-made cell bitmaps in the image list otherwise.
#include <cstdlib>

#include "app/settings.h"
#include "browse/browse_window.h"
#include "imaging/dib_draw.h"

namespace {

// The icon-spacing message with -1 keeps the spacing and tells whether the control
// is new enough to leave the drawing of items to us.
constexpr LPARAM kKeepSpacing = -1;

browse::Rect ToRect(const RECT& r) { return browse::Rect{r.left, r.top, r.right, r.bottom}; }
RECT ToRECT(const browse::Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

UINT ImageListDepth(int displayDepth) {
  switch (displayDepth) {
    case 8: return ILC_COLOR8;
    case 16: return ILC_COLOR16;
    case 24: return ILC_COLOR24;
  }
  return ILC_COLOR;
}

// A line through the points, leaving out the last one.
void Polyline3(HDC dc, COLORREF colour, POINT a, POINT b, POINT c) {
  HPEN pen = CreatePen(PS_SOLID, 1, colour);
  HGDIOBJ old = SelectObject(dc, pen);
  MoveToEx(dc, a.x, a.y, nullptr);
  LineTo(dc, b.x, b.y);
  LineTo(dc, c.x, c.y);
  SelectObject(dc, old);
  DeleteObject(pen);
}

}  // namespace

void BrowseWindow::SetUpList() {
  customDraw_ = SendMessageA(list_, LVM_SETICONSPACING, 0, kKeepSpacing);
  if (customDraw_) {
    SendMessageA(list_, LVM_SETBKCOLOR, 0, GetSysColor(COLOR_BTNFACE));
    SendMessageA(list_, LVM_SETICONSPACING, 0, MAKELPARAM(cells_.spacingX(), cells_.spacingY()));
  }
  images_ = ImageList_Create(cells_.cellWidth(), cells_.cellHeight(), ImageListDepth(displayDepth_), 4, 0);
  if (!images_) return;
  ImageList_SetBkColor(images_, GetSysColor(COLOR_WINDOW));
  SendMessageA(list_, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images_));
  ResetImageList();
}

LRESULT BrowseWindow::OnCustomDraw(NMLVCUSTOMDRAW* draw) {
  if (!customDraw_) return CDRF_DODEFAULT;
  NMCUSTOMDRAW& nm = draw->nmcd;
  if (nm.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
  if (nm.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
  auto* photo = reinterpret_cast<browse::PhotoItem*>(nm.lItemlParam);
  if (!photo) return CDRF_DODEFAULT;

  const int item = static_cast<int>(nm.dwItemSpec);
  RECT bounds = {}, client, overlap;
  bounds.left = LVIR_BOUNDS;
  SendMessageA(list_, LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&bounds));
  GetClientRect(list_, &client);
  if (!IntersectRect(&overlap, &bounds, &client)) return CDRF_SKIPDEFAULT;

  const UINT state = static_cast<UINT>(SendMessageA(list_, LVM_GETITEMSTATE, item, LVIS_SELECTED | LVIS_DROPHILITED | LVIS_FOCUSED));
  const bool hasFocus = GetFocus() == list_;
  int highlight = 0;
  if (state & (LVIS_SELECTED | LVIS_DROPHILITED)) highlight = hasFocus ? 1 : -1;

  RECT icon = {};
  icon.left = LVIR_ICON;
  SendMessageA(list_, LVM_GETITEMRECT, item, reinterpret_cast<LPARAM>(&icon));
  HDC dc = nm.hdc;
  PaintCell(photo->thumbnail.load(), dc, icon, highlight);

  char number[16];
  wsprintfA(number, "%d", photo->index + 1);
  RECT label = {icon.left + 10, icon.bottom - 21, icon.left + 30, icon.bottom};
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, number, -1, &label, DT_SINGLELINE | DT_CENTER);
  if (hasFocus && (state & LVIS_FOCUSED)) {
    RECT focus = {icon.left + 5, icon.top, icon.right - 6, icon.bottom};
    DrawFocusRect(dc, &focus);
  }
  return CDRF_SKIPDEFAULT;
}

void BrowseWindow::PaintCell(const imaging::PackedDib* thumbnail, HDC dc, const RECT& icon, int highlight) const {
  if (displayDepth_ <= 8 && palette_) {
    SelectPalette(dc, palette_, FALSE);
    RealizePalette(dc);
  }
  RECT cell = ToRECT(browse::CellRect(cells_, ToRect(icon)));
  FillRect(dc, &cell, GetSysColorBrush(highlight == 1 ? COLOR_HIGHLIGHT : COLOR_BTNFACE));
  if (cells_.border > 0) DrawEdge(dc, &cell, BDR_RAISEDOUTER, BF_RECT | BF_SOFT | BF_ADJUST);
  if (!thumbnail || !thumbnail->header()) return;

  const imaging::DibHeader& header = *thumbnail->header();
  browse::Rect photo = browse::PhotoRect(cells_, ToRect(icon), header.width, header.height);
  if (cells_.border > 3) {
    RECT frame = {photo.left - 1, photo.top - 1, photo.right + 1, photo.bottom + 1};
    DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  }
  int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
  imaging::drawPackedDib(reinterpret_cast<imaging::DeviceContext>(dc), *thumbnail,
                         imaging::PixelRect{photo.left, photo.top, photo.right, photo.bottom});
  SetStretchBltMode(dc, oldMode);
}

HBITMAP BrowseWindow::MakeCellBitmap(const imaging::PackedDib* thumbnail) const {
  const int width = cells_.cellWidth(), height = cells_.cellHeight();
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
    browse::Rect fitted = browse::PhotoRect(cells_, browse::Rect{}, thumbnail->header()->width,
                                            thumbnail->header()->height);
    photoWidth = fitted.width();
    photoHeight = fitted.height();
  }
  const browse::CellBitmapLayout at = browse::LayoutCellBitmap(cells_, photoWidth, photoHeight);
  const int x = at.destX, y = at.destY, dw = at.width, dh = at.height;

  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  RECT all = {0, 0, width, height};
  FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
  const int border = cells_.border;
  if (border > 0) {
    HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(COLOR_WINDOWFRAME));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
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
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
  }
  if (thumbnail && thumbnail->bits()) {
    const imaging::DibHeader& h = *thumbnail->header();
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, x, y, dw, dh, 0, 0, h.width, std::abs(h.height), thumbnail->bits(),
                  reinterpret_cast<const BITMAPINFO*>(thumbnail->info()), DIB_RGB_COLORS, SRCCOPY);
  }
  SelectObject(dc, oldBitmap);
  DeleteDC(dc);
  return bitmap;
}
