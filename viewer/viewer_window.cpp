#include "viewer/viewer_window.h"

#include <commctrl.h>

#include <algorithm>

#include "resources/command_ids.h"
#include "resources/resource_ids.h"
#include "settings/settings.h"
#include "ui/comctl_version_win.h"
#include "ui/command_rules_win.h"
#include "ui/frame_bars_win.h"
#include "ui/gdi_scope_win.h"
#include "ui/options_sheet_win.h"
#include "ui/shell_state_win.h"
#include "viewer/frame_placement.h"
#include "viewer/resolution_levels.h"
#include "ui/window_object_win.h"

namespace viewer {

namespace {

constexpr int kInitialSize = 768;
constexpr int kMaxClientSide = 32000;

// Height of a bar, 0 while it is hidden (in full-screen).
int WindowHeight(HWND window) {
  RECT r;
  if (!window || !(GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) || !GetWindowRect(window, &r)) return 0;
  return r.bottom - r.top;
}

// The frame of the viewer on top, if one shows in a normal window: new viewers
// cascade from it instead of opening exactly over it.
HWND LastViewerFrame() {
  for (HWND w = FindWindowExA(nullptr, nullptr, kViewerWindowClass, nullptr); w;
       w = FindWindowExA(nullptr, w, kViewerWindowClass, nullptr)) {
    if (IsWindowVisible(w) && !IsIconic(w) && !IsZoomed(w) && (GetWindowLongA(w, GWL_STYLE) & WS_CAPTION)) return w;
  }
  return nullptr;
}

// Where a new frame goes when a viewer shows: one step down and right from it.
bool CascadedFromLastViewer(imaging::PixelRect* frame) {
  RECT last, work;
  HWND lastFrame = LastViewerFrame();
  if (!lastFrame || !GetWindowRect(lastFrame, &last) || !SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0))
    return false;
  const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYSIZEFRAME);
  *frame = CascadeFrame({last.left, last.top, last.right, last.bottom}, step,
                        {work.left, work.top, work.right, work.bottom});
  return true;
}

}  // namespace

ViewerWindow::~ViewerWindow() {
  view_.ShowImage(nullptr, kKeepOldImageData);
  if (frame_) DestroyWindow(frame_);
  photos_.clear();
}

bool ViewerWindow::RegisterWindowClass() {
  WNDCLASSA existing;
  if (GetClassInfoA(g_instance, kViewerWindowClass, &existing)) return true;
  WNDCLASSA wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = g_instance;
  wc.hIcon = g_mainIcon ? g_mainIcon : LoadIconA(g_instance, MAKEINTRESOURCEA(IDI_MAIN));
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kViewerWindowClass;
  return RegisterClassA(&wc) != 0;
}

bool ViewerWindow::Create(HWND owner, BusyCount& ownerBusy) {
  owner_ = owner;
  ownerBusy_ = &ownerBusy;
  commands_.SetWhenIdle([this] {
    // The frame went while a command ran: the owner may delete the viewer now.
    if (!frame_ && owner_)
      PostMessageA(owner_, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, 0), reinterpret_cast<LPARAM>(frameHandle_));
  });
  level_ = lastLevel_ = std::min<int>(g_settings.DefResolution, kTopLevel);
  if (!RegisterWindowClass()) return false;
  wheelMessage_ = RegisterWindowMessageA("MSWHEEL_ROLLMSG");
  menu_ = LoadMenuA(g_instance, MAKEINTRESOURCEA(IDR_VIEWER_MENU));
  accelerators_ = LoadAcceleratorsA(g_instance, MAKEINTRESOURCEA(IDR_VIEWER_ACCEL));
  int x = CW_USEDEFAULT, y = CW_USEDEFAULT, width = kInitialSize, height = kInitialSize;
  imaging::PixelRect cascaded;
  cascaded_ = CascadedFromLastViewer(&cascaded);
  if (cascaded_) {
    x = cascaded.left;
    y = cascaded.top;
    width = cascaded.right - cascaded.left;
    height = cascaded.bottom - cascaded.top;
  }
  CreateWindowExA(0, kViewerWindowClass, kAppName, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, x, y, width, height,
                  nullptr, menu_, g_instance, this);
  if (!frame_) return false;
  frameHandle_ = frame_;
  if (!view_.Create(g_instance, frame_, kViewId)) return false;
  display_ = SettingsDisplayOptions();
  view_.SetDisplayOptions(display_);
  view_.SetNotify(frame_, kDecodeEndedMessage);
  CreateBars();
  UpdateTitleAndStatus();
  UpdateMenuState();
  if (g_settings.FullScreenMode) EnterFullScreen();
  return true;
}

bool ViewerWindow::CreateBars() {
  status_ = CreateStatusWindowA(WS_CHILD | WS_VISIBLE | WS_BORDER | SBARS_TOOLTIPS, "", frame_, kViewerStatusId);
  const TBBUTTON buttons[] = {
      ToolbarButton(34, CMD_PROPERTIES),    ToolbarSeparator(),
      ToolbarButton(4, CMD_PREVIOUS),       ToolbarButton(5, CMD_NEXT),
      ToolbarButton(22, CMD_VIEWER_SLIDE_SHOW, TBSTYLE_CHECK), ToolbarSeparator(),
      ToolbarButton(11, CMD_REDUCE),        ToolbarButton(12, CMD_ENLARGE),      ToolbarSeparator(),
      ToolbarButton(13, CMD_ROTATE_LEFT),   ToolbarButton(14, CMD_ROTATE_RIGHT), ToolbarSeparator(),
      ToolbarButton(3, CMD_PRINT),          ToolbarButton(7, CMD_COPY),          ToolbarButton(33, CMD_VIEWER_EXPORT),
      ToolbarSeparator(),                   ToolbarButton(30, CMD_SET_WALLPAPER), ToolbarButton(32, CMD_REMOVE_WALLPAPER),
      ToolbarSeparator(),                   ToolbarButton(2, CMD_OPTIONS),       ToolbarSeparator(),
      ToolbarButton(6, CMD_HELP_CONTENTS),
  };
  const bool newControls = IsNewComctl(g_comctlVersion);
  toolbar_ = CreateFrameToolbar(g_instance, frame_, kViewerToolbarId, buttons,
                                static_cast<int>(sizeof buttons / sizeof buttons[0]), newControls);
  if (toolbar_ && newControls) rebar_ = CreateToolbarRebar(g_instance, frame_, toolbar_);
  return toolbar_ != nullptr;
}

int ViewerWindow::BarsHeight() const { return WindowHeight(rebar_ ? rebar_ : toolbar_) + WindowHeight(status_); }

void ViewerWindow::Layout() {
  RECT area = LayoutFrameBars(frame_, rebar_, toolbar_, status_);
  if (GetWindowLongA(frame_, GWL_STYLE) & WS_CAPTION) InflateRect(&area, -1, -1);
  if (g_settings.AutoFitWindow && !inOwnResize_ && PhotoShown()) {
    ShowAtZoom(FitZoom(area.right - area.left + 1, area.bottom - area.top + 1, SourceWidth(), SourceHeight()));
    zoomFitsWindow_ = true;
  }
  view_.CentreIn(area);
}

void ViewerWindow::FitFrameToPhoto() {
  OwnResize own(inOwnResize_);
  const LONG style = GetWindowLongA(frame_, GWL_STYLE);
  if (!(style & WS_CAPTION) || IsZoomed(frame_) || !PhotoShown()) {
    Layout();
    return;
  }
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  RECT now;
  GetWindowRect(frame_, &now);
  const SIZE shown = view_.DisplaySize();
  RECT wanted = {0, 0, std::min<LONG>(shown.cx + 2, kMaxClientSide),
                 std::min<LONG>(shown.cy + 2 + BarsHeight() + 2, kMaxClientSide)};
  AdjustWindowRectEx(&wanted, style, TRUE, GetWindowLongA(frame_, GWL_EXSTYLE));
  const imaging::PixelRect workArea{work.left, work.top, work.right, work.bottom};
  const int width = wanted.right - wanted.left, height = wanted.bottom - wanted.top;
  // A cascaded frame keeps its corner when it first shows; later fits keep the centre.
  const imaging::PixelRect placed =
      cascaded_ && !IsWindowVisible(frame_)
          ? PlaceFrameFrom(now.left, now.top, width, height, workArea)
          : PlaceFrame((now.left + now.right) / 2, (now.top + now.bottom) / 2, width, height, workArea);
  SetWindowPos(frame_, nullptr, placed.left, placed.top, placed.right - placed.left, placed.bottom - placed.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  Layout();
}

void ViewerWindow::EnterFullScreen() {
  const LONG style = GetWindowLongA(frame_, GWL_STYLE);
  placementSaved_ = false;
  if (style & WS_CAPTION) {
    placement_.length = sizeof placement_;
    placementSaved_ = GetWindowPlacement(frame_, &placement_) != 0;
  }
  fullScreen_ = true;
  SetWindowLongA(frame_, GWL_STYLE, style & ~(WS_CAPTION | WS_SYSMENU));
  SetMenu(frame_, nullptr);
  for (HWND bar : {rebar_ ? rebar_ : toolbar_, status_})
    if (bar) ShowWindow(bar, SW_HIDE);
  view_.SetFullScreen(true);
  RefitToScreen();
  // The frame lies just outside the screen, the client area covers it.
  RECT outer = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  AdjustWindowRectEx(&outer, GetWindowLongA(frame_, GWL_STYLE), FALSE, GetWindowLongA(frame_, GWL_EXSTYLE));
  OwnResize own(inOwnResize_);
  SetWindowPos(frame_, HWND_TOP, outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top,
               SWP_FRAMECHANGED);
  Layout();
}

void ViewerWindow::LeaveFullScreen() {
  fullScreen_ = false;
  SetWindowLongA(frame_, GWL_STYLE, GetWindowLongA(frame_, GWL_STYLE) | WS_CAPTION | WS_SYSMENU);
  SetMenu(frame_, menu_);
  for (HWND bar : {rebar_ ? rebar_ : toolbar_, status_})
    if (bar) ShowWindow(bar, SW_SHOW);
  view_.SetFullScreen(false);
  OwnResize own(inOwnResize_);
  SetWindowPos(frame_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  if (placementSaved_) {
    if (placement_.showCmd == SW_SHOWMAXIMIZED) ShowWindow(frame_, SW_HIDE);
    SetWindowPlacement(frame_, &placement_);
  }
  // A fitted photo was fitted to the whole screen: fit it to the framed
  // window again, and the frame to it.
  if (RefitToScreen() || !placementSaved_)
    FitFrameToPhoto();
  else
    Layout();
}

bool ViewerWindow::RefitToScreen() {
  return level_ == kFitLevel && ApplyLevel(kFitLevel);
}

void ViewerWindow::ToggleFullScreen() {
  if (fullScreen_)
    LeaveFullScreen();
  else
    EnterFullScreen();
  UpdateMenuState();
}

void ViewerWindow::OnViewDoubleClick() {
  ToggleFullScreen();
  if (fullScreen_ && level_ != kFitLevel) {
    SetLevel(kFitLevel);
  } else if (!fullScreen_ && level_ == kFitLevel) {
    SetLevel(lastLevel_);
  }
}

void ViewerWindow::OnMouseWheel(int delta, bool control, bool shift) {
  if (control) {
    OnCommand(delta > 0 ? CMD_ENLARGE : CMD_REDUCE);
  } else if (!shift && delta) {
    OnCommand(delta < 0 ? CMD_NEXT : CMD_PREVIOUS);
  }
}

void ViewerWindow::OnKeyDown(WPARAM key) {
  RECT client;
  GetClientRect(view_.hwnd(), &client);
  const bool whole = GetKeyState(VK_SHIFT) < 0;
  const int dx = whole ? client.right : client.right / 10;
  const int dy = whole ? client.bottom : client.bottom / 10;
  switch (key) {
    case VK_LEFT: view_.ScrollBy(-dx, 0); break;
    case VK_RIGHT: view_.ScrollBy(dx, 0); break;
    case VK_UP: view_.ScrollBy(0, -dy); break;
    case VK_DOWN: view_.ScrollBy(0, dy); break;
  }
}

LRESULT ViewerWindow::RealisePalette(HWND changedBy) {
  imagefile::ImageReader* shown = view_.image();
  auto palette = shown ? reinterpret_cast<HPALETTE>(shown->palette()) : nullptr;
  if (!palette || changedBy == frame_) return 0;
  const UINT changed = RealisePaletteIn(frame_, palette);
  if (changed) InvalidateRect(view_.hwnd(), nullptr, FALSE);
  return changed;
}

bool ViewerWindow::TranslateAccelerators(MSG* msg) {
  return accelerators_ && TranslateAcceleratorA(frame_, accelerators_, msg) != 0;
}

LRESULT CALLBACK ViewerWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = WindowObject<ViewerWindow>(hwnd, message, lParam);
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCCREATE) self->frame_ = hwnd;
  // A command's dialog or progress window lets a disc removal in; the owner
  // closes the disc, and this viewer with it, only once the command is over.
  BusyScope busy(*self->ownerBusy_);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT ViewerWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = frame_;
  if (message == OptionsChangedMessage()) {
    ApplyDisplaySettings();
    return 0;
  }
  if (message == wheelMessage_ && wheelMessage_) {
    OnMouseWheel(static_cast<int>(wParam), GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0);
    return 0;
  }
  switch (message) {
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) Layout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
      limits->ptMinTrackSize = POINT{kMinFrameWidth, kMinFrameHeight};
      return 0;
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == hwnd && LOWORD(lParam) == HTCLIENT) {
        SetCursor(fullScreen_ ? nullptr : LoadCursor(nullptr, IDC_ARROW));
        return TRUE;
      }
      break;
    case WM_COMMAND:
      if (HIWORD(wParam) <= 1) OnCommand(LOWORD(wParam));
      return 0;
    case WM_NOTIFY:
      return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_CONTEXTMENU:
      OnContextMenu(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
      return 0;
    case WM_MENUSELECT:
      OnMenuSelect(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_MOUSEWHEEL:
      OnMouseWheel(static_cast<short>(HIWORD(wParam)), (LOWORD(wParam) & MK_CONTROL) != 0,
                   (LOWORD(wParam) & MK_SHIFT) != 0);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(wParam);
      return 0;
    case WM_TIMER:
      if (wParam == kSlideShowTimer) OnSlideShowTimer();
      return 0;
    case kDecodeEndedMessage:
      OnDecodeEnded(wParam != 0);
      return 0;
    case WM_QUERYNEWPALETTE:
      return RealisePalette(nullptr);
    case WM_PALETTECHANGED:
      return RealisePalette(reinterpret_cast<HWND>(wParam));
    case WM_CLOSE:
      if (RefusedWhileRunning(g_instance, hwnd, commands_)) return 0;
      break;
    case WM_DESTROY:
      StopSlideShow();
      view_.StopWorker();
      if (menu_ && GetMenu(hwnd) != menu_) DestroyMenu(menu_);  // detached in full-screen
      menu_ = nullptr;
      if (owner_) PostMessageA(owner_, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, 0), reinterpret_cast<LPARAM>(hwnd));
      return 0;
    case WM_NCDESTROY:
      frame_ = toolbar_ = rebar_ = status_ = nullptr;
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace viewer

std::unique_ptr<ViewerLink> CreateViewer(HWND owner, BusyCount& ownerBusy) {
  auto viewer = std::make_unique<viewer::ViewerWindow>();
  if (!viewer->Create(owner, ownerBusy)) return nullptr;
  return viewer;
}
