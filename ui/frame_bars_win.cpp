#include "ui/frame_bars_win.h"

#include <commctrl.h>

#include <string>

#include "resources/command_tooltips.h"
#include "resources/resource_ids.h"
#include "ui/ui_utils_win.h"
#include "ui/gdi_scope_win.h"

namespace {

constexpr int kRebarWidth = 10000;
constexpr int kToolbarImages = 40;
constexpr int kToolbarImageSize = 16;
constexpr WPARAM kSimplePart = 255;  // the status bar's simple-mode text

// A child's rectangle in its frame's client coordinates.
RECT RectInParent(HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

bool Shown(HWND window) { return window && (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE); }

}  // namespace

HWND CreateFrameToolbar(HINSTANCE instance, HWND frame, int id, const TBBUTTON* buttons, int count, bool flat) {
  DWORD style = WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS;
  if (flat) style |= TBSTYLE_FLAT;
  return CreateToolbarEx(frame, style, id, kToolbarImages, instance, IDB_TOOLBAR, buttons, count, kToolbarImageSize,
                         kToolbarImageSize, kToolbarImageSize, kToolbarImageSize, sizeof(TBBUTTON));
}

HWND CreateToolbarRebar(HINSTANCE instance, HWND frame, HWND toolbar) {
  HWND rebar = CreateWindowExA(WS_EX_TOOLWINDOW, REBARCLASSNAMEA, nullptr,
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | RBS_VARHEIGHT |
                                   CCS_NODIVIDER,
                               0, 0, 0, 0, frame, nullptr, instance, nullptr);
  if (!rebar) return nullptr;
  REBARINFO bar = {};
  bar.cbSize = sizeof bar;
  SendMessageA(rebar, RB_SETBARINFO, 0, reinterpret_cast<LPARAM>(&bar));

  static char title[] = "Lumivexa Toolbar";
  REBARBANDINFOA band = {};
  band.cbSize = REBARBANDINFOA_V3_SIZE;
  band.fMask = RBBIM_COLORS | RBBIM_TEXT | RBBIM_STYLE | RBBIM_CHILD | RBBIM_CHILDSIZE | RBBIM_BACKGROUND;
  band.fStyle = RBBS_CHILDEDGE | RBBS_FIXEDBMP | RBBS_GRIPPERALWAYS;
  band.clrFore = GetSysColor(COLOR_3DDKSHADOW);
  band.clrBack = GetSysColor(COLOR_BTNFACE);
  band.lpText = title;
  band.hwndChild = toolbar;
  band.cxMinChild = 0;
  band.cyMinChild = HIWORD(SendMessageA(toolbar, TB_GETBUTTONSIZE, 0, 0));
  band.hbmBack = nullptr;
  SendMessageA(rebar, RB_INSERTBANDA, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&band));
  SetWindowLongA(rebar, GWL_STYLE, GetWindowLongA(rebar, GWL_STYLE) | CCS_NORESIZE);
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
    SendMessageA(toolbar, WM_SIZE, 0, clientSize);
  }
  if (status) SendMessageA(status, WM_SIZE, 0, clientSize);
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
    SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0)));
    GetTextExtentPoint32A(dc, text, lstrlenA(text), &size);
  }
  ReleaseDC(window, dc);
  return size.cx;
}

void ShowMenuHelp(HINSTANCE instance, HWND status, UINT item, UINT flags) {
  if (!status) return;
  if (flags == 0xFFFF || (flags & (MF_POPUP | MF_SYSMENU))) {
    SendMessageA(status, SB_SIMPLE, FALSE, 0);
    return;
  }
  const std::string help = (flags & MF_SEPARATOR) ? std::string() : LoadStringText(instance, item, 512);
  if (!(flags & MF_SEPARATOR) && help.empty()) {
    SendMessageA(status, SB_SIMPLE, FALSE, 0);
    return;
  }
  SendMessageA(status, SB_SIMPLE, TRUE, 0);
  SendMessageA(status, SB_SETTEXTA, kSimplePart, reinterpret_cast<LPARAM>(help.c_str()));
}

// Points a tooltip request, 8-bit or wide, at the command's tip string.
template <typename TipRequest>
void AnswerTip(HINSTANCE instance, TipRequest* tip) {
  const int id = CommandTooltipId(static_cast<int>(tip->hdr.idFrom));
  tip->hinst = id ? instance : nullptr;
  tip->lpszText = reinterpret_cast<decltype(tip->lpszText)>(static_cast<ULONG_PTR>(id));
}

bool AnswerToolbarTip(HINSTANCE instance, NMHDR* header) {
  switch (header->code) {
    case TTN_NEEDTEXTA:
      AnswerTip(instance, reinterpret_cast<NMTTDISPINFOA*>(header));
      return true;
    case TTN_NEEDTEXTW:  // its text buffer is twice as long: hinst lies further on
      AnswerTip(instance, reinterpret_cast<NMTTDISPINFOW*>(header));
      return true;
  }
  return false;
}
