// The setup dialog's preview: the page on show drawn from the photos'
// thumbnails, scaled to fit a child window of the page's shape.
#pragma once
#include <windows.h>

namespace print {

class PrintSetupDialog;

class PrintPreview {
 public:
  // A child of the dialog with id IDC_PRINT_PREVIEW covering place; it deletes
  // itself with its window.
  static PrintPreview* Create(HINSTANCE instance, HWND dialog, const RECT& place, PrintSetupDialog& owner);
  HWND hwnd() const { return window_; }
  void Repaint() { InvalidateRect(window_, nullptr, FALSE); }

 private:
  explicit PrintPreview(PrintSetupDialog& owner) : owner_(owner) {}
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HDC dc, const RECT& client);
  void PaintPage(HDC dc, const RECT& client);

  PrintSetupDialog& owner_;
  HWND window_ = nullptr;
};

}  // namespace print
