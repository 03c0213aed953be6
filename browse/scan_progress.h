// What the disc scan shows while it lists the photos, and how the user stops it.
#pragma once
#include <windows.h>

class ScanProgress {
 public:
  virtual ~ScanProgress() = default;
  // Before the first photo; count is the number of photos.
  virtual void Begin(HWND owner, int count) = 0;
  // Shows photo number j (from 1) and lets the window handle its messages;
  // false once the user has cancelled.
  virtual bool Show(int j) = 0;
  virtual bool Cancelled() const = 0;
  virtual void End() = 0;
};
