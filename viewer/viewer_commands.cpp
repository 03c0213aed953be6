// The viewer's commands: routing, enabling and check marks, tooltips, menu help,
// the pop-up menu, the title and the status bar.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "desktop/wallpaper_win.h"
#include "export/export_command_win.h"
#include "export/photo_clipboard_win.h"
#include "print/print_win.h"
#include "properties/photo_properties_win.h"
#include "resources/command_ids.h"
#include "resources/resource_ids.h"
#include "ui/about_box_win.h"
#include "ui/command_rules_win.h"
#include "ui/frame_bars_win.h"
#include "ui/help_win.h"
#include "ui/options_sheet_win.h"
#include "ui/shell_state_win.h"
#include "ui/ui_utils_win.h"
#include "viewer/resolution_levels.h"
#include "viewer/viewer_window.h"

namespace viewer {

namespace {

constexpr int kStatusPadding = 10;

// The thumbnail the browse window has loaded for photo, or null.
const imaging::PackedDib* ThumbnailOf(const ViewerPhoto& photo) {
  return photo.thumbnail ? photo.thumbnail->load() : nullptr;
}

}  // namespace

void ViewerWindow::OnCommand(int id) {
  if (RefusedWhileRunning(g_instance, frame_, commands_)) return;
  BusyScope running(commands_);
  const int count = static_cast<int>(photos_.size());
  const int level = CommandLevel(id);
  if (level >= 0) {
    ChangeLevel(level, 0);
    return;
  }
  switch (id) {
    case CMD_CLOSE:
      PostMessageA(frame_, WM_CLOSE, 0, 0);
      break;
    case CMD_ENLARGE:
    case CMD_REDUCE: {
      if (!PhotoShown()) break;
      const double shown = ShownScale(SourceWidth(), SourceHeight(), view_.zoom());
      const int target = id == CMD_ENLARGE ? EnlargeLevel(ShownLevel(), shown) : ReduceLevel(ShownLevel(), shown);
      if (target >= 0) ChangeLevel(target, id);
      break;
    }
    case CMD_TOGGLE_FIT:
      ChangeLevel(level_ != kFitLevel ? kFitLevel : lastLevel_, 0);
      break;
    case CMD_ROTATE_LEFT:
      Rotate(imaging::kTurnLeft);
      break;
    case CMD_ROTATE_RIGHT:
      Rotate(imaging::kTurnRight);
      break;
    case CMD_FULL_SCREEN:
      ToggleFullScreen();
      break;
    case CMD_NEXT:
      if (current_ < count - 1) {
        direction_ = current_ + 1 == count - 1 ? kBackward : kForward;
        Navigate(current_ + 1, 1);
      }
      break;
    case CMD_PREVIOUS:
      if (current_ > 0) {
        direction_ = current_ - 1 == 0 ? kForward : kBackward;
        Navigate(current_ - 1, -1);
      }
      break;
    case CMD_FIRST:
      Navigate(0, 1);
      break;
    case CMD_LAST:
      Navigate(count - 1, -1);
      break;
    case CMD_VIEWER_SLIDE_SHOW:
      ToggleSlideShow();
      break;
    case CMD_PRINT:
      StopSlideShow();
      PrintPhoto();
      break;
    case CMD_HELP_CONTENTS:
      ShowHelpContents(frame_, kViewerHelpPage);
      break;
    case CMD_MAKER_WEB_PAGE:
    case CMD_PRODUCT_WEB_PAGE:
      OpenWebPage(frame_, id == CMD_MAKER_WEB_PAGE ? IDS_MAKER_HOME_PAGE : IDS_PRODUCT_HOME_PAGE);
      break;
    case CMD_ABOUT:
    case CMD_VIEWER_EXPORT:
    case CMD_COPY:
    case CMD_SET_WALLPAPER:
    case CMD_SET_WALLPAPER_TILED:
    case CMD_REMOVE_WALLPAPER:
    case CMD_PROPERTIES:
    case CMD_OPTIONS: {
      // The slide show waits while a dialog or a long operation has the user.
      bool wasRunning = false;
      PauseSlideShow(&wasRunning);
      RunPhotoCommand(id);
      ResumeSlideShow(wasRunning);
      break;
    }
  }
}

void ViewerWindow::RunPhotoCommand(int id) {
  if (id == CMD_ABOUT) {
    ShowAboutBox(frame_);
    return;
  }
  if (id == CMD_OPTIONS) {
    RunOptionsCommand(g_instance, frame_);  // every viewer applies the display options it sends
    return;
  }
  if (id == CMD_REMOVE_WALLPAPER) {
    RemoveWallpaper(g_instance, frame_);
    return;
  }
  if (!PhotoShown()) return;
  const ViewerPhoto& photo = photos_[current_].entry;
  switch (id) {
    case CMD_VIEWER_EXPORT:
      imagefile::ExportPhotos(g_instance, frame_, {photo.path}, rotation_);
      break;
    case CMD_COPY: {
      // The level on show; a fitted photo is copied at BASE.
      const int level = ShownLevel() == kFitLevel ? kBaseLevel : ShownLevel();
      if (!imagefile::CopyPhotoAtLevel(g_instance, frame_, photo.path, level, rotation_))
        MessageFromString(g_instance, frame_, IDS_COPY_FAILED, kAppName, MB_OK | MB_ICONWARNING);
      break;
    }
    case CMD_SET_WALLPAPER:
    case CMD_SET_WALLPAPER_TILED:
      SetPhotoAsWallpaper(g_instance, frame_, photo.path, id == CMD_SET_WALLPAPER_TILED, rotation_);
      break;
    case CMD_PROPERTIES: {
      const PropertiesPhoto shown{photo.number, photo.path, ThumbnailOf(photo), photo.name};
      ShowPhotoProperties(g_instance, frame_, &shown);
      break;
    }
  }
}

void ViewerWindow::PrintPhoto() {
  if (!PhotoShown()) return;
  const ViewerPhoto& shown = photos_[current_].entry;
  print::PrintPhoto photo;
  photo.path = shown.path;
  photo.number = shown.number;
  photo.width = shown.width;
  photo.height = shown.height;
  photo.date = shown.date;
  photo.thumbnail = print::ThumbnailCopy(ThumbnailOf(shown));
  print::PrintPhotos(g_instance, frame_, {std::move(photo)}, rotation_);
}

void ViewerWindow::Navigate(int index, int step) {
  StopSlideShow();
  ShowPhotoSkipping(index, [step](int i) { return i + step; });
}

void ViewerWindow::ChangeLevel(int level, int pressedButton) {
  if (pressedButton && toolbar_) SendMessageA(toolbar_, TB_PRESSBUTTON, pressedButton, MAKELONG(TRUE, 0));
  SetLevel(level);
  if (pressedButton && toolbar_) SendMessageA(toolbar_, TB_PRESSBUTTON, pressedButton, MAKELONG(FALSE, 0));
}

void ViewerWindow::UpdateMenuState(HMENU menu) {
  if (!menu) menu = menu_;
  const bool shown = PhotoShown();
  const int count = static_cast<int>(photos_.size());
  const int width = SourceWidth();
  auto set = [&](int id, bool enabled) {
    if (menu) EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    if (toolbar_) SendMessageA(toolbar_, TB_ENABLEBUTTON, id, MAKELONG(enabled ? TRUE : FALSE, 0));
  };
  auto check = [&](int id, bool checked) {
    if (menu) CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    if (toolbar_) SendMessageA(toolbar_, TB_CHECKBUTTON, id, MAKELONG(checked ? TRUE : FALSE, 0));
  };
  for (int level = kFitLevel; level <= kTopLevel; ++level) {
    set(LevelCommand(level), shown && LevelAvailable(level, width));
    check(LevelCommand(level), level == ShownLevel());
  }
  set(CMD_NEXT, current_ < count - 1);
  set(CMD_LAST, current_ < count - 1);
  set(CMD_PREVIOUS, current_ > 0);
  set(CMD_FIRST, current_ > 0);
  set(CMD_VIEWER_SLIDE_SHOW, count > 1);
  check(CMD_VIEWER_SLIDE_SHOW, showRunning_);
  set(CMD_REDUCE, CanReduce(shown, ShownLevel()));
  set(CMD_ENLARGE, CanEnlarge(shown, ShownLevel(), width));
  set(CMD_ROTATE_LEFT, shown);
  set(CMD_ROTATE_RIGHT, shown);
  check(CMD_FULL_SCREEN, fullScreen_);
  for (int id : {CMD_PRINT, CMD_VIEWER_EXPORT, CMD_COPY, CMD_SET_WALLPAPER, CMD_SET_WALLPAPER_TILED, CMD_PROPERTIES})
    set(id, shown);
}

void ViewerWindow::UpdateTitleAndStatus() {
  std::string title = kAppName;
  char number[32] = "";
  if (PhotoShown()) {
    const ViewerPhoto& shown = photos_[current_].entry;
    std::snprintf(number, sizeof number, "#%d", shown.number + 1);
    title += std::string(" - ") + number + (shown.name.empty() ? "" : " " + shown.name);
  }
  SetWindowTextA(frame_, title.c_str());
  if (!status_) return;
  const int first = TextWidth(status_, "#8888") + kStatusPadding;
  int widths[] = {first, first + TextWidth(status_, LevelName(kFitLevel)) + kStatusPadding, -1};
  // The third part says when the photo on show was repaired or comes from a lower level.
  std::string damage;
  const imagefile::ImageReader* shown = PhotoShown() ? view_.image() : nullptr;
  if (shown && shown->damage().any())
    damage = LoadStringText(g_instance, shown->damage().lowerLevel ? IDS_PHOTO_LOWER_LEVEL : IDS_PHOTO_REPAIRED);
  SendMessageA(status_, SB_SIMPLE, FALSE, 0);
  SendMessageA(status_, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(widths));
  SendMessageA(status_, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(number));
  SendMessageA(status_, SB_SETTEXTA, 1, reinterpret_cast<LPARAM>(PhotoShown() ? LevelName(ShownLevel()) : ""));
  SendMessageA(status_, SB_SETTEXTA, 2, reinterpret_cast<LPARAM>(damage.c_str()));
}

void ViewerWindow::OnMenuSelect(UINT item, UINT flags) { ShowMenuHelp(g_instance, status_, item, flags); }

void ViewerWindow::OnContextMenu(int x, int y) {
  if (x == -1 && y == -1) {  // from the keyboard: the middle of the window
    RECT r;
    GetWindowRect(frame_, &r);
    x = (r.left + r.right) / 2;
    y = (r.top + r.bottom) / 2;
  }
  HMENU loaded = LoadMenuA(g_instance, MAKEINTRESOURCEA(IDR_VIEWER_POPUP));
  if (!loaded) return;
  bool wasRunning = false;
  PauseSlideShow(&wasRunning);
  HMENU popup = GetSubMenu(loaded, 0);
  UpdateMenuState(popup);
  TrackPopupMenu(popup, TPM_RIGHTBUTTON, x, y, 0, frame_, nullptr);
  DestroyMenu(loaded);
  UpdateMenuState();
  // The command the menu chose arrives after this; resume only when it did not end the show.
  ResumeSlideShow(wasRunning);
}

LRESULT ViewerWindow::OnNotify(NMHDR* header) {
  if (AnswerToolbarTip(g_instance, header)) return 0;
  if (header->code == NM_DBLCLK && header->hwndFrom == view_.hwnd()) OnViewDoubleClick();
  return 0;
}

}  // namespace viewer
