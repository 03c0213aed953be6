// Starts the programs of an unpacked package the way a person would and checks
// that they come up: the converter answers --version, and LumivexaSE.exe shows its
// browse window and ends cleanly when it is closed.
// Usage: dist_start_check FOLDER   (exit status 0 when both work)
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr char kBrowseWindowClass[] = "LumivexaSE-Browse";
constexpr long kQuitCode = 1;  // the program's exit status after every quit it posts itself

bool Start(const std::string& commandLine, const std::string& folder, PROCESS_INFORMATION* process) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  std::string line = commandLine;
  return CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        process) != FALSE;
}

// The exit status of a process that ends within ms, or -1.
long WaitForExit(const PROCESS_INFORMATION& process, DWORD ms) {
  DWORD status = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, ms) == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<long>(status);
}

HWND WaitForWindow(const char* windowClass, DWORD ms) {
  for (DWORD waited = 0; waited < ms; waited += 100) {
    HWND window = FindWindowA(windowClass, nullptr);
    if (window && IsWindowVisible(window)) return window;
    Sleep(100);
  }
  return nullptr;
}

bool ConverterRuns(const std::string& folder) {
  PROCESS_INFORMATION process;
  if (!Start("\"" + folder + "\\lumivexa-cli.exe\" --version", folder, &process)) {
    std::printf("FAIL: lumivexa-cli.exe does not start (error %lu)\n", GetLastError());
    return false;
  }
  long status = WaitForExit(process, 30000);
  if (status != 0) std::printf("FAIL: lumivexa-cli.exe --version ended with %ld\n", status);
  return status == 0;
}

bool ProgramComesUp(const std::string& folder) {
  PROCESS_INFORMATION process;
  if (!Start("\"" + folder + "\\LumivexaSE.exe\"", folder, &process)) {
    std::printf("FAIL: LumivexaSE.exe does not start (error %lu)\n", GetLastError());
    return false;
  }
  HWND browse = WaitForWindow(kBrowseWindowClass, 30000);
  if (!browse) {
    std::printf("FAIL: LumivexaSE.exe shows no browse window\n");
    TerminateProcess(process.hProcess, 1);
    WaitForExit(process, 5000);
    return false;
  }
  char title[128] = "";
  GetWindowTextA(browse, title, sizeof title);
  std::printf("LumivexaSE.exe shows \"%s\"\n", title);
  PostMessageA(browse, WM_CLOSE, 0, 0);
  long status = WaitForExit(process, 20000);
  if (status != kQuitCode) std::printf("FAIL: LumivexaSE.exe ended with %ld after WM_CLOSE\n", status);
  return status == kQuitCode;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::printf("usage: dist_start_check FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  bool converter = ConverterRuns(folder);
  bool program = ProgramComesUp(folder);
  std::printf("%s\n", converter && program ? "package starts" : "package FAILED");
  return converter && program ? 0 : 1;
}
