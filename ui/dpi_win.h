// Sizes the program computes are given in pixels at 100 % (96 dpi) and scaled by
// the DPI of the window they are for, so that every display scale shows them
// at the same physical size.
#pragma once
#include <windows.h>

constexpr int kBaseDpi = 96;

// The DPI of the display the window is on (GetDpiForWindow where the system
// has it); the screen's logical pixels per inch without a window or on older
// systems.
int WindowDpi(HWND window);

// A 96-dpi size at the window's DPI.
int DpiScale(HWND window, int size);
inline int DpiScale(int dpi, int size) { return MulDiv(size, dpi, kBaseDpi); }

// WM_DPICHANGED, sent when a window moves to a display of another scale (or
// the scale changes): its wParam's DPI, and the window placed on the
// rectangle the system suggests, which re-lays it through WM_SIZE.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif
int TakeSuggestedDpiRect(HWND window, WPARAM wParam, LPARAM lParam);
