// Pictures of what the screen shows, for tests that compare painted pixels and
// for the screenshots people look at in build/screenshots.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// build/screenshots, found from the test program's place in build/<dir>/bin.
inline std::string ScreenshotFolder() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, length);
  for (int up = 0; up < 3; ++up) dir = dir.substr(0, dir.find_last_of("\\/"));
  std::string folder = dir + "\\screenshots";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

// The screen's pixels in r (screen coordinates): red, green, blue, top row first.
inline std::vector<std::uint8_t> CaptureScreen(const RECT& r) {
  const int width = r.right - r.left, height = r.bottom - r.top;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
  GdiFlush();
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
  const int stride = (width * 3 + 3) & ~3;
  for (int y = 0; y < height; ++y) {
    const auto* row = static_cast<const std::uint8_t*>(bits) + y * stride;
    for (int x = 0; x < width; ++x) {
      std::uint8_t* out = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
      out[0] = row[x * 3 + 2];
      out[1] = row[x * 3 + 1];
      out[2] = row[x * 3];
    }
  }
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return rgb;
}

// The whole window, frame included, as the screen shows it.
inline std::vector<std::uint8_t> CaptureWindow(HWND window, int* width, int* height) {
  RECT r;
  GetWindowRect(window, &r);
  *width = r.right - r.left;
  *height = r.bottom - r.top;
  return CaptureScreen(r);
}
