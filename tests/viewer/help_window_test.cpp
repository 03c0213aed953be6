// Help under Wine: F1 in the browse window and in a viewer, the Export dialog's
// Help button and F1 on the controls of Export, Options and the photo properties
// all bring up the HTML
// Help window on the help file beside the program, although the disc's folder is
// the current one.
#include "tests/viewer/viewer_test_support.h"

#include <prsht.h>

#include "resources/command_ids.h"
#include "resources/resource_ids.h"
#include "tests/support/screenshot_win.h"
#include "tests/support/timed_script_win.h"
#include "ui/help_win.h"

namespace {

HWND HelpWindow() { return FindWindowA("HH Parent", nullptr); }

// F1 on a dialog's control, as the dialog manager reports it.
void PressF1On(HWND control) {
  HELPINFO info = {};
  info.cbSize = sizeof info;
  info.iContextType = HELPINFO_WINDOW;
  info.iCtrlId = GetDlgCtrlID(control);
  info.hItemHandle = control;
  SendMessageA(GetParent(control), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
}

// A script step that waits for the help window, then closes it.
TimedScript::Step HelpCameUp(bool* shown) {
  return [shown] {
    HWND help = HelpWindow();
    if (!help || !IsWindowVisible(help)) return false;
    *shown = true;
    CloseHelp();
    return true;
  };
}

class HelpTest : public ViewerTest {
 protected:
  void TearDown() override {
    CloseHelp();
    ViewerTest::TearDown();
  }
  bool HelpShows() {
    return RunUntil([] { return HelpWindow() && IsWindowVisible(HelpWindow()); }, 10000);
  }
  // Opens the property sheet with the caption by the browse window's command and
  // presses F1 on control of its first page, or of the sheet itself; true when
  // the help came up.
  bool F1OnSheetShowsHelp(const char* caption, int control, UINT command, bool onSheet = false) {
    bool shown = false;
    HWND sheet = nullptr;
    TimedScript script({
        [&] {
          sheet = TimedScript::FindDialog(caption);
          if (sheet) PressF1On(GetDlgItem(onSheet ? sheet : PropSheet_GetCurrentPageHwnd(sheet), control));
          return sheet != nullptr;
        },
        HelpCameUp(&shown),
        [&] {
          PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
          return true;
        },
    });
    SendMessageA(window_.hwnd(), WM_COMMAND, command, 0);
    return script.finished() && shown;
  }
};

TEST_F(HelpTest, F1InTheBrowseWindowAndInAViewerShowsTheHelp) {
  // Opening the disc does not make its folder the current one (a disc folder
  // holds the user's files on a copied disc); help is found beside the
  // program even when something else made it current.
  char current[MAX_PATH] = "";
  GetCurrentDirectoryA(MAX_PATH, current);
  EXPECT_NE(toupper(current[0]), 'D');
  ASSERT_TRUE(SetCurrentDirectoryA("D:\\PHOTO_CD"));
  ASSERT_EQ(HelpWindow(), nullptr);

  PostMessageA(window_.list(), WM_KEYDOWN, VK_F1, 1);
  ASSERT_TRUE(HelpShows());
  RunUntil([] { return false; }, 300);
  SaveScreenshot(HelpWindow(), "help");
  CloseHelp();
  EXPECT_EQ(HelpWindow(), nullptr);

  viewer::ViewerWindow* v = OpenDecoded(0, 3);
  ASSERT_NE(v, nullptr);
  Key(v, VK_F1);
  EXPECT_TRUE(HelpShows());
  SetCurrentDirectoryA(current);
}

TEST_F(HelpTest, ExportsHelpButtonF1AndWhatsThisOnItsFolderShowTheHelp) {
  bool byButton = false, byF1 = false, byMenu = false, onButton = false;
  HWND dialog = nullptr;
  TimedScript script({
      [&] {
        dialog = TimedScript::FindDialog("Export");
        if (dialog) PostMessageA(dialog, WM_COMMAND, IDHELP, 0);
        return dialog != nullptr;
      },
      HelpCameUp(&byButton),
      [&] {
        PressF1On(GetDlgItem(dialog, IDC_EXPORT_FOLDER));
        return true;
      },
      HelpCameUp(&byF1),
      [&] {  // right-click on the folder: "What's This?"
        HWND folder = GetDlgItem(dialog, IDC_EXPORT_FOLDER);
        PostMessageA(dialog, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(folder), -1);
        return true;
      },
      [&] {
        HWND menu = FindWindowA("#32768", nullptr);
        if (!menu || !IsWindowVisible(menu)) return false;
        PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
        return true;
      },
      HelpCameUp(&byMenu),
      [&] {  // OK has no topic of its own: the dialog's
        PressF1On(GetDlgItem(dialog, IDOK));
        return true;
      },
      HelpCameUp(&onButton),
      [&] {
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return true;
      },
  });
  Focus(0);
  SendMessageA(window_.hwnd(), WM_COMMAND, CMD_EXPORT, 0);
  EXPECT_TRUE(script.finished());
  EXPECT_TRUE(byButton);
  EXPECT_TRUE(byF1);
  EXPECT_TRUE(byMenu);
  EXPECT_TRUE(onButton);
}

TEST_F(HelpTest, F1OnTheControlsOfOptionsAndPhotoPropertiesAndOnTheSheetsButtonsShowsTheHelp) {
  EXPECT_TRUE(F1OnSheetShowsHelp("Lumivexa Options", IDC_OPT_RESOLUTION, CMD_OPTIONS));
  EXPECT_TRUE(F1OnSheetShowsHelp("Lumivexa Options", IDCANCEL, CMD_OPTIONS, true));
  Focus(0);
  EXPECT_TRUE(F1OnSheetShowsHelp("Photo properties", IDC_PROP_NUMBER, CMD_PROPERTIES));
}

}  // namespace
