#include <windows.h>

#include <filesystem>

#include "cli/durable_file.h"
#include "photocd/pcd_text_win.h"

namespace cli {

namespace {

// In the user's language, as UTF-8 like everything the converter prints.
std::string lastErrorText() {
  wchar_t text[256] = {};
  FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, GetLastError(), 0, text,
                 sizeof text / sizeof text[0], nullptr);
  std::string reason = Utf8(text);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' || reason.back() == '.')) reason.pop_back();
  return reason;
}

}  // namespace

bool syncFile(const std::string& path, std::string& error) {
  // The converter's names are UTF-8; the wide function reaches every one.
  HANDLE file = CreateFileW(std::filesystem::u8path(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE || !FlushFileBuffers(file)) {
    error = lastErrorText();
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return false;
  }
  CloseHandle(file);
  return true;
}

// NTFS journals its folder entries; a rename needs no flush of the folder.
bool syncFolder(const std::string&, std::string&) { return true; }

unsigned long currentProcessId() { return GetCurrentProcessId(); }

bool processAlive(unsigned long processId) {
  HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return GetLastError() == ERROR_ACCESS_DENIED;  // there, but not ours to ask
  DWORD code = 0;
  const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
  CloseHandle(process);
  return running;
}

std::string machineName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  GetComputerNameW(name, &size);
  return Utf8(name);
}

}  // namespace cli
