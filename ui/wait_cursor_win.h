// The hourglass while the user-interface thread is busy.
#pragma once
#include <windows.h>

// Shows the wait cursor until the end of the scope, then the cursor from before
// (the arrow when there was none).
class WaitCursor {
 public:
  WaitCursor() : old_(SetCursor(LoadCursor(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { SetCursor(old_ ? old_ : LoadCursor(nullptr, IDC_ARROW)); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR old_;
};
