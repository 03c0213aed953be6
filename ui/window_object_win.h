// How a window finds the object behind it, the one way every window here does:
// the object's pointer is stored when the window is made (WM_NCCREATE's creation
// parameter for window classes, WM_INITDIALOG's parameter for dialogs) and read
// back for every later message. Before it is stored the object is null and the
// message goes to the default procedure.
#pragma once
#include <windows.h>

// For a window class. slot: GWLP_USERDATA for frames, or the offset of the
// pointer in the class's extra window bytes.
template <typename T>
T* WindowObject(HWND window, UINT message, LPARAM lParam, int slot = GWLP_USERDATA) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrW(window, slot,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
  return reinterpret_cast<T*>(GetWindowLongPtrW(window, slot));
}

// For a dialog; object is what WM_INITDIALOG's parameter carries (a property
// page's parameter is its page description, whose lParam holds the object).
template <typename T>
T* DialogObject(HWND dialog, UINT message, T* object) {
  if (message == WM_INITDIALOG) SetWindowLongPtrW(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(object));
  return reinterpret_cast<T*>(GetWindowLongPtrW(dialog, DWLP_USER));
}
