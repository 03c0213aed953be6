// A picture of the browse window on the sample disc for a person to look at:
// build/screenshots/browse.png.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/browse/browse_test_support.h"
#include "tests/support/png_file.h"
#include "tests/support/screenshot_win.h"
#include "ui/about_box_win.h"
#include "ui/ui_utils_win.h"

namespace {

TEST_F(BrowseWindowTest, ScreenshotOfTheSampleDisc) {
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  SetWindowPos(window_.hwnd(), HWND_TOP, 40, 30, 790, 600, SWP_SHOWWINDOW);
  ASSERT_TRUE(RunUntil([&] { return !window_.LoaderRunning(); }, 20000));
  // Select a second photo so that the picture shows a highlighted cell too.
  LVITEMA state = {};
  state.stateMask = state.state = LVIS_SELECTED;
  SendMessageA(window_.list(), LVM_SETITEMSTATE, 8, reinterpret_cast<LPARAM>(&state));
  SetForegroundWindow(window_.hwnd());
  SetFocus(window_.list());
  RedrawWindow(window_.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RunUntil([] { return false; }, 500);
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb = CaptureWindow(window_.hwnd(), &width, &height);
  // A second picture comes from runs on a 256-colour display.
  std::string path = ScreenshotFolder() + (DisplayDepth() == 8 ? "\\browse-8bit.png" : "\\browse.png");
  ASSERT_TRUE(WritePng(path, width, height, rgb)) << path;
  std::printf("screenshot: %s\n", path.c_str());
}

HWND g_aboutBox = nullptr;
char g_aboutCaption[64] = "";

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  char className[16] = "";
  GetClassNameA(window, className, sizeof className);
  if (std::string(className) != "#32770" || !IsWindowVisible(window)) return TRUE;
  *reinterpret_cast<HWND*>(found) = window;
  return FALSE;
}

// Inside the box's modal loop: takes the picture once it is painted, then closes
// it. The box is found among this thread's windows: with other programs running
// beside the test it need not be the active window.
VOID CALLBACK CaptureAboutBox(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&g_aboutBox));
  if (!g_aboutBox) return;
  SetForegroundWindow(g_aboutBox);
  RedrawWindow(g_aboutBox, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  GetWindowTextA(g_aboutBox, g_aboutCaption, sizeof g_aboutCaption);
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb = CaptureWindow(g_aboutBox, &width, &height);
  WritePng(ScreenshotFolder() + "\\about.png", width, height, rgb);
  PostMessageA(g_aboutBox, WM_COMMAND, IDOK, 0);
}

TEST_F(BrowseWindowTest, ScreenshotOfTheAboutBox) {
  window_.SetProbedDrives('E', 'Y');
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  g_aboutBox = nullptr;
  SetTimer(nullptr, 0, 600, CaptureAboutBox);
  INT_PTR result = ShowAboutBox(window_.hwnd());
  DWORD error = GetLastError();
  ASSERT_NE(g_aboutBox, nullptr) << "result " << result << ", error " << error;
  EXPECT_EQ(result, IDOK);
  EXPECT_STREQ(g_aboutCaption, "About Lumivexa SE");
}

}  // namespace
