#include "browse/browse_text.h"

#include "ui/shell_state_win.h"
#include "ui/ui_utils_win.h"

std::string LoadText(UINT id) { return LoadStringText(g_instance, id, 512); }

int MessageFromString(HWND owner, UINT id, UINT flags) {
  return MessageFromString(g_instance, owner, id, kAppName, flags);
}

std::uint64_t LocalEpochFileTime() {
  SYSTEMTIME epoch = {};
  epoch.wYear = 1970;
  epoch.wMonth = 1;
  epoch.wDay = 1;
  FILETIME utc, local;
  SystemTimeToFileTime(&epoch, &utc);
  FileTimeToLocalFileTime(&utc, &local);
  return (static_cast<std::uint64_t>(local.dwHighDateTime) << 32) | local.dwLowDateTime;
}

std::string FormatDateTime(std::uint64_t localFileTime) {
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(localFileTime);
  time.dwHighDateTime = static_cast<DWORD>(localFileTime >> 32);
  char text[128] = "";
  FormatFileTime(time, text, sizeof text, true);
  return text;
}
