#include "ui/frame_bars_win.h"

#include <commctrl.h>

#include <string>

#include "resources/command_tooltips.h"
#include "resources/resource_ids.h"
#include "ui/dpi_win.h"
#include "ui/ui_utils_win.h"
#include "ui/gdi_scope_win.h"

namespace {

constexpr int kRebarWidth = 10000;
constexpr int kToolbarImages = 40;
constexpr WPARAM kSimplePart = 255;  // the status bar's simple-mode text

// A child's rectangle in its frame's client coordinates.
RECT RectInParent(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool Shown(HWND window) { return window && (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE); }

}  // namespace

HWND CreateFrameToolbar(HINSTANCE instance, HWND frame, int id, const TBBUTTON* buttons, int count, bool flat) {
  DWORD style = WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS;
  if (flat) style |= TBSTYLE_FLAT;
  // The images drawn for the nearest scale at or below the frame's.
  const int dpi = WindowDpi(frame);
  const int bitmap = dpi >= 2 * kBaseDpi ? IDB_TOOLBAR_200 : dpi * 2 >= 3 * kBaseDpi ? IDB_TOOLBAR_150 : IDB_TOOLBAR;
  const int size = bitmap == IDB_TOOLBAR_200 ? 32 : bitmap == IDB_TOOLBAR_150 ? 24 : 16;
  return CreateToolbarEx(frame, style, id, kToolbarImages, instance, bitmap, buttons, count, size, size, size, size,
                         sizeof(TBBUTTON));
}

HWND CreateToolbarRebar(HINSTANCE instance, HWND frame, HWND toolbar) {
  HWND rebar = CreateWindowExW(WS_EX_TOOLWINDOW, REBARCLASSNAMEW, nullptr,
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT |
                                   CCS_NODIVIDER,
                               0, 0, 0, 0, frame, nullptr, instance, nullptr);
  if (!rebar) return nullptr;
  REBARINFO bar = {};
  bar.cbSize = sizeof bar;
  SendMessageW(rebar, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&bar));

  static wchar_t title[] = L"Lumivexa Toolbar";
  REBARBANDINFOW band = {};
  band.cbSize = REBARBANDINFOW_V3_SIZE;
  band.fMask = RBBIM_COLORS | RBBIM_TEXT | RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_BACKGROUND;
  band.fStyle = RBBS_CHILDEDGE | RBBS_FIXEDBMP | RBBS_GRIPPERALWAYS;
  band.clrFore = GetSysColor(COLOR_3DDKSHADOW);
  band.clrBack = GetSysColor(COLOR_BTNFACE);
  band.lpText = title;
  band.hwndChild = toolbar;
  band.cxMinChild = 0;
  band.cyMinChild = HIWORD(SendMessageW(toolbar, TB_GETBUTTONSIZE, 0, 0));
  band.hbmBack = nullptr;
  SendMessageW(rebar, RB_INSERTBANDW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
  SetWindowLongW(rebar, GWL_STYLE, GetWindowLongW(rebar, GWL_STYLE) | CCS_NORESIZE);
  return rebar;
}

RECT LayoutFrameBars(HWND frame, HWND rebar, HWND toolbar, HWND status) {
  RECT client;
  GetClientRect(frame, &client);
  const LPARAM clientSize = MAKELPARAM(client.right, client.bottom);
  if (rebar) {
    RECT toolbarClient;
    GetClientRect(toolbar, &toolbarClient);
    SetWindowPos(rebar, nullptr, 0, 0, kRebarWidth, toolbarClient.bottom, SWP_NOMOVE | SWP_NOZORDER);
  } else if (toolbar) {
    SendMessageW(toolbar, WM_SIZE, 0, clientSize);
  }
  if (status) SendMessageW(status, WM_SIZE, 0, clientSize);
  RECT rest = client;
  HWND top = rebar ? rebar : toolbar;
  if (Shown(top)) rest.top = RectInParent(top).bottom;
  if (Shown(status)) rest.bottom = RectInParent(status).top;
  return rest;
}

int TextWidth(HWND window, const char* text) {
  HDC dc = GetDC(window);
  SIZE size = {};
  {
    SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
    const std::wstring wide = Utf16(text);
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
  }
  ReleaseDC(window, dc);
  return size.cx;
}

void ShowMenuHelp(HINSTANCE instance, HWND status, UINT item, UINT flags) {
  if (!status) return;
  if (flags == 0xFFFF || (flags & (MF_POPUP | MF_SYSMENU))) {
    SendMessageW(status, SB_SIMPLE, FALSE, 0);
    return;
  }
  const std::string help = (flags & MF_SEPARATOR) ? std::string() : LoadStringText(instance, item, 512);
  if (!(flags & MF_SEPARATOR) && help.empty()) {
    SendMessageW(status, SB_SIMPLE, FALSE, 0);
    return;
  }
  SendMessageW(status, SB_SIMPLE, TRUE, 0);
  SendMessageW(status, SB_SETTEXTW, kSimplePart, reinterpret_cast<LPARAM>(Utf16(help).c_str()));
}

// Points a tooltip request at the command's tip string; the frames are
// Unicode windows, so their tooltips ask in UTF-16.
bool AnswerToolbarTip(HINSTANCE instance, NMHDR* header) {
  if (header->code != TTN_NEEDTEXTW) return false;
  auto* tip = reinterpret_cast<NMTTDISPINFOW*>(header);
  const int id = CommandTooltipId(static_cast<int>(tip->hdr.idFrom));
  tip->hinst = id ? instance : nullptr;
  tip->lpszText = MAKEINTRESOURCEW(id);
  return true;
}
