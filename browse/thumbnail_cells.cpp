// Drawing the thumbnail cells: custom draw where the list control supports it,
// ready-made cell bitmaps in the image list otherwise.
#include <string>

#include "browse/browse_window.h"
#include "browse/cell_drawing.h"
#include "settings/settings.h"

namespace {

// The icon-spacing message with -1 keeps the spacing and tells whether the control
// is new enough to leave the drawing of items to us.
constexpr LPARAM kKeepSpacing = -1;

UINT ImageListDepth(int displayDepth) {
  switch (displayDepth) {
    case 8: return ILC_COLOR8;
    case 16: return ILC_COLOR16;
    case 24: return ILC_COLOR24;
  }
  return ILC_COLOR;
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
  PaintCell(dc, cells_, photo->thumbnail.load(), displayDepth_ <= 8 ? palette_.load() : nullptr, icon, highlight);

  const std::string number = std::to_string(photo->index + 1);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkMode(dc, TRANSPARENT);
  if (photo->name.empty()) {
    RECT label = {icon.left + 10, icon.bottom - 21, icon.left + 30, icon.bottom};
    DrawTextA(dc, number.c_str(), -1, &label, DT_SINGLELINE | DT_CENTER);
  } else {
    // A loose pack: its number and file name, cut short to the cell.
    const std::string text = number + "  " + photo->name;
    RECT label = {icon.left + 10, icon.bottom - 21, icon.right - 6, icon.bottom};
    DrawTextA(dc, text.c_str(), -1, &label, DT_SINGLELINE | DT_LEFT | DT_END_ELLIPSIS | DT_NOPREFIX);
  }
  if (hasFocus && (state & LVIS_FOCUSED)) {
    RECT focus = {icon.left + 5, icon.top, icon.right - 6, icon.bottom};
    DrawFocusRect(dc, &focus);
  }
  return CDRF_SKIPDEFAULT;
}

