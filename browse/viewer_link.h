// What the browse window needs from a viewer window it owns.
#pragma once
#include <windows.h>

class ViewerLink {
 public:
  virtual ~ViewerLink() = default;
  virtual HWND Frame() const = 0;
  // Idle work (read-ahead) waiting; the main loop then stays busy.
  virtual bool HasIdleWork() const = 0;
  virtual void DoIdleWork() = 0;
  // The viewer's accelerators on its own frame; true when the message was used.
  virtual bool TranslateAccelerators(MSG* msg) = 0;
};
