// Starts the real LumivexaSE.exe (built beside this program) and checks how it starts and ends.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "browse/browse_window.h"
#include "photocd/pcd_text_win.h"
#include "tests/support/folder_copy.h"

namespace {

constexpr DWORD kWaitMs = 15000;

std::string AppPath() {
  char path[MAX_PATH];
  DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, length);
  return dir.substr(0, dir.find_last_of("\\/") + 1) + "LumivexaSE.exe";
}

// One started copy of the program; terminated if still running at the end of a test.
class AppProcess {
 public:
  explicit AppProcess(WORD showCommand = SW_SHOWNORMAL, const std::string& argument = std::string()) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = showCommand;
    std::string commandLine = "\"" + AppPath() + "\"";
    if (!argument.empty()) commandLine += " \"" + argument + "\"";
    std::wstring wide = Utf16(commandLine);
    started_ = CreateProcessW(nullptr, &wide[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info_);
  }
  ~AppProcess() {
    if (!started_) return;
    if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info_.hProcess, 99);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
  }
  bool started() const { return started_; }
  DWORD id() const { return info_.dwProcessId; }

  // The exit code, or STILL_ACTIVE when the process has not ended within ms.
  DWORD WaitForExit(DWORD ms) {
    WaitForSingleObject(info_.hProcess, ms);
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
  }

 private:
  BOOL started_ = FALSE;
  PROCESS_INFORMATION info_ = {};
};

BOOL CALLBACK CollectBrowseWindow(HWND hwnd, LPARAM list) {
  wchar_t name[64];
  if (GetClassNameW(hwnd, name, 64) && !wcscmp(name, kBrowseWindowClass))
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
  return TRUE;
}

std::vector<HWND> BrowseWindows() {
  std::vector<HWND> found;
  EnumWindows(CollectBrowseWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

// The visible browse window of the given process, or null after kWaitMs.
HWND WaitForBrowseWindow(const AppProcess& app) {
  for (DWORD start = GetTickCount(); GetTickCount() - start < kWaitMs; Sleep(20)) {
    for (HWND hwnd : BrowseWindows()) {
      DWORD owner = 0;
      GetWindowThreadProcessId(hwnd, &owner);
      if (owner == app.id() && IsWindowVisible(hwnd)) return hwnd;
    }
  }
  return nullptr;
}

TEST(AppProcess, SecondCopyExitsWithMinusOneWhileFirstRuns) {
  ASSERT_TRUE(BrowseWindows().empty()) << "a browse window is already open";
  AppProcess first;
  ASSERT_TRUE(first.started()) << AppPath();
  HWND window = WaitForBrowseWindow(first);
  ASSERT_NE(window, nullptr);
  char title[64] = {};
  GetWindowTextA(window, title, sizeof title);
  EXPECT_STREQ(title, "Lumivexa SE");
  EXPECT_FALSE(IsIconic(window));  // show command 1 acts as the default show command

  AppProcess second;
  ASSERT_TRUE(second.started());
  EXPECT_EQ(second.WaitForExit(kWaitMs), 0xFFFFFFFFu);
  EXPECT_EQ(BrowseWindows().size(), 1u);
  EXPECT_EQ(first.WaitForExit(0), static_cast<DWORD>(STILL_ACTIVE));

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(first.WaitForExit(kWaitMs), 1u);
  EXPECT_TRUE(BrowseWindows().empty());
}

// A second start naming a disc image hands it to the running program, which
// opens it and says so in its title, and ends without a complaint.
TEST(AppProcess, ASecondStartWithADiscImageHandsItToTheRunningProgram) {
  const std::string bin = AppPath().substr(0, AppPath().find_last_of('\\'));
  const std::string build = bin.substr(0, bin.find_last_of('\\', bin.find_last_of('\\') - 1));
  const std::string cue = build + "\\sample-disc.cue";
  if (GetFileAttributesA(cue.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no sample disc image " << cue;
  ASSERT_TRUE(BrowseWindows().empty()) << "a browse window is already open";
  AppProcess first;
  HWND window = WaitForBrowseWindow(first);
  ASSERT_NE(window, nullptr);

  AppProcess second(SW_SHOWNORMAL, cue);
  ASSERT_TRUE(second.started());
  EXPECT_EQ(second.WaitForExit(kWaitMs), 0u);
  char title[MAX_PATH] = {};
  for (DWORD start = GetTickCount(); GetTickCount() - start < kWaitMs; Sleep(20)) {
    GetWindowTextA(window, title, sizeof title);
    if (std::string(title) != "Lumivexa SE") break;
  }
  EXPECT_STREQ(title, "Lumivexa SE - sample-disc.cue");
  EXPECT_EQ(BrowseWindows().size(), 1u);

  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(first.WaitForExit(kWaitMs), 1u);
}

// Names beyond the ANSI code page reach the program whole: a folder named on
// the command line, then a disc image handed over by a second start.
TEST(AppProcess, NamesBeyondTheAnsiCodePageOpenFromTheCommandLineAndASecondStart) {
  namespace fs = std::filesystem;
  const std::string bin = AppPath().substr(0, AppPath().find_last_of('\\'));
  const std::string build = bin.substr(0, bin.find_last_of('\\', bin.find_last_of('\\') - 1));
  const fs::path folder = fs::u8path(build + u8"\\写真 фото");
  const fs::path image = fs::u8path(build + u8"\\写真 фото.iso");
  std::error_code ignored;
  fs::remove_all(folder, ignored);
  fs::remove(image, ignored);
  if (!CopyFolder("D:\\PHOTO_CD", folder / "PHOTO_CD") || !fs::copy_file(fs::u8path(build + "\\sample-disc.iso"), image, ignored))
    GTEST_SKIP() << "no sample disc or its image";
  ASSERT_TRUE(BrowseWindows().empty()) << "a browse window is already open";

  struct Start {
    const char* entry;
    std::string path, title;
    DWORD exitCode;  // the second start ends at once
  };
  const Start starts[] = {
      {"command line", folder.u8string(), "Lumivexa SE - " + folder.u8string(), STILL_ACTIVE},
      {"hand-over", image.u8string(), u8"Lumivexa SE - 写真 фото.iso", 0},
  };
  std::vector<std::unique_ptr<AppProcess>> apps;
  HWND window = nullptr;
  for (const Start& start : starts) {
    apps.push_back(std::make_unique<AppProcess>(SW_SHOWNORMAL, start.path));
    if (!window) window = WaitForBrowseWindow(*apps.front());
    ASSERT_NE(window, nullptr) << start.entry;
    EXPECT_EQ(apps.back()->WaitForExit(start.exitCode == 0 ? kWaitMs : 0), start.exitCode) << start.entry;
    std::string title;
    for (DWORD begin = GetTickCount(); GetTickCount() - begin < kWaitMs && title != start.title; Sleep(20)) {
      wchar_t text[MAX_PATH] = {};
      GetWindowTextW(window, text, MAX_PATH);
      title = Utf8(text);
    }
    EXPECT_EQ(title, start.title) << start.entry;
  }
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(apps.front()->WaitForExit(kWaitMs), 1u);
  fs::remove_all(folder, ignored);
  fs::remove(image, ignored);
}

TEST(AppProcess, OtherShowCommandsArePassedOn) {
  AppProcess app(SW_SHOWMINNOACTIVE);
  ASSERT_TRUE(app.started());
  HWND window = WaitForBrowseWindow(app);
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(IsIconic(window));
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(app.WaitForExit(kWaitMs), 1u);
}

}  // namespace
