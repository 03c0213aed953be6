// The setup dialog between the system print dialog and the job: cancelling,
// saving, refusing impossible values, and stopping its layout thread.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "desktop/wallpaper_win.h"
#include "export/export_command_win.h"
#include "export/photo_clipboard_win.h"
#include "print/print_setup_dialog_win.h"
#include "resources/resource_ids.h"
#include "settings/settings.h"
#include "tests/print/print_test_support_win.h"
#include "tests/support/screenshot_win.h"
#include "ui/help_win.h"

namespace test_print {
namespace {

void Click(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Whether the preview shows a short centred text and no page: dark pixels
// only in its middle band, and no outline of the margins.
bool PreviewShowsOnlyText(HWND dialog) {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb = CaptureWindow(GetDlgItem(dialog, IDC_PRINT_PREVIEW), &width, &height);
  int dark = 0, outside = 0;
  for (int y = 3; y < height - 3; ++y)  // inside the client edge
    for (int x = 3; x < width - 3; ++x) {
      const std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
      if (p[0] == 255 && p[1] == 255 && p[2] == 255) continue;
      if (y > height / 3 && y < height * 2 / 3)
        ++dark;
      else
        ++outside;
    }
  return dark > 20 && outside == 0;
}

TEST_F(PrintTest, CancelledSetupPrintsNothingButKeepsSavedSettings) {
  print::PrintRequest request = Request();
  const PrintOptions before = request.options;
  PrintDialogs dialogs([](HWND setup) {
    SetDlgItemTextA(setup, IDC_PRINT_LEFT, "1.50");
    Click(setup, IDC_PRINT_SAVE);
    SetDlgItemTextA(setup, IDC_PRINT_RIGHT, "0.50");  // not saved
    PostMessageA(setup, WM_COMMAND, IDCANCEL, 0);
  });
  EXPECT_EQ(print::Print(request, {DiscPhoto(1)}), 0);
  Sleep(200);
  EXPECT_FALSE(Printed());
  EXPECT_EQ(request.options.leftMargin, 1.5f);
  EXPECT_EQ(request.options.rightMargin, before.rightMargin);
  EXPECT_EQ(request.options.captionChoice, 0);  // hidden choices are cleared
}

TEST_F(PrintTest, F1ShowsTheHelpOnPrintSetup) {
  bool shown = false;
  PrintDialogs dialogs([&](HWND setup) {
    HELPINFO info = {};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_WINDOW;
    info.hItemHandle = GetDlgItem(setup, IDC_PRINT_LEFT);
    SendMessageA(setup, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    HWND help = FindWindowA("HH Parent", nullptr);
    shown = help && IsWindowVisible(help);
    CloseHelp();
    PostMessageA(setup, WM_COMMAND, IDCANCEL, 0);
  });
  print::PrintRequest request = Request();
  EXPECT_EQ(print::Print(request, {DiscPhoto(1)}), 0);
  EXPECT_TRUE(shown);
}

TEST_F(PrintTest, ImpossibleValuesKeepTheDialogOpen) {
  print::PrintRequest request = Request();
  int stage = 0;
  DWORD since = 0;
  bool stayedOpen = false, invalidShown = false;
  PrintDialogs dialogs([&](HWND setup) {
    RepeatOnDialog(setup, [&](HWND d) {
      switch (stage) {
        case 0:  // 5 + 4 inches of margin across 8.5: nothing left to print on
          if (!Paginated(d)) return false;
          SetDlgItemTextA(d, IDC_PRINT_LEFT, "5.00");
          SetDlgItemTextA(d, IDC_PRINT_RIGHT, "4.00");
          PostMessageA(d, WM_COMMAND, IDOK, 0);
          since = GetTickCount();
          stage = 1;
          return false;
        case 1:
          if (GetTickCount() - since < 500) return false;
          stayedOpen = IsWindowVisible(d) != FALSE;
          invalidShown = PreviewShowsOnlyText(d);
          SetDlgItemTextA(d, IDC_PRINT_RIGHT, "1.00");
          CheckDlgButton(d, IDC_PRINT_GAMMA, BST_CHECKED);
          SetDlgItemTextA(d, IDC_PRINT_GAMMA_VALUE, "3.002");
          PostMessageA(d, WM_COMMAND, IDOK, 0);
          stage = 2;
          return false;
        default:  // once the range message has been answered
          if (dialogs.messages() == 0 || !IsWindowEnabled(d)) return false;
          SetDlgItemTextA(d, IDC_PRINT_GAMMA_VALUE, "3.0005");
          PostMessageA(d, WM_COMMAND, IDOK, 0);
          return true;
      }
    });
  });
  EXPECT_EQ(print::Print(request, {DiscPhoto(3)}), 1);
  EXPECT_TRUE(stayedOpen);
  EXPECT_TRUE(invalidShown);
  ASSERT_EQ(dialogs.messages(), 1);  // margins fail without one
  EXPECT_NE(dialogs.messageTexts()[0].find("between 0.10 and 3.00"), std::string::npos) << dialogs.messageTexts()[0];
  EXPECT_TRUE(Printed());
}

// Thumbnails with their numbers: 20000 of them take a while to lay out.
print::PrintRequest LongLayout(print::PrintRequest request) {
  request.options.sizeMode = print::kThumbnails;
  request.options.showPhotoNumber = 1;
  return request;
}

TEST_F(PrintTest, CancelStopsALongLayoutAtOnce) {
  print::PrintRequest request = LongLayout(Request());
  std::vector<print::PrintPhoto> photos(20000, DiscPhoto(1));
  DWORD shown = 0;
  PrintDialogs dialogs([&](HWND setup) {
    shown = GetTickCount();
    PostMessageA(setup, WM_COMMAND, IDCANCEL, 0);  // arrives just after the layout has started
  });
  EXPECT_EQ(print::Print(request, std::move(photos)), 0);
  EXPECT_LT(GetTickCount() - shown, 3000u);
  EXPECT_FALSE(Printed());
}

// What the page count showed when the dialog took the marker message posted
// after a stale finished message.
HWND g_setup = nullptr;
std::string g_countAtMarker;
LRESULT CALLBACK ReadCountAtMarker(int code, WPARAM wParam, LPARAM lParam) {
  const MSG* msg = reinterpret_cast<const MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && msg->hwnd == g_setup && msg->message == WM_NULL)
    g_countAtMarker = DialogHook::Text(GetDlgItem(g_setup, IDC_PRINT_PAGE_COUNT));
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The dialog manager's DM_SETDEFID (WM_USER + 1) and the finished message of a
// run that is no longer current leave the layout in hand running.
TEST_F(PrintTest, OnlyTheCurrentLayoutRunEndsTheLayout) {
  print::PrintRequest request = LongLayout(Request());
  std::vector<print::PrintPhoto> photos(20000, DiscPhoto(1));
  LRESULT defaultButton = 0;
  g_countAtMarker.clear();
  PrintDialogs dialogs([&](HWND setup) {
    g_setup = setup;
    SendMessageA(setup, DM_SETDEFID, IDC_PRINT_SAVE, 0);
    defaultButton = SendMessageA(setup, DM_GETDEFID, 0, 0);
    // Queued behind the message that starts the layout: taken while it runs.
    PostMessageA(setup, print::kPaginationFinishedMessage, 0, 0);  // no run has generation 0
    PostMessageA(setup, WM_NULL, 0, 0);
    RepeatOnDialog(setup, [](HWND d) {
      if (!Paginated(d)) return false;
      PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
      return true;
    });
  });
  HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, ReadCountAtMarker, nullptr, GetCurrentThreadId());
  EXPECT_EQ(print::Print(request, std::move(photos)), 0);
  UnhookWindowsHookEx(hook);
  EXPECT_EQ(MAKELRESULT(IDC_PRINT_SAVE, DC_HASDEFID), defaultButton);
  EXPECT_EQ("?", g_countAtMarker);
}

// Print, Export, Copy or wallpaper from another window while one print's
// dialogs are up: each refused with the same word, and the first print's end
// keeps print settings saved meanwhile.
TEST_F(PrintTest, AnotherPrintExportCopyOrWallpaperWhileOnePrintRunsIsRefused) {
  const PrintOptions before = g_settings.PrintOptions;
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  const std::string photo = DiscPhoto(2).path;
  const std::function<bool(HWND)> others[] = {
      [&](HWND) { return print::PrintPhotos(instance, nullptr, {DiscPhoto(2)}) != 0; },
      [&](HWND) { return imagefile::ExportPhotos(instance, nullptr, {photo}, imaging::kNoTurn) != 0; },
      [&](HWND d) { return !imagefile::CopyPhotoAtLevel(instance, d, photo, 3, imaging::kNoTurn) ||
                           IsClipboardFormatAvailable(CF_DIB); },
      [&](HWND) { return SetPhotoAsWallpaper(instance, nullptr, photo, false, imaging::kNoTurn); },
  };
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
  int ran = 0, setups = 0;
  bool nestedDone = false;
  PrintDialogs dialogs([&](HWND setup) {
    if (++setups > 1) return DialogHook::Press(setup, IDCANCEL);  // a second setup: the fault
    RepeatOnDialog(setup, [&](HWND d) {
      if (!nestedDone) {
        nestedDone = true;
        for (const auto& other : others) ran += other(d);
        g_settings.PrintOptions.leftMargin = 2.5f;  // saved elsewhere meanwhile
        return false;
      }
      PostMessageA(d, WM_COMMAND, IDCANCEL, 0);
      return true;
    });
  });
  EXPECT_EQ(print::PrintPhotos(instance, nullptr, {DiscPhoto(1)}), 0);
  EXPECT_EQ(0, ran);
  EXPECT_EQ(1, dialogs.printDialogs());
  const std::string refused = "Another export, print, copy or wallpaper is in progress. Start this one when it has finished.";
  EXPECT_EQ(std::vector<std::string>(std::size(others), refused), dialogs.messageTexts());
  EXPECT_EQ(2.5f, g_settings.PrintOptions.leftMargin);
  g_settings.PrintOptions = before;
}

}  // namespace
}  // namespace test_print
