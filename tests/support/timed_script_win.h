// Drives modal windows from inside their own message loops: the steps run one
// after another on a thread timer, each repeated on later ticks until it
// reports done. A script that stalls gives up after a while and presses Escape
// on every dialog of the thread, so a failing test never hangs.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class TimedScript {
 public:
  using Step = std::function<bool()>;  // true when done

  explicit TimedScript(std::vector<Step> steps, UINT tickMs = 150) : steps_(std::move(steps)) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, tickMs, &TimedScript::Tick);
  }
  ~TimedScript() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  TimedScript(const TimedScript&) = delete;
  TimedScript& operator=(const TimedScript&) = delete;

  bool finished() const { return next_ == steps_.size(); }
  std::size_t stepsDone() const { return next_; }

  // A visible dialog-class window of this thread with the caption, or null.
  static HWND FindDialog(const std::string& caption) {
    Search search{&caption, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &TimedScript::Match, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

 private:
  struct Search {
    const std::string* caption;
    HWND found;
  };
  static BOOL CALLBACK Match(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<Search*>(data);
    char className[16] = "", text[256] = "";
    GetClassNameA(window, className, sizeof className);
    GetWindowTextA(window, text, sizeof text);
    if (std::string(className) != "#32770" || !IsWindowVisible(window) || *search->caption != text) return TRUE;
    search->found = window;
    return FALSE;
  }
  static BOOL CALLBACK Escape(HWND window, LPARAM) {
    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    return TRUE;
  }

  static constexpr int kPatience = 60;  // ticks one step may wait

  static VOID CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    TimedScript* self = current_;
    if (!self || self->running_ || self->finished()) return;
    self->running_ = true;  // a step may open a modal loop in which the timer ticks again
    if (self->steps_[self->next_]()) {
      ++self->next_;
      self->waited_ = 0;
    } else if (++self->waited_ > kPatience) {
      EnumThreadWindows(GetCurrentThreadId(), &TimedScript::Escape, 0);
    }
    self->running_ = false;
  }

  static inline TimedScript* current_ = nullptr;
  std::vector<Step> steps_;
  std::size_t next_ = 0;
  int waited_ = 0;
  bool running_ = false;
  UINT_PTR timer_ = 0;
};
