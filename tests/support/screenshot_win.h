// Pictures of what the screen shows, for tests that compare painted pixels and
// for the screenshots people look at in build/screenshots.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// build/screenshots, found from the test program's place in build/<dir>/bin.
std::string ScreenshotFolder();
// Red, green, blue rows of a bitmap, top row first, as GDI reads them.
std::vector<std::uint8_t> BitmapRgb(HBITMAP bitmap, int width, int height);
// The screen's pixels in r (screen coordinates).
std::vector<std::uint8_t> CaptureScreen(const RECT& r);
// The whole window, frame included, as the screen shows it.
std::vector<std::uint8_t> CaptureWindow(HWND window, int* width, int* height);
// Repaints the window and stores its picture as build/screenshots/<name>.png.
bool SaveScreenshot(HWND window, const std::string& name);
