// How a window finds the object behind it, the one way every window here does:
// the object's pointer is stored when the window is made (WM_NCCREATE's creation
// parameter for window classes, WM_INITDIALOG's parameter for dialogs) and read
// back for every later message. Before it is stored the object is null and the
// message goes to the default procedure. WM_NCDESTROY, the window's last
// message, still reaches the object, but the pointer is cleared first, so
// nothing later finds an object that may be gone.
#pragma once
#include <windows.h>

// For a window class. slot: GWLP_USERDATA for frames, or the offset of the
// pointer in the class's extra window bytes.
template <typename T>
T* WindowObject(HWND window, UINT message, LPARAM lParam, int slot = GWLP_USERDATA) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrA(window, slot,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
  T* object = reinterpret_cast<T*>(GetWindowLongPtrA(window, slot));
  if (message == WM_NCDESTROY) SetWindowLongPtrA(window, slot, 0);
  return object;
}

// For a dialog; object is what WM_INITDIALOG's parameter carries (a property
// page's parameter is its page description, whose lParam holds the object).
template <typename T>
T* DialogObject(HWND dialog, UINT message, T* object) {
  if (message == WM_INITDIALOG) SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(object));
  T* found = reinterpret_cast<T*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (message == WM_NCDESTROY) SetWindowLongPtrA(dialog, DWLP_USER, 0);
  return found;
}
