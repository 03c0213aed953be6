#include "browse/browse_window.h"

#include "app/shell_state.h"

namespace {

// The quit code of every quit the program posts itself.
constexpr int kQuitCode = 1;

}  // namespace

bool BrowseWindow::Create(int showCommand) {
  WNDCLASSA wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = g_instance;
  wc.hIcon = g_mainIcon;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_APPWORKSPACE + 1);
  wc.lpszClassName = kBrowseWindowClass;
  RegisterClassA(&wc);  // fails harmlessly when the class is already registered

  CreateWindowExA(0, kBrowseWindowClass, kAppName, WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                  g_instance, this);
  if (!hwnd_) {
    MessageBoxA(nullptr, "Could not create browse window!", kAppName, MB_OK | MB_ICONSTOP);
    return false;
  }
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
  return true;
}

void BrowseWindow::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

bool BrowseWindow::PreTranslate(MSG* msg) {
  // Keyboard navigation between the frame's child controls.
  return hwnd_ && IsDialogMessageA(hwnd_, msg);
}

bool BrowseWindow::NeedsIdle() {
  // Idle work comes from open viewers and the thumbnail loader; neither exists yet.
  return false;
}

void BrowseWindow::DoIdle() {}

LRESULT CALLBACK BrowseWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<BrowseWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<BrowseWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT BrowseWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = hwnd_;
  switch (message) {
    case WM_DESTROY:
      PostQuitMessage(kQuitCode);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}
