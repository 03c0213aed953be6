#include "ui/ui_utils_win.h"

#include <windows.h>
#include <commctrl.h>

#include <cstdarg>
#include <cstdio>

#include "imagefile/image_errors.h"
#include "resources/resource_ids.h"
#include "ui/path_utils.h"
#include "ui/shell_state_win.h"
#include "ui/window_geometry.h"

namespace {

constexpr int kTextChars = 256;
constexpr int kCaptionChars = 80;

// The virtual screen where the system knows several monitors, else the screen.
// Whether it does is asked once per process.
SIZE ScreenSize() {
  static const bool multiMonitor = GetSystemMetrics(SM_CMONITORS) != 0;
  if (multiMonitor)
    return {GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)};
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

bool ToolbarButtonRect(HWND toolbar, int command, RECT* rect) {
  return SendMessageA(toolbar, TB_GETRECT, command, reinterpret_cast<LPARAM>(rect)) != 0;
}

}  // namespace

std::string LoadStringText(HINSTANCE instance, UINT id, int maxChars) {
  std::string text(maxChars + 1, '\0');
  int length = LoadStringA(instance, id, &text[0], maxChars + 1);
  text.resize(length > 0 ? length : 0);
  return text;
}

int MessageFromString(HINSTANCE instance, HWND owner, UINT textId, const char* caption, UINT style) {
  return MessageBoxA(owner, LoadStringText(instance, textId, kTextChars).c_str(), caption, style);
}

int MessageWithCaptionId(HINSTANCE instance, HWND owner, const char* text, UINT captionId, UINT style) {
  return MessageBoxA(owner, text, LoadStringText(instance, captionId, kTextChars).c_str(), style);
}

int MessageFromStrings(HINSTANCE instance, HWND owner, UINT textId, UINT captionId, UINT style) {
  return MessageBoxA(owner, LoadStringText(instance, textId, kTextChars).c_str(),
                     LoadStringText(instance, captionId, kCaptionChars).c_str(), style);
}

bool SystemErrorBox(HWND owner, const char* caption) {
  DWORD error = GetLastError();
  char* text = nullptr;
  DWORD length = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0,
      nullptr);
  if (length == 0 || !text) return false;
  MessageBoxA(owner, text, caption, MB_OK | MB_ICONINFORMATION);
  LocalFree(text);
  return true;
}

bool SystemErrorBoxId(HINSTANCE instance, HWND owner, UINT captionId) {
  DWORD error = GetLastError();  // loading the caption may change it
  std::string caption = LoadStringText(instance, captionId, kTextChars);
  SetLastError(error);
  return SystemErrorBox(owner, caption.c_str());
}

void FormatStringId(char* out, std::size_t size, HINSTANCE instance, UINT formatId, ...) {
  std::string format = LoadStringText(instance, formatId, kTextChars);
  if (format.empty() || size == 0) return;
  va_list args;
  va_start(args, formatId);
  std::vsnprintf(out, size, format.c_str(), args);
  va_end(args);
}

std::string CannotOpenImageText(HINSTANCE instance, const std::string& path, int imageError) {
  char text[MAX_PATH + kTextChars] = "";
  FormatStringId(text, sizeof text, instance, IDS_CANNOT_OPEN_IMAGE, path.c_str());
  return std::string(text) + "\n" + LoadStringText(instance, imagefile::errorTextId(imageError)) + ".";
}

int CannotOpenImageBox(HINSTANCE instance, HWND owner, const std::string& path, int imageError) {
  return MessageBoxA(owner, CannotOpenImageText(instance, path, imageError).c_str(), kAppName, MB_OK | MB_ICONWARNING);
}

void CentreWindow(HWND window, HWND owner) {
  if (!owner) owner = GetParent(window);
  if (!IsWindow(owner) || IsIconic(owner)) owner = GetDesktopWindow();
  RECT windowRect, ownerRect;
  GetWindowRect(window, &windowRect);
  GetWindowRect(owner, &ownerRect);
  SIZE screen = ScreenSize();
  PixelPoint origin = CentredOrigin(ToPixelRect(windowRect), ToPixelRect(ownerRect), screen.cx, screen.cy);
  SetWindowPos(window, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int DisplayDepth() {
  HDC screen = GetDC(nullptr);
  if (!screen) return 0;
  int bits = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  if (bits == 15) return 16;
  return bits > 24 ? 24 : bits;
}

DWORD PlatformId() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  return GetVersionExA(&info) ? info.dwPlatformId : 0;
}

void MoveCursorToToolbarButton(HWND toolbar, int command) {
  RECT r;
  if (!ToolbarButtonRect(toolbar, command, &r)) return;
  POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  ClientToScreen(toolbar, &centre);
  SetCursorPos(centre.x, centre.y);
}

bool CursorOnToolbarButton(HWND toolbar, int command) {
  RECT r;
  POINT cursor;
  if (!ToolbarButtonRect(toolbar, command, &r) || !GetCursorPos(&cursor)) return false;
  ScreenToClient(toolbar, &cursor);
  return PtInRect(&r, cursor) != 0;
}

std::string LocaleDecimalSeparator() {
  char separator[8] = ".";
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) == 0)
    return ".";
  return separator;
}

double LocaleNumber(const char* text) { return ParseLocaleNumber(text ? text : "", LocaleDecimalSeparator()); }

void FormatFileTime(const FILETIME& time, char* out, int size, bool withTime) {
  SYSTEMTIME st;
  if (size <= 0 || !FileTimeToSystemTime(&time, &st)) return;
  int length = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, out, size);
  if (length == 0) {
    out[0] = '\0';
    return;
  }
  if (!withTime || length + 1 >= size) return;
  // length counts the date's terminating zero, where the blank goes.
  out[length - 1] = ' ';
  if (GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &st, nullptr, out + length, size - length) == 0)
    out[length - 1] = '\0';
}
