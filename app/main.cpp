// Process entry: one instance only, common controls, icons, the browse window (with
// the disc image or folder named on the command line) and the main loop.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "app/main_loop.h"
#include "browse/browse_window.h"
#include "imagefile/requested_level.h"
#include "photocd/pcd_text_win.h"
#include "resources/resource_ids.h"
#include "settings/settings_store_win.h"
#include "ui/comctl_version_win.h"
#include "ui/help_win.h"
#include "ui/shell_state_win.h"

namespace {

constexpr int kExitAlreadyRunning = -1;
// A second start that handed its disc image or folder to the running program.
constexpr int kExitHandedOver = 0;
// Without a browse window nothing could ever post the quit message.
constexpr int kExitNoWindow = 2;
constexpr int kHighestPcdLevel = 6;  // BASE*64
constexpr UINT kHandOverTimeoutMs = 5000;

// The path named on the command line, made absolute from this process's
// current folder; empty without one. The wide command line holds every name.
std::string CommandLinePath() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments) return {};
  std::wstring path = count >= 2 ? arguments[1] : L"";
  LocalFree(arguments);
  if (path.empty()) return {};
  wchar_t full[MAX_PATH];
  DWORD length = GetFullPathNameW(path.c_str(), MAX_PATH, full, nullptr);
  return Utf8(length > 0 && length < MAX_PATH ? std::wstring(full, length) : path);
}

// Brings a running instance's browse window forward and hands it the path,
// if any; false when no instance runs.
bool HandToRunningInstance(const std::string& path, bool& handedOver) {
  HWND existing = FindWindowW(kBrowseWindowClass, nullptr);
  if (!existing) return false;
  SetForegroundWindow(existing);
  handedOver = false;
  if (!path.empty()) {
    COPYDATASTRUCT data = {};
    data.dwData = kOpenPathCopyData;
    data.cbData = static_cast<DWORD>(path.size() + 1);
    data.lpData = const_cast<char*>(path.c_str());
    DWORD_PTR accepted = FALSE;
    handedOver = SendMessageTimeoutW(existing, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                                     kHandOverTimeoutMs, &accepted) &&
                 accepted;
  }
  return true;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  // "LumivexaSE.exe trip.cue" or "LumivexaSE.exe C:\Photos\Wedding" opens a disc
  // image or folder (Open With, a shortcut, make run IMAGE=1); a second start
  // passes it to the program already running.
  const std::string path = CommandLinePath();
  bool handedOver = false;
  if (HandToRunningInstance(path, handedOver)) return handedOver ? kExitHandedOver : kExitAlreadyRunning;

  g_instance = instance;
  if (showCommand == SW_SHOWNORMAL) showCommand = SW_SHOWDEFAULT;
  g_comctlVersion = ProbeComctlVersion();
  InitAllCommonControls();
  g_mainIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_MAIN));
  g_alternateIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_ALTERNATE));
  LoadSettingsGroup(g_settings, SettingsGroup::kOptions);
  LoadSettingsGroup(g_settings, SettingsGroup::kWindow);
  g_requestedPcdLevel = kHighestPcdLevel;

  BrowseWindow browse;
  if (!browse.Create(showCommand)) return kExitNoWindow;
  if (!path.empty()) browse.OpenPath(path, true);
  int exitCode = RunMainLoop(&browse);
  browse.Destroy();
  CloseHelp();
  SaveSettingsGroup(g_settings, SettingsGroup::kWindow);
  return exitCode;
}
