#include "ui/about_box_win.h"

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>

#include "resources/resource_ids.h"
#include "ui/shell_state_win.h"
#include "ui/ui_utils_win.h"
#include "ui/wait_cursor_win.h"
#include "ui/window_object_win.h"

namespace {

constexpr UINT_PTR kBlinkTimer = 1;
constexpr UINT kFirstBlinkMs = 1000;

struct AboutState {
  bool showingAlternate = false;
};

void ShowIcon(HWND dialog, HICON icon) {
  SendDlgItemMessageA(dialog, IDC_ABOUT_ICON, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* state = DialogObject(dialog, message, reinterpret_cast<AboutState*>(lParam));
  switch (message) {
    case WM_INITDIALOG: {
      char version[64];
      std::snprintf(version, sizeof version, LoadStringText(g_instance, IDS_VERSION).c_str(),
                    LUMIVEXA_VERSION_TEXT);
      SetDlgItemTextA(dialog, IDC_ABOUT_VERSION, version);
      SetDlgItemTextA(dialog, IDC_ABOUT_PRODUCT, kAppName);
      ShowIcon(dialog, g_mainIcon);
      CentreWindow(dialog, GetWindow(dialog, GW_OWNER));
      SetTimer(dialog, kBlinkTimer, kFirstBlinkMs, nullptr);
      return TRUE;
    }
    case WM_TIMER:
      if (wParam == kBlinkTimer && state) {
        KillTimer(dialog, kBlinkTimer);
        unsigned delay = NextBlinkDelay(state->showingAlternate, std::rand() & 0x7FFF);
        state->showingAlternate = !state->showingAlternate;
        ShowIcon(dialog, state->showingAlternate ? g_alternateIcon : g_mainIcon);
        SetTimer(dialog, kBlinkTimer, delay, nullptr);
      }
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDC_ABOUT_VISIT:
          OpenWebPage(dialog, IDS_PRODUCT_HOME_PAGE);
          return TRUE;
        case IDOK:
        case IDCANCEL:
          KillTimer(dialog, kBlinkTimer);
          EndDialog(dialog, LOWORD(wParam));
          return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

unsigned NextBlinkDelay(bool showingAlternate, int random) {
  return static_cast<unsigned>(random % (showingAlternate ? 7000 : 200));
}

INT_PTR ShowAboutBox(HWND owner) {
  AboutState state;
  return DialogBoxParamA(g_instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutProc,
                  reinterpret_cast<LPARAM>(&state));
}

void OpenWebPage(HWND owner, UINT addressId) {
  const std::string address = LoadStringText(g_instance, addressId);
  INT_PTR result;
  {
    WaitCursor wait;
    result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(GetDesktopWindow(), nullptr, address.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  }
  if (result < 32) {
    SetLastError(static_cast<DWORD>(result));
    SystemErrorBoxId(g_instance, owner, IDS_NO_WEB_BROWSER);
  }
}
