#include "browse/browse_text.h"

#include <cstdio>

#include "app/shell_state.h"

std::string LoadText(UINT id) {
  char buffer[512];
  int length = LoadStringA(g_instance, id, buffer, sizeof buffer);
  return std::string(buffer, length > 0 ? length : 0);
}

int MessageFromString(HWND owner, UINT id, UINT flags) {
  return MessageBoxA(owner, LoadText(id).c_str(), kAppName, flags);
}

int MessageFromString(HWND owner, UINT id, UINT flags, int value) {
  char text[600];
  std::snprintf(text, sizeof text, LoadText(id).c_str(), value);
  return MessageBoxA(owner, text, kAppName, flags);
}

void SystemErrorMessage(HWND owner, DWORD error, UINT captionId) {
  char text[512];
  if (!FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                      sizeof text, nullptr))
    return;
  MessageBoxA(owner, text, LoadText(captionId).c_str(), MB_OK | MB_ICONSTOP);
}

int DisplayDepth() {
  HDC screen = GetDC(nullptr);
  if (!screen) return 0;
  int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  if (bits == 15) return 16;
  return bits > 24 ? 24 : bits;
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
  SYSTEMTIME parts;
  if (!FileTimeToSystemTime(&time, &parts)) return std::string();
  char date[64] = "", clock[64] = "";
  GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &parts, nullptr, date, sizeof date);
  GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &parts, nullptr, clock, sizeof clock);
  return std::string(date) + " " + clock;
}
