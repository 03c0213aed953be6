// The browse window: the program's main frame window, one per process.
#pragma once
#include <windows.h>

#include "app/main_loop.h"

// Window class of the browse frame; also how a second instance finds the first.
constexpr char kBrowseWindowClass[] = "LumivexaSE-Browse";

// Owns the frame window. Today an empty frame; the thumbnail list, menus, toolbar,
// disc scan and thumbnail loader grow here.
class BrowseWindow : public LoopClient {
 public:
  BrowseWindow() = default;
  BrowseWindow(const BrowseWindow&) = delete;
  BrowseWindow& operator=(const BrowseWindow&) = delete;
  ~BrowseWindow() { Destroy(); }

  // Creates and shows the frame. On failure tells the user and returns false; the
  // object then exists without a window.
  bool Create(int showCommand);
  // Destroys the frame if it still exists.
  void Destroy();
  HWND hwnd() const { return hwnd_; }

  bool PreTranslate(MSG* msg) override;
  bool NeedsIdle() override;
  void DoIdle() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  HWND hwnd_ = nullptr;
};
