// The rules every window follows for the commands it runs. A command's dialog,
// message box or progress window lets other messages in while it runs, so a
// second command or a close could otherwise arrive in the middle of it.
#pragma once
#include <windows.h>

#include "ui/busy_count.h"

// Export, Print, Copy and the wallpaper share the program's decode and write
// steps and what they write to (the stored options, the printer, the clipboard,
// the wallpaper file): one of them runs at a time, whichever window starts it.
// A start while another runs is refused with one short message owned by owner.
class ExclusiveCommand {
 public:
  ExclusiveCommand(HINSTANCE instance, HWND owner);
  ExclusiveCommand(const ExclusiveCommand&) = delete;
  ExclusiveCommand& operator=(const ExclusiveCommand&) = delete;

  ~ExclusiveCommand();

  // False when another one ran: the caller must give up.
  bool started() const { return started_; }

 private:
  bool started_;
};

// True, after telling the user under owner that a command must end first, when
// running holds a command: a frame neither closes nor starts another command
// while one of its own runs, and the program does not exit while any runs.
bool RefusedWhileRunning(HINSTANCE instance, HWND owner, const BusyCount& running);
