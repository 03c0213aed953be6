// Process entry: one instance only, common controls, icons, the browse window (with
// the disc image named on the command line) and the main loop.
#include <windows.h>

#include <cstdlib>

#include "app/main_loop.h"
#include "browse/browse_window.h"
#include "imagefile/requested_level.h"
#include "resources/resource_ids.h"
#include "settings/settings_store_win.h"
#include "ui/comctl_version_win.h"
#include "ui/help_win.h"
#include "ui/shell_state_win.h"

namespace {

constexpr int kExitAlreadyRunning = -1;
// Without a browse window nothing could ever post the quit message.
constexpr int kExitNoWindow = 2;
constexpr int kHighestPcdLevel = 6;  // BASE*64

// Brings a running instance's browse window forward; false when there is none.
bool ActivateRunningInstance() {
  HWND existing = FindWindowA(kBrowseWindowClass, nullptr);
  if (!existing) return false;
  SetForegroundWindow(existing);
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  if (ActivateRunningInstance()) return kExitAlreadyRunning;

  g_instance = instance;
  if (showCommand == SW_SHOWNORMAL) showCommand = SW_SHOWDEFAULT;
  g_comctlVersion = ProbeComctlVersion();
  InitAllCommonControls();
  g_mainIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN));
  g_alternateIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_ALTERNATE));
  LoadSettingsGroup(g_settings, SettingsGroup::kOptions);
  LoadSettingsGroup(g_settings, SettingsGroup::kWindow);
  g_requestedPcdLevel = kHighestPcdLevel;

  BrowseWindow browse;
  if (!browse.Create(showCommand)) return kExitNoWindow;
  // "LumivexaSE.exe trip.cue" opens a disc image (Open With, a shortcut, make run IMAGE=1).
  if (__argc > 1) browse.OpenDiscImage(__argv[1], true);
  int exitCode = RunMainLoop(&browse);
  browse.Destroy();
  CloseHelp();
  SaveSettingsGroup(g_settings, SettingsGroup::kWindow);
  return exitCode;
}
