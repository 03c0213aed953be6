// The browse window's commands: routing, enabling, tooltips, menu help, pop-up
// menus and the status bar.
#include <windows.h>

#include <string>
#include <vector>

#include "browse/browse_text.h"
#include "browse/browse_window.h"
#include "browse/command_table.h"
#include "desktop/wallpaper_win.h"
#include "properties/photo_properties_win.h"
#include "export/export_command_win.h"
#include "export/photo_clipboard_win.h"
#include "resources/command_ids.h"
#include "resources/resource_ids.h"
#include "ui/command_rules_win.h"
#include "ui/help_win.h"
#include "ui/options_sheet_win.h"
#include "ui/about_box_win.h"
#include "ui/frame_bars_win.h"
#include "ui/shell_state_win.h"
#include "ui/ui_utils_win.h"

namespace {

constexpr int kStatusPadding = 10;

// The photo of the list's focused item; null when no item has the focus.
browse::PhotoItem* FocusedPhoto(HWND list) {
  const int item = list ? static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)) : -1;
  if (item < 0) return nullptr;
  LVITEMA query = {};
  query.mask = LVIF_PARAM;
  query.iItem = item;
  SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
  return reinterpret_cast<browse::PhotoItem*>(query.lParam);
}

}  // namespace

void BrowseWindow::OnCommand(int id) {
  // Exit waits for every window's commands, dialogs and boxes, which would
  // otherwise end as if confirmed; the frame's own commands run one at a time.
  if (id == CMD_EXIT) {
    if (!RefusedWhileRunning(g_instance, frame_, busy_)) PostQuitMessage(1);
    return;
  }
  if (RefusedWhileRunning(g_instance, frame_, commands_)) return;
  BusyScope running(commands_);
  // An open holds the busy count itself, after the commands already running.
  if (id == CMD_OPEN_DISC) {
    OpenDisc(true);
    return;
  }
  if (id == CMD_OPEN_DISC_IMAGE) {
    ChooseDiscImage();
    return;
  }
  if (id == CMD_OPEN_FOLDER) {
    ChooseFolder();
    return;
  }
  if (id >= CMD_RECENT_IMAGE_FIRST && id <= CMD_RECENT_IMAGE_LAST) {
    if (static_cast<std::size_t>(id - CMD_RECENT_IMAGE_FIRST) < recentImages_.size())
      OpenPath(recentImages_[id - CMD_RECENT_IMAGE_FIRST], true);
    return;
  }
  // Photos and viewers stay while a command's dialog lets a removal in.
  BusyScope busy(busy_);
  switch (id) {
    case CMD_VIEW:
      View();
      break;
    case CMD_SLIDE_SHOW:
      StartSlideShow();
      break;
    case CMD_SELECT_ALL:
      SelectAll();
      break;
    case CMD_EXPORT:
      ExportSelection();
      break;
    case CMD_COPY:
      CopySelection();
      break;
    case CMD_PRINT:
    case CMD_PRINT_ALL:
      PrintPhotos(id == CMD_PRINT_ALL);
      break;
    case CMD_SET_WALLPAPER:
    case CMD_SET_WALLPAPER_TILED:
      // The focused photo, whatever else is selected.
      if (browse::PhotoItem* photo = FocusedPhoto(list_))
        SetPhotoAsWallpaper(g_instance, frame_, photo->path, id == CMD_SET_WALLPAPER_TILED, imaging::kNoTurn);
      break;
    case CMD_PROPERTIES:
      if (browse::PhotoItem* photo = FocusedPhoto(list_)) {
        const PropertiesPhoto shown{photo->index, photo->path, photo->thumbnail.load(), photo->name};
        ShowPhotoProperties(g_instance, frame_, &shown);
      }
      break;
    case CMD_REMOVE_WALLPAPER:
      RemoveWallpaper(g_instance, frame_);
      break;
    case CMD_OPTIONS:
      RunOptionsCommand(g_instance, frame_);
      break;
    case CMD_HELP_CONTENTS:
      ShowHelpContents(frame_, kBrowseHelpPage);
      break;
    case CMD_MAKER_WEB_PAGE:
      OpenWebPage(frame_, IDS_MAKER_HOME_PAGE);
      break;
    case CMD_PRODUCT_WEB_PAGE:
      OpenWebPage(frame_, IDS_PRODUCT_HOME_PAGE);
      break;
    case CMD_ABOUT:
      ShowAboutBox(frame_);
      break;
  }
}

std::vector<std::string> BrowseWindow::SelectedPaths() const {
  std::vector<std::string> paths;
  if (!list_) return paths;
  for (int item = -1; (item = static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, item, LVNI_SELECTED))) >= 0;)
    if (browse::PhotoItem* photo = ListPhoto(item)) paths.push_back(photo->path);
  return paths;
}

void BrowseWindow::ExportSelection() {
  std::vector<std::string> paths = SelectedPaths();
  if (!paths.empty()) imagefile::ExportPhotos(g_instance, frame_, paths, imaging::kNoTurn);
}

void BrowseWindow::CopySelection() {
  if (SelectedCount() > 1) {
    if (!imagefile::CopyFileListToClipboard(g_instance, frame_, SelectedPaths()))
      SystemErrorBoxId(g_instance, frame_, IDS_COPY_FAILED);
    return;
  }
  int focused = static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  if (browse::PhotoItem* photo = ListPhoto(focused))
    imagefile::CopyPhotoFile(g_instance, frame_, photo->path, imaging::kNoTurn);
}

int BrowseWindow::SelectedCount() const {
  return list_ ? static_cast<int>(SendMessageA(list_, LVM_GETSELECTEDCOUNT, 0, 0)) : 0;
}

void BrowseWindow::CollectSelection(browse::PhotoList& selection) const {
  if (!list_) return;
  int item = -1;
  while ((item = static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, item, LVNI_SELECTED))) >= 0) {
    LVITEMA query = {};
    query.mask = LVIF_PARAM;
    query.iItem = item;
    SendMessageA(list_, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&query));
    selection.Append(reinterpret_cast<browse::PhotoItem*>(query.lParam));
  }
}

void BrowseWindow::SelectAll() {
  if (!list_) return;
  int focused = static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
  LVITEMA item = {};
  item.stateMask = LVIS_FOCUSED | LVIS_SELECTED;
  item.state = LVIS_SELECTED;
  SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
  if (focused >= 0) {
    SendMessageA(list_, LVM_ENSUREVISIBLE, focused, FALSE);
    item.stateMask = item.state = LVIS_FOCUSED;
    SendMessageA(list_, LVM_SETITEMSTATE, focused, reinterpret_cast<LPARAM>(&item));
  }
  UpdateMenuState();
}

void BrowseWindow::UpdateMenuState(HMENU menu) {
  if (!menu) menu = menu_;
  const browse::SelectionState state{SelectedCount(), !disc_.root.empty()};
  for (int id : browse::kManagedCommands) {
    bool enabled = browse::CommandEnabled(id, state);
    if (menu) EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    if (toolbar_) SendMessageA(toolbar_, TB_ENABLEBUTTON, id, MAKELONG(enabled ? TRUE : FALSE, 0));
  }
}

void BrowseWindow::UpdateStatusBar() {
  if (!status_) return;
  SendMessageA(status_, SB_SIMPLE, FALSE, 0);
  std::vector<std::string> parts;
  if (disc_.root.empty()) {
    parts.push_back(LoadText(IDS_NO_DISC));
  } else {
    // The disc's date comes from INFO.PCD; a folder without one shows only the count.
    if (!disc_.infoPath.empty())
      parts.push_back(FormatDateTime(browse::PhotoDate(LocalEpochFileTime(), disc_.info.secondTime)));
    char count[64];
    wsprintfA(count, LoadText(IDS_PHOTO_COUNT).c_str(), static_cast<int>(photos_.Count()));
    parts.push_back(count);
  }
  int widths[2] = {};
  int right = 0;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    right += TextWidth(status_, parts[i].c_str()) + kStatusPadding;
    widths[i] = right;
  }
  SendMessageA(status_, SB_SETPARTS, static_cast<WPARAM>(parts.size()), reinterpret_cast<LPARAM>(widths));
  for (std::size_t i = 0; i < parts.size(); ++i)
    SendMessageA(status_, SB_SETTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(parts[i].c_str()));
}

void BrowseWindow::OnMenuSelect(UINT item, UINT flags) { ShowMenuHelp(g_instance, status_, item, flags); }

LRESULT BrowseWindow::OnNotify(NMHDR* header) {
  if (AnswerToolbarTip(g_instance, header)) return 0;
  if (header->hwndFrom != list_) return 0;
  switch (header->code) {
    case LVN_GETDISPINFOA:
    case LVN_GETDISPINFOW: {
      auto* info = reinterpret_cast<NMLVDISPINFOA*>(header);
      if (info->item.mask & LVIF_IMAGE) {
        auto* photo = reinterpret_cast<browse::PhotoItem*>(info->item.lParam);
        if (!photo) photo = ListPhoto(info->item.iItem);
        info->item.iImage = photo ? photo->imageIndex.load() : 0;
      }
      return 0;
    }
    case LVN_ITEMCHANGED: {
      auto* change = reinterpret_cast<NMLISTVIEW*>(header);
      if ((change->uChanged & LVIF_STATE) && ((change->uNewState ^ change->uOldState) & LVIS_SELECTED))
        UpdateMenuState();
      return 0;
    }
    case NM_CUSTOMDRAW:
      return OnCustomDraw(reinterpret_cast<NMLVCUSTOMDRAW*>(header));
    case NM_DBLCLK:
      OnCommand(CMD_VIEW);
      return 0;
  }
  return 0;
}

void BrowseWindow::OnContextMenu(HWND window, int x, int y) {
  if (!list_ || window != list_) return;
  if (x == -1 && y == -1) {  // from the keyboard
    POINT at = {0, 0};
    int focused = static_cast<int>(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED));
    RECT icon = {};
    icon.left = LVIR_ICON;
    if (focused >= 0 && SendMessageA(list_, LVM_GETITEMRECT, focused, reinterpret_cast<LPARAM>(&icon))) {
      at.x = (icon.left + icon.right) / 2;
      at.y = (icon.top + icon.bottom) / 2;
    }
    ClientToScreen(list_, &at);
    x = at.x;
    y = at.y;
  }
  UpdateMenuState();
  const bool selection = SelectedCount() > 0;
  HMENU loaded = LoadMenuA(g_instance, MAKEINTRESOURCEA(selection ? IDR_ITEM_POPUP : IDR_BACKGROUND_POPUP));
  if (!loaded) return;
  HMENU popup = GetSubMenu(loaded, 0);
  if (selection) SetMenuDefaultItem(popup, CMD_VIEW, FALSE);
  UpdateMenuState(popup);
  TrackPopupMenu(popup, TPM_RIGHTBUTTON, x, y, 0, frame_, nullptr);
  DestroyMenu(loaded);
}
