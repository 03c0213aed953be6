#include "ui/help_win.h"

#include <htmlhelp.h>

#include "resources/resource_ids.h"
#include "ui/help_topics.h"
#include "ui/shell_state_win.h"
#include "ui/ui_utils_win.h"

namespace {

constexpr char kHtmlHelpFile[] = "LumivexaSE.chm";
constexpr char kWinHelpFile[] = "LumivexaSE.hlp";

using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);

// HtmlHelpA of hhctrl.ocx, loaded once; the library stays loaded because its
// windows live in this process. Null when the system has no HTML Help.
HtmlHelpFunction HtmlHelpEntry() {
  static HtmlHelpFunction entry = [] {
    HMODULE library = LoadLibraryA("hhctrl.ocx");
    // GetProcAddress returns a generic pointer; cast through void* to the real signature.
    FARPROC address = library ? GetProcAddress(library, "HtmlHelpA") : nullptr;
    return reinterpret_cast<HtmlHelpFunction>(reinterpret_cast<void*>(address));
  }();
  return entry;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string WinHelpPath() { return ProgramFolder() + kWinHelpFile; }
std::string HtmlHelpPath() { return ProgramFolder() + kHtmlHelpFile; }
bool UseWinHelp() { return FileExists(WinHelpPath()); }

// Shows the help window for one HtmlHelpA request on the help file (with
// "::/page" after it, a page in it); false, after telling the user which file
// could not be opened, when no window came up.
bool AskHtmlHelp(HWND owner, const std::string& page, UINT command, DWORD_PTR data) {
  UINT reason = IDS_HELP_MISSING;
  if (FileExists(HtmlHelpPath())) {
    HtmlHelpFunction htmlHelp = HtmlHelpEntry();
    if (htmlHelp && htmlHelp(owner, (HtmlHelpPath() + page).c_str(), command, data)) return true;
    reason = htmlHelp ? IDS_HELP_REFUSED : IDS_HELP_NO_VIEWER;
  }
  char text[512] = "";
  FormatStringId(text, sizeof text, g_instance, IDS_HELP_UNAVAILABLE, HtmlHelpPath().c_str(),
                 LoadStringText(g_instance, reason).c_str());
  MessageBoxA(owner, text, kAppName, MB_OK | MB_ICONEXCLAMATION);
  return false;
}

// The context menu of a control with help: "What's This?" at the point the
// message gives (the control's centre when the keyboard asked); true when chosen.
bool WhatsThisChosen(HWND control, LPARAM at) {
  POINT point = {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
  if (point.x == -1 && point.y == -1) {
    RECT r;
    GetWindowRect(control, &r);
    point = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_STRING, 1, LoadStringText(g_instance, IDS_HELP_WHATS_THIS).c_str());
  int chosen = TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON, point.x, point.y, 0, control, nullptr);
  DestroyMenu(menu);
  return chosen == 1;
}

// The context id that helpIds gives control; its window's (the last) when it has none.
DWORD ControlTopic(HWND control, const DWORD* helpIds) {
  const DWORD id = static_cast<DWORD>(GetDlgCtrlID(control));
  const DWORD* pair = helpIds;
  for (; pair[0] != 0; pair += 2)
    if (pair[0] == id) return pair[1];
  return pair[1];
}

}  // namespace

std::string ProgramFolder() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, length < MAX_PATH ? length : 0);
  std::size_t slash = folder.rfind('\\');
  folder.resize(slash == std::string::npos ? 0 : slash + 1);
  return folder;
}

bool ShowHelpContents(HWND owner, const char* page) {
  if (UseWinHelp()) return WinHelpA(owner, WinHelpPath().c_str(), HELP_FINDER, 0) != FALSE;
  return AskHtmlHelp(owner, std::string("::/") + page, HH_DISPLAY_TOC, 0);
}

bool ShowHelpTopic(HWND owner, DWORD contextId) {
  if (UseWinHelp()) return WinHelpA(owner, WinHelpPath().c_str(), HELP_CONTEXT, contextId) != FALSE;
  // The page comes from our own table: the help compiler keeps one context id per page only.
  const char* page = HelpTopicPage(contextId);
  return AskHtmlHelp(owner, page ? std::string("::/") + page : std::string(), page ? HH_DISPLAY_TOPIC : HH_DISPLAY_TOC, 0);
}

bool HandleControlHelp(UINT message, WPARAM wParam, LPARAM lParam, const DWORD* helpIds) {
  HWND control = nullptr;
  if (message == WM_HELP) {
    auto* info = reinterpret_cast<HELPINFO*>(lParam);
    if (info->iContextType != HELPINFO_WINDOW) return true;
    control = static_cast<HWND>(info->hItemHandle);
  } else if (message == WM_CONTEXTMENU) {
    control = reinterpret_cast<HWND>(wParam);
  } else {
    return false;
  }
  if (UseWinHelp()) {
    auto ids = reinterpret_cast<ULONG_PTR>(const_cast<DWORD*>(helpIds));
    WinHelpA(control, WinHelpPath().c_str(), message == WM_HELP ? HELP_WM_HELP : HELP_CONTEXTMENU, ids);
    return true;
  }
  // HTML Help pop-ups need a text file of their own: the control's paragraph opens
  // in the help window instead, at once for F1, after "What's This?" for the menu.
  DWORD topic = ControlTopic(control, helpIds);
  if (topic && (message == WM_HELP || WhatsThisChosen(control, lParam)))
    ShowHelpTopic(GetAncestor(control, GA_ROOT), topic);
  return true;
}

void CloseHelp() {
  if (GetModuleHandleA("hhctrl.ocx"))
    if (HtmlHelpFunction htmlHelp = HtmlHelpEntry()) htmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
}
