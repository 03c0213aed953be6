#include <windows.h>

#include "cli/durable_file.h"

namespace cli {

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
  char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
  DWORD size = sizeof name;
  GetComputerNameA(name, &size);
  return name;
}

}  // namespace cli
