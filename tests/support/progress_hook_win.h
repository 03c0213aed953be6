// Acts inside an operation on this thread when its progress bar first reaches
// a position: presses Cancel, takes memory away and the like, at the moment
// the operation has got that far.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <functional>

class ProgressHook {
 public:
  ProgressHook(WPARAM position, std::function<void(HWND bar)> action)
      : position_(position), action_(std::move(action)) {
    current_ = this;
    hook_ = SetWindowsHookExA(WH_CALLWNDPROC, &ProgressHook::Sent, nullptr, GetCurrentThreadId());
  }
  ~ProgressHook() {
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  ProgressHook(const ProgressHook&) = delete;
  ProgressHook& operator=(const ProgressHook&) = delete;

  bool fired() const { return fired_; }
  // Posts the Cancel of the progress window that holds bar.
  static void Cancel(HWND bar) { PostMessageA(GetParent(bar), WM_COMMAND, IDCANCEL, 0); }

 private:
  static LRESULT CALLBACK Sent(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<CWPSTRUCT*>(lParam);
    ProgressHook* self = current_;
    if (code == HC_ACTION && self && !self->fired_ && sent->message == PBM_SETPOS &&
        sent->wParam >= self->position_) {
      self->fired_ = true;
      self->action_(sent->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static inline ProgressHook* current_ = nullptr;
  WPARAM position_;
  std::function<void(HWND bar)> action_;
  HHOOK hook_ = nullptr;
  bool fired_ = false;
};
