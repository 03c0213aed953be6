#include "tests/support/screenshot_win.h"

#include <cstdio>

#include "tests/support/png_file.h"

std::string ScreenshotFolder() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, length);
  for (int up = 0; up < 3; ++up) dir = dir.substr(0, dir.find_last_of("\\/"));
  std::string folder = dir + "\\screenshots";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

// Red, green, blue rows of a bitmap, top row first, as GDI reads them.
std::vector<std::uint8_t> BitmapRgb(HBITMAP bitmap, int width, int height) {
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  const int stride = (width * 3 + 3) & ~3;
  std::vector<std::uint8_t> bgr(static_cast<std::size_t>(stride) * height);
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, height, bgr.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  std::vector<std::uint8_t> rgb;
  rgb.reserve(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const std::uint8_t* p = &bgr[static_cast<std::size_t>(y) * stride + x * 3];
      rgb.insert(rgb.end(), {p[2], p[1], p[0]});
    }
  return rgb;
}

// The screen's pixels in r (screen coordinates).
std::vector<std::uint8_t> CaptureScreen(const RECT& r) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  std::vector<std::uint8_t> rgb = BitmapRgb(bitmap, width, height);
  DeleteObject(bitmap);
  return rgb;
}

// The whole window, frame included, as the screen shows it.
std::vector<std::uint8_t> CaptureWindow(HWND window, int* width, int* height) {
  RECT r;
  GetWindowRect(window, &r);
  *width = r.right - r.left;
  *height = r.bottom - r.top;
  return CaptureScreen(r);
}

bool SaveScreenshot(HWND window, const std::string& name) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  // Under Wine the drawing reaches the display server only when the thread
  // looks for messages: look for some (leaving them queued) for a moment, or
  // the last control painted (often the status bar) is missing.
  GdiFlush();
  for (int i = 0; i < 10; ++i) {
    MSG message;
    PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE);
    Sleep(10);
  }
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb = CaptureWindow(window, &width, &height);
  std::string path = ScreenshotFolder() + "\\" + name + ".png";
  if (!WritePng(path, width, height, rgb)) return false;
  std::printf("screenshot: %s\n", path.c_str());
  return true;
}
