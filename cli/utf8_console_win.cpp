#include <windows.h>
#include <shellapi.h>

#include <cstdlib>

#include "cli/utf8_console.h"
#include "photocd/pcd_text_win.h"

namespace cli {

namespace {

UINT g_consoleCodePage = 0;

// The console belongs to the shell that started us: give it back its code page.
void restoreConsoleCodePage() { SetConsoleOutputCP(g_consoleCodePage); }

}  // namespace

std::vector<std::string> switchToUtf8(int argc, char** argv) {
  g_consoleCodePage = GetConsoleOutputCP();  // 0 without a console
  if (g_consoleCodePage != 0 && g_consoleCodePage != CP_UTF8 && SetConsoleOutputCP(CP_UTF8))
    std::atexit(restoreConsoleCodePage);

  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!wide) return std::vector<std::string>(argv, argv + argc);
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(Utf8(wide[i]));
  LocalFree(wide);
  return arguments;
}

}  // namespace cli
