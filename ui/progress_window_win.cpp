#include "ui/progress_window_win.h"

#include <commctrl.h>

#include "resources/resource_ids.h"
#include "ui/window_object_win.h"
#include "photocd/pcd_text_win.h"

namespace {
constexpr UINT_PTR kShowTimer = 1;
}  // namespace

ProgressWindow::ProgressWindow(HINSTANCE instance, HWND owner, const char* caption, unsigned delayMs) {
  window_ = CreateDialogParamW(instance, MAKEINTRESOURCEW(IDD_PROGRESS), owner, &ProgressWindow::DialogProc,
                               reinterpret_cast<LPARAM>(this));
  if (!window_) return;
  SetWindowTextW(window_, Utf16(caption).c_str());
  if (delayMs == 0) {
    ShowWindow(window_, SW_SHOW);
    UpdateWindow(window_);
    return;
  }
  if (owner) UpdateWindow(owner);
  timerRunning_ = SetTimer(window_, kShowTimer, delayMs, nullptr) != 0;
}

ProgressWindow::~ProgressWindow() {
  if (window_) DestroyWindow(window_);
}

void ProgressWindow::setText(const char* text) { SetDlgItemTextW(window_, IDC_PROGRESS_TEXT, Utf16(text).c_str()); }

void ProgressWindow::setRange(int low, int high) {
  SendDlgItemMessageW(window_, IDC_PROGRESS_BAR, PBM_SETRANGE32, low, high);
}

void ProgressWindow::setPosition(int position) {
  SendDlgItemMessageW(window_, IDC_PROGRESS_BAR, PBM_SETPOS, position, 0);
}

void ProgressWindow::pump() {
  if (!window_) return;
  MSG msg;
  while (PeekMessageW(&msg, window_, 0, 0, PM_REMOVE)) {
    if (!IsDialogMessageW(window_, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  UpdateWindow(window_);
}

void ProgressWindow::cancel() {
  // The window stays alive, hidden, until the operation destroys it.
  cancelled_ = true;
  if (timerRunning_) KillTimer(window_, kShowTimer);
  timerRunning_ = false;
  if (window_) ShowWindow(window_, SW_HIDE);
}

INT_PTR CALLBACK ProgressWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = DialogObject(window, message, reinterpret_cast<ProgressWindow*>(lParam));
  if (!self) return FALSE;
  if (message == WM_INITDIALOG) {
    self->window_ = window;
    return TRUE;
  }
  return self->handleMessage(message, wParam, lParam);
}

INT_PTR ProgressWindow::handleMessage(UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_TIMER:
      if (wParam != kShowTimer) return FALSE;
      KillTimer(window_, kShowTimer);
      timerRunning_ = false;
      ShowWindow(window_, SW_SHOW);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) != IDCANCEL) return FALSE;
      cancel();
      return TRUE;
  }
  return FALSE;
}
