#include "ui/command_rules_win.h"

#include "resources/resource_ids.h"
#include "ui/shell_state_win.h"
#include "ui/ui_utils_win.h"

namespace {
bool g_exclusiveRunning = false;
}  // namespace

ExclusiveCommand::ExclusiveCommand(HINSTANCE instance, HWND owner) : started_(!g_exclusiveRunning) {
  if (started_)
    g_exclusiveRunning = true;
  else
    MessageFromString(instance, owner, IDS_COMMAND_BUSY, kAppName, MB_OK | MB_ICONINFORMATION);
}

ExclusiveCommand::~ExclusiveCommand() {
  if (started_) g_exclusiveRunning = false;
}

bool RefusedWhileRunning(HINSTANCE instance, HWND owner, const BusyCount& running) {
  if (!running.Busy()) return false;
  MessageFromString(instance, owner, IDS_WAIT_FOR_COMMAND, kAppName, MB_OK | MB_ICONINFORMATION);
  return true;
}
