// The program at a display scale above 100 %, run in a Wine prefix whose
// LogPixels is 144 or 192 (ctest runs it at both): every dialog shows its
// texts whole, the thumbnail cells and toolbar images grow with the scale,
// and each window leaves a picture named with its DPI in build/screenshots.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "browse_test_support.h"
#include "export/export_command_win.h"
#include "export/option_dialogs_win.h"
#include "imagefile/export_options.h"
#include "resources/command_ids.h"
#include "tests/print/print_test_support_win.h"
#include "tests/support/screenshot_win.h"
#include "tests/support/timed_script_win.h"
#include "ui/about_box_win.h"
#include "ui/dpi_win.h"
#include "ui/options_sheet_win.h"

namespace {

std::string ClassName(HWND window) {
  wchar_t name[32] = L"";
  GetClassNameW(window, name, 32);
  return Utf8(name);
}

// The texts of a dialog's labels, buttons and check boxes that do not fit
// their control in its own font.
std::vector<std::string> ClippedTexts(HWND dialog) {
  std::vector<std::string> clipped;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const std::string kind = ClassName(child);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    if (!(style & WS_VISIBLE) || (kind != "Static" && kind != "Button")) continue;
    if (kind == "Static" && (style & SS_TYPEMASK) > SS_RIGHT) continue;  // icons, pictures, frames
    const LONG buttonType = style & BS_TYPEMASK;
    if (kind == "Button" && (buttonType == BS_GROUPBOX || (style & (BS_ICON | BS_BITMAP)))) continue;
    wchar_t text[256] = L"";
    if (GetWindowTextW(child, text, 256) == 0) continue;
    RECT client;
    GetClientRect(child, &client);
    // Check boxes and radio buttons draw their box before the text.
    const bool boxed = kind == "Button" && buttonType != BS_PUSHBUTTON && buttonType != BS_DEFPUSHBUTTON;
    const int room = client.right - (boxed ? DpiScale(dialog, 18) : 0);
    const bool wraps = kind == "Static" && !(style & SS_LEFTNOWORDWRAP);
    HDC dc = GetDC(child);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0)));
    RECT needed = {0, 0, room, 0};
    DrawTextW(dc, text, -1, &needed, DT_CALCRECT | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(child, dc);
    if (needed.right > room || needed.bottom > client.bottom) clipped.push_back(Utf8(text));
  }
  return clipped;
}

// Every dialog of the program opened once, checked, pictured and cancelled.
class DisplayScaleTest : public test_print::PrintTest {
 protected:
  void SetUp() override {
    test_print::PrintTest::SetUp();
    g_instance = GetModuleHandleW(nullptr);
    g_mainIcon = LoadIconW(g_instance, MAKEINTRESOURCEW(IDI_MAIN));
    g_comctlVersion = ProbeComctlVersion();
    InitAllCommonControls();
    dpi_ = WindowDpi(nullptr);
    if (dpi_ == kBaseDpi) GTEST_SKIP() << "run in a prefix at another scale (LUMIVEXA_DPI)";
  }
  std::string Picture(const std::string& name) const { return name + "-" + std::to_string(dpi_); }

  int dpi_ = kBaseDpi;
};

TEST_F(DisplayScaleTest, EveryDialogShowsItsTextsWhole) {
  const HINSTANCE instance = g_instance;
  imagefile::JpegOptions jpeg;
  imagefile::TiffOptions tiff;
  Settings settings = g_settings;
  struct Dialog {
    const char* name;
    std::function<void()> open;
    bool sheet;  // a property sheet: its page holds the controls
  };
  const Dialog dialogs[] = {
      {"export", [&] { imagefile::ExportPhotos(instance, nullptr, {"D:\\PHOTO_CD\\IMAGES\\IMG0001.PCD"}, imaging::kNoTurn); },
       false},
      {"jpeg-options", [&] { imagefile::RunJpegOptionsDialog(instance, nullptr, &jpeg); }, false},
      {"tiff-options", [&] { imagefile::RunTiffOptionsDialog(instance, nullptr, &tiff); }, false},
      {"options", [&] { ShowOptions(settings, instance, nullptr); }, true},
      {"about", [&] { ShowAboutBox(nullptr); }, false},
  };
  // Checked and pictured once shown, from inside the dialog's own loop.
  auto checkAndCancel = [this](HWND dialog, const std::string& name, bool sheet) {
    if (!IsWindowVisible(dialog)) return false;
    HWND page = sheet ? PropSheet_GetCurrentPageHwnd(dialog) : nullptr;
    EXPECT_EQ(ClippedTexts(page ? page : dialog), std::vector<std::string>()) << name;
    SetForegroundWindow(dialog);
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    SaveScreenshot(dialog, Picture(name));
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    return true;
  };
  for (const Dialog& d : dialogs) {
    HWND shown = nullptr;
    DialogHook hook([&](HWND dialog) {
      if (!shown) shown = dialog;
    });
    TimedScript script({[&] { return shown && checkAndCancel(shown, d.name, d.sheet); }});
    d.open();
    EXPECT_TRUE(script.finished()) << d.name;
  }

  // Print setup comes after the system's print dialog.
  bool setupChecked = false;
  test_print::PrintDialogs print([&](HWND setup) {
    test_print::RepeatOnDialog(setup, [&](HWND d) {
      return test_print::Paginated(d) && (setupChecked = checkAndCancel(d, "print-setup", false));
    });
  });
  print::PrintRequest request = Request();
  print::Print(request, {DiscPhoto(1)});
  EXPECT_TRUE(setupChecked);
}

class ScaledBrowseTest : public BrowseWindowTest {};

TEST_F(ScaledBrowseTest, CellsGrowWithTheScaleAndAViewerOpens) {
  const int dpi = WindowDpi(nullptr);
  if (dpi == kBaseDpi) GTEST_SKIP() << "run in a prefix at another scale (LUMIVEXA_DPI)";
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  ASSERT_TRUE(RunUntil([&] { return !window_.LoaderRunning(); }, 30000));
  // 96 x 96 thumbnails, 8-pixel borders and gaps at 100 %.
  const LRESULT spacing = SendMessageW(window_.list(), LVM_GETITEMSPACING, FALSE, 0);
  EXPECT_EQ(LOWORD(spacing), DpiScale(dpi, 96 + 2 * 8 + 8));
  EXPECT_EQ(HIWORD(spacing), DpiScale(dpi, 96 + 2 * 8 + 8));
  // Toolbar images drawn for 150 % and 200 %.
  int iconWidth = 0, iconHeight = 0;
  ImageList_GetIconSize(reinterpret_cast<HIMAGELIST>(SendMessageW(window_.toolbar(), TB_GETIMAGELIST, 0, 0)),
                        &iconWidth, &iconHeight);
  EXPECT_EQ(iconWidth, dpi >= 192 ? 32 : 24);
  SaveScreenshot(window_.hwnd(), "browse-" + std::to_string(dpi));

  SelectOnly(window_.list(), {0});
  SendMessageW(window_.hwnd(), WM_COMMAND, CMD_VIEW, 0);
  ASSERT_EQ(window_.ViewerCount(), 1u);
  HWND viewer = window_.Viewer(0)->Frame();
  ASSERT_TRUE(RunUntil([&] { return IsWindowVisible(viewer); }, 10000));
  RunUntil([] { return false; }, 1500);
  SaveScreenshot(viewer, "viewer-" + std::to_string(dpi));
}

}  // namespace
