// Pictures of windows for a person to look at, kept in build/screenshots.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// build/screenshots, found from the test program's place in build/<dir>/bin.
std::string ScreenshotFolder();
// The window's pixels as the screen shows them: red, green, blue, top row first.
std::vector<std::uint8_t> CaptureWindow(HWND window, int* width, int* height);
// Repaints the window and stores its picture as build/screenshots/<name>.png.
bool SaveScreenshot(HWND window, const std::string& name);
