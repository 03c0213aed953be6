#include "ui/dpi_win.h"

int WindowDpi(HWND window) {
  // Looked up at run time: systems before Windows 10 (1607) lack it.
  using DpiForWindow = UINT(WINAPI*)(HWND);
  static const auto dpiForWindow = reinterpret_cast<DpiForWindow>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (window && dpiForWindow) {
    if (const UINT dpi = dpiForWindow(window)) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kBaseDpi;
  if (screen) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kBaseDpi;
}

int DpiScale(HWND window, int size) { return DpiScale(WindowDpi(window), size); }

int TakeSuggestedDpiRect(HWND window, WPARAM wParam, LPARAM lParam) {
  const RECT& r = *reinterpret_cast<const RECT*>(lParam);
  SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  return HIWORD(wParam);
}
