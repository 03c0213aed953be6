// The small modeless window that long operations on the user-interface thread
// show: a caption, a text line, a progress bar and Cancel. The operation pumps
// the window's messages between steps and stops once the cancel flag is set.
#pragma once
#include <windows.h>

class ProgressWindow {
 public:
  // Shows at once with a delay of 0; otherwise repaints the owner and shows only
  // when delayMs have passed, so short operations never flash a window.
  ProgressWindow(HINSTANCE instance, HWND owner, const char* caption, unsigned delayMs);
  ~ProgressWindow();
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  HWND handle() const { return window_; }
  // Set by this window's Cancel. Each operation asks its own window, so a
  // cancel in one window never stops another operation.
  bool cancelled() const { return cancelled_; }
  // What Cancel does, for an operation that ends its run another way.
  void cancel();
  void setText(const char* text);
  void setRange(int low, int high);
  void setPosition(int position);
  // Handles every waiting message of the window and its controls, then repaints it.
  void pump();

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;
  bool timerRunning_ = false;
  bool cancelled_ = false;
};
