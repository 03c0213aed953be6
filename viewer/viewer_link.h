// What the browse window needs of the viewer windows it opens and owns.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imaging/packed_dib.h"
#include "ui/busy_count.h"

// One photo of a viewer's list, with what printing and the properties sheet
// show of it.
struct ViewerPhoto {
  int number = 0;          // photo number - 1
  std::string path;        // its image file
  std::uint64_t date = 0;  // local file time (100 ns since 1601)
  int width = 0;           // nominal size in pixels, as the photo stands upright
  int height = 0;
  // The browse window's thumbnail slot, null until the loader fills it; the
  // browse window closes its viewers before the photos go.
  const std::atomic<imaging::PackedDib*>* thumbnail = nullptr;
  std::string name;  // a loose pack's file name, shown beside its number; empty on a disc
};

class ViewerLink {
 public:
  virtual ~ViewerLink() = default;
  virtual HWND Frame() const = 0;
  // Idle work (read-ahead) waiting; the main loop then stays busy.
  virtual bool HasIdleWork() const = 0;
  virtual void DoIdleWork() = 0;
  // The viewer's accelerators on its own frame; true when the message was used.
  virtual bool TranslateAccelerators(MSG* msg) = 0;
  // Takes the list, shows photos[start] and makes the window visible; false
  // when that photo cannot be shown (the viewer has told the user why).
  virtual bool Open(const std::vector<ViewerPhoto>& photos, int start) = 0;
  // Full-screen, fitted to the screen, with a running slide show.
  virtual void StartFullScreenSlideShow() = 0;
  // A command of the viewer is running (on the stack); the viewer is deleted
  // only when it is not, and reports its destruction again once it is over.
  virtual bool Busy() const = 0;
};

// A hidden viewer window whose frame reports its destruction to owner with
// WM_PARENTNOTIFY (WM_DESTROY, frame); null when the window cannot be made.
// The viewer holds the owner's busy count while it handles a message, so that
// the owner never deletes it in the middle of one of its commands.
std::unique_ptr<ViewerLink> CreateViewer(HWND owner, BusyCount& ownerBusy);
