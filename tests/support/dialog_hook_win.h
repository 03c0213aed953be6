// Answers the modal dialogs and message boxes that code under test opens: while a
// DialogHook lives, every dialog-class window first activated on this thread is
// handed to its handler, which reads or fills controls and posts the button to
// press. A dialog activated again (after a message box over it closes) is not.
#pragma once
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "photocd/pcd_text_win.h"

class DialogHook {
 public:
  using Handler = std::function<void(HWND dialog)>;

  explicit DialogHook(Handler handler) : handler_(std::move(handler)) {
    current_ = this;
    hook_ = SetWindowsHookExA(WH_CBT, &DialogHook::Cbt, nullptr, GetCurrentThreadId());
  }
  ~DialogHook() {
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
  }
  DialogHook(const DialogHook&) = delete;
  DialogHook& operator=(const DialogHook&) = delete;

  int dialogsSeen() const { return static_cast<int>(seen_.size()); }

  // As UTF-8, like every text inside the program.
  static std::string Text(HWND window) {
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    return Utf8(text);
  }
  // The message text of a message box (its static control 0xFFFF).
  static std::string MessageText(HWND box) { return Text(GetDlgItem(box, 0xFFFF)); }
  static void Press(HWND dialog, int button) { PostMessageA(dialog, WM_COMMAND, button, 0); }

 private:
  static LRESULT CALLBACK Cbt(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && current_) {
      HWND window = reinterpret_cast<HWND>(wParam);
      char className[32] = "";
      GetClassNameA(window, className, sizeof className);
      std::vector<HWND>& seen = current_->seen_;
      if (std::string(className) == "#32770" &&
          std::find(seen.begin(), seen.end(), window) == seen.end()) {
        seen.push_back(window);
        current_->handler_(window);
      }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }

  static inline DialogHook* current_ = nullptr;
  Handler handler_;
  HHOOK hook_ = nullptr;
  std::vector<HWND> seen_;
};
