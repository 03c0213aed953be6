#include "browse/browse_window.h"

#include <dbt.h>

#include <utility>

#include "browse/browse_text.h"
#include "browse/progress_scan.h"
#include "export/photo_clipboard_win.h"
#include "resources/command_ids.h"
#include "resources/resource_ids.h"
#include "settings/settings.h"
#include "settings/settings_store_win.h"
#include "ui/comctl_version_win.h"
#include "ui/command_rules_win.h"
#include "ui/frame_bars_win.h"
#include "ui/gdi_scope_win.h"
#include "ui/shell_state_win.h"
#include "ui/ui_utils_win.h"
#include "ui/window_object_win.h"

namespace {

// The quit code of every quit the program posts itself.
constexpr int kQuitCode = 1;
constexpr char kPlacementValue[] = "BrowseWndPos";
constexpr UINT_PTR kArrivalTimer = 1;
constexpr UINT kArrivalDelayMs = 3000;
// Posted when the last running command ends while disc work waits.
constexpr UINT kWaitingDiscWorkMessage = WM_APP;

}  // namespace

BrowseWindow::BrowseWindow() : scanProgress_(MakeProgressWindowScan()) {
  busy_.SetWhenIdle([this] {
    if (frame_ && (removalWaiting_ || openWaiting_ != WaitingOpen::kNone))
      PostMessageA(frame_, kWaitingDiscWorkMessage, 0, 0);
  });
}

BrowseWindow::~BrowseWindow() { Destroy(); }

bool BrowseWindow::RegisterWindowClass() {
  WNDCLASSA existing;
  if (GetClassInfoA(g_instance, kBrowseWindowClass, &existing)) return true;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = g_instance;
  wc.hIcon = g_mainIcon;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszMenuName = MAKEINTRESOURCEA(IDR_BROWSE_MENU);
  wc.lpszClassName = kBrowseWindowClass;
  return RegisterClassA(&wc) != 0;
}

bool BrowseWindow::Create(int showCommand) {
  displayDepth_ = DisplayDepth();
  cells_.thumbWidth = g_settings.ThumbSize.width;
  cells_.thumbHeight = g_settings.ThumbSize.height;
  cells_.border = g_settings.ThumbBorderSize;
  if (!RegisterWindowClass()) return false;

  const bool sizeRemembered = g_settings.SaveBrowseWindow == 1;
  int width = sizeRemembered ? g_settings.BrowseWndSize.width : CW_USEDEFAULT;
  int height = sizeRemembered ? g_settings.BrowseWndSize.height : CW_USEDEFAULT;
  CreateWindowExA(0, kBrowseWindowClass, kAppName, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                  CW_USEDEFAULT, CW_USEDEFAULT, width, height, nullptr, nullptr, g_instance, this);
  if (!frame_) {
    MessageBoxA(nullptr, LoadText(IDS_NO_BROWSE_WINDOW).c_str(), kAppName, MB_OK);
    return false;
  }
  menu_ = GetMenu(frame_);
  LoadRecentImages();
  DragAcceptFiles(frame_, TRUE);
  accelerators_ = LoadAcceleratorsA(g_instance, MAKEINTRESOURCEA(IDR_BROWSE_ACCEL));
  workEvent_ = CreateEventA(nullptr, FALSE, TRUE, nullptr);

  CreateChildren();
  if (list_) SetFocus(list_);
  UpdateStatusBar();
  UpdateMenuState();

  if (sizeRemembered)
    ShowWindow(frame_, showCommand);
  else
    RestoreWindowPlacementValue(kSettingsKeyPath, kPlacementValue, frame_, showCommand);
  UpdateWindow(frame_);

  OpenDisc(false);
  return true;
}

bool BrowseWindow::CreateChildren() {
  if (!CreateList()) return false;
  if (!CreateToolbar()) return false;
  if (IsNewComctl(g_comctlVersion)) rebar_ = CreateToolbarRebar(g_instance, frame_, toolbar_);
  status_ = CreateStatusWindowA(WS_CHILD | WS_VISIBLE | WS_BORDER | SBARS_TOOLTIPS, "", frame_,
                                kStatusBarId);
  if (!status_) return false;
  SendMessageA(status_, SB_SIMPLE, FALSE, 0);
  Layout();
  return true;
}

bool BrowseWindow::CreateList() {
  // The window keeps the image list (LVS_SHAREIMAGELISTS) and destroys it in Destroy,
  // after the loader, which adds cell bitmaps to it, has stopped.
  list_ = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                          WS_CHILD | WS_VISIBLE | WS_BORDER | WS_GROUP | WS_TABSTOP | LVS_ICON |
                              LVS_AUTOARRANGE | LVS_SHOWSELALWAYS | LVS_SHAREIMAGELISTS,
                          0, 0, 0, 0, frame_, reinterpret_cast<HMENU>(kListId), g_instance, nullptr);
  if (!list_) return false;
  SetUpList();
  return images_ != nullptr;
}

bool BrowseWindow::CreateToolbar() {
  const TBBUTTON buttons[] = {
      ToolbarButton(34, CMD_PROPERTIES), ToolbarButton(10, CMD_VIEW),  ToolbarButton(22, CMD_SLIDE_SHOW),
      ToolbarSeparator(),                ToolbarButton(3, CMD_PRINT),  ToolbarButton(7, CMD_COPY),
      ToolbarButton(33, CMD_EXPORT),     ToolbarSeparator(),           ToolbarButton(30, CMD_SET_WALLPAPER),
      ToolbarButton(32, CMD_REMOVE_WALLPAPER), ToolbarSeparator(),     ToolbarButton(2, CMD_OPTIONS),
      ToolbarSeparator(),                ToolbarButton(6, CMD_HELP_CONTENTS),
  };
  toolbar_ = CreateFrameToolbar(g_instance, frame_, kToolbarId, buttons,
                                static_cast<int>(sizeof buttons / sizeof buttons[0]), IsNewComctl(g_comctlVersion));
  return toolbar_ != nullptr;
}

void BrowseWindow::Layout() {
  const RECT rest = LayoutFrameBars(frame_, rebar_, toolbar_, status_);
  if (list_) MoveWindow(list_, 0, rest.top, rest.right, rest.bottom - rest.top, TRUE);
}

void BrowseWindow::Destroy() {
  StopLoader();
  if (workEvent_) CloseHandle(workEvent_);
  workEvent_ = nullptr;
  if (disc_.overview) {
    PcdCloseOverview(disc_.overview);
    disc_.overview = nullptr;
  }
  if (frame_) DestroyWindow(frame_);
  viewers_.Clear();
  photos_.Clear();
  if (images_) ImageList_Destroy(images_);
  images_ = nullptr;
  if (HPALETTE palette = palette_.exchange(nullptr)) DeleteObject(palette);
  // Pasting them needs the program no longer.
  imagefile::RemoveClipboardCopies();
}

void BrowseWindow::AddViewer(ViewerLink* viewer) { viewers_.Append(viewer); }

void BrowseWindow::SetScanProgress(std::unique_ptr<ScanProgress> progress) {
  scanProgress_ = std::move(progress);
}

bool BrowseWindow::PreTranslate(MSG* msg) {
  if (!frame_) return false;
  if ((msg->hwnd == frame_ || (list_ && msg->hwnd == list_)) && accelerators_ &&
      TranslateAcceleratorA(frame_, accelerators_, msg))
    return true;
  for (std::size_t i = 0; i < viewers_.Count(); ++i) {
    if (msg->hwnd == viewers_[i]->Frame()) return viewers_[i]->TranslateAccelerators(msg);
  }
  return IsDialogMessageA(frame_, msg) != 0;
}

bool BrowseWindow::NeedsIdle() {
  for (std::size_t i = 0; i < viewers_.Count(); ++i)
    if (viewers_[i]->HasIdleWork()) return true;
  return frame_ && IsWindowVisible(frame_) && loader_.active();
}

void BrowseWindow::DoIdle() {
  bool viewerWorked = false;
  for (std::size_t i = 0; i < viewers_.Count(); ++i) {
    if (viewers_[i]->HasIdleWork()) {
      viewers_[i]->DoIdleWork();
      viewerWorked = true;
    }
  }
  if (viewerWorked) return;
  loaderPosition_.store(LoaderPositionNow());
  if (loader_.active()) {
    UpdateWindow(frame_);
    SetEvent(workEvent_);
  }
}

void BrowseWindow::SaveWindowGeometry() {
  if (g_settings.SaveBrowseWindow == 2) {
    SaveWindowPlacementValue(kSettingsKeyPath, kPlacementValue, frame_);
  } else if (g_settings.SaveBrowseWindow == 1) {
    RECT outer;
    GetWindowRect(frame_, &outer);
    g_settings.BrowseWndSize.width = outer.right - outer.left;
    g_settings.BrowseWndSize.height = outer.bottom - outer.top;
  }
}

LRESULT BrowseWindow::RealisePalette() {
  HPALETTE palette = palette_.load();
  if (displayDepth_ != 8 || !palette) return 0;
  const UINT changed = RealisePaletteIn(frame_, palette);
  if (changed && list_) InvalidateRect(list_, nullptr, FALSE);
  return changed;
}

void BrowseWindow::OnParentNotify(WPARAM wParam, LPARAM lParam) {
  if (LOWORD(wParam) != WM_DESTROY) return;
  HWND closed = reinterpret_cast<HWND>(lParam);
  for (std::size_t i = 0; i < viewers_.Count(); ++i) {
    if (viewers_[i]->Frame() == closed) {
      // A viewer whose command is still on the stack is deleted once it is
      // over: it reports its destruction again then.
      if (!viewers_[i]->Busy()) delete viewers_.Take(i);
      return;
    }
  }
}

void BrowseWindow::OnDeviceChange(WPARAM wParam, LPARAM lParam) {
  auto* header = reinterpret_cast<DEV_BROADCAST_HDR*>(lParam);
  if (!header || header->dbch_devicetype != DBT_DEVTYP_VOLUME) return;
  if (wParam == DBT_DEVICEARRIVAL) {
    SetTimer(frame_, kArrivalTimer, kArrivalDelayMs, nullptr);
  } else if (wParam == DBT_DEVICEREMOVECOMPLETE) {
    CloseRemovedDisc();
  }
}

LRESULT CALLBACK BrowseWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = WindowObject<BrowseWindow>(hwnd, message, lParam);
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCCREATE) self->frame_ = hwnd;
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT BrowseWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = frame_;
  switch (message) {
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) Layout();
      return 0;
    case WM_SETFOCUS:
      if (list_) SetFocus(list_);
      return 0;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_COMMAND:
      // Notifications from controls carry a code; menus, accelerators and toolbar
      // buttons come as codes 0 and 1.
      if (HIWORD(wParam) <= 1) OnCommand(LOWORD(wParam));
      return 0;
    case WM_CONTEXTMENU:
      OnContextMenu(reinterpret_cast<HWND>(wParam), static_cast<short>(LOWORD(lParam)),
                    static_cast<short>(HIWORD(lParam)));
      return 0;
    case WM_MENUSELECT:
      OnMenuSelect(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_TIMER:
      if (wParam == kArrivalTimer) {
        KillTimer(hwnd, kArrivalTimer);
        // An open disc image or folder stays until the user opens or closes something else.
        if (disc_.image.empty() && disc_.folder.empty()) OpenDisc(false);
      }
      return 0;
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case kWaitingDiscWorkMessage:
      DoWaitingDiscWork();
      return 0;
    case WM_COPYDATA:
      return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam));
    case kOpenHandedPathMessage:
      // Several hand-overs in a row open the last one, once.
      if (!handedPath_.empty()) OpenPath(std::exchange(handedPath_, std::string()), true);
      return 0;
    case WM_DEVICECHANGE:
      OnDeviceChange(wParam, lParam);
      return TRUE;
    case WM_PARENTNOTIFY:
      OnParentNotify(wParam, lParam);
      return 0;
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED:
      return RealisePalette();
    case WM_CLOSE:
      if (RefusedWhileRunning(g_instance, hwnd, busy_)) return 0;
      break;
    case WM_DESTROY:
      SaveWindowGeometry();
      PostQuitMessage(kQuitCode);
      return 0;
    case WM_NCDESTROY:
      frame_ = list_ = toolbar_ = rebar_ = status_ = nullptr;
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}
