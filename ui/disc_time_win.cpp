#include "ui/disc_time_win.h"

#include <windows.h>

#include "ui/ui_utils_win.h"

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

std::string FormatDateTime(std::uint64_t localFileTime, bool withTime) {
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(localFileTime);
  time.dwHighDateTime = static_cast<DWORD>(localFileTime >> 32);
  char text[128] = "";
  FormatFileTime(time, text, sizeof text, withTime);
  return text;
}

std::string DiscTimeText(std::uint32_t seconds) {
  return FormatDateTime(LocalEpochFileTime() + static_cast<std::uint64_t>(seconds) * 10000000u);
}
