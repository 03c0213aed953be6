// Print from a viewer: the photo on show goes to the printer turned as the
// viewer shows it, and the slide show stops.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "export/export_plan.h"
#include "resources/command_ids.h"
#include "resources/resource_ids.h"
#include "tests/support/dialog_hook_win.h"
#include "tests/support/screenshot_win.h"
#include "tests/support/unique_temp.h"

#include "tests/print/print_test_support_win.h"
#include "tests/viewer/viewer_test_support.h"

namespace test_print {
namespace {

TEST_F(ViewerTest, PrintFromATurnedViewerPrintsThePhotoAsShown) {
  const std::string output = PrepareTestPrinter();
  ASSERT_FALSE(output.empty());
  g_settings.SSDelayMS = 600000;
  viewer::ViewerWindow* v = OpenDecoded(0, 3);  // photo 1, landscape, at BASE
  ASSERT_NE(v, nullptr);
  Key(v, VK_OEM_COMMA);  // a quarter turn left: 512 x 768
  Key(v, 'S', true);
  ASSERT_TRUE(v->slideShowRunning());

  PrintDialogs dialogs([](HWND setup) { PostMessageA(setup, WM_COMMAND, IDOK, 0); });
  Key(v, 'P', true);
  EXPECT_EQ(dialogs.printDialogs(), 1);
  EXPECT_EQ(dialogs.messages(), 0);
  EXPECT_FALSE(v->slideShowRunning());
  EXPECT_EQ(v->current(), 0);

  constexpr int kDpi = 50;
  RenderedJob job = RenderPostScript(output, kDpi);
  ASSERT_TRUE(job.error.empty()) << job.error;
  ASSERT_EQ(job.pages.size(), 1u);
  // Fitted inside the default 1-inch margins, standing upright as shown.
  HDC dc = CreateDCA(nullptr, kPrinterName, nullptr, nullptr);
  const int ppi = GetDeviceCaps(dc, LOGPIXELSX);
  const double fit =
      std::min((GetDeviceCaps(dc, HORZRES) - 2.0 * ppi) / 512, (GetDeviceCaps(dc, VERTRES) - 2.0 * ppi) / 768);
  DeleteDC(dc);
  const Box got = InkedBox(job.pages[0]);
  EXPECT_NEAR(got.right - got.left, 512 * fit * kDpi / ppi, 2);
  EXPECT_NEAR(got.bottom - got.top, 768 * fit * kDpi / ppi, 2);
  const std::string path = "D:\\PHOTO_CD\\IMAGES\\IMG0001.PCD";
  const double shown = DifferenceFromPhoto(job.pages[0], got, path, imaging::kTurnLeft);
  EXPECT_LT(shown, 20.0);
  EXPECT_GT(DifferenceFromPhoto(job.pages[0], got, path, imaging::kTurnRight), 2 * shown);  // not turned the other way
}

// From inside a viewer's dialog: Exit, closing the browse window and closing
// the viewer (each refusal box answered, the first pictured), then the dialog
// answered as a user would.
HWND g_browse = nullptr, g_viewer = nullptr, g_dialog = nullptr, g_refusal = nullptr;
int g_answer = IDCANCEL;
VOID CALLBACK PictureThenOk(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  EXPECT_TRUE(SaveScreenshot(g_refusal, "refused-while-running"));
  DialogHook::Press(g_refusal, IDOK);
}
VOID CALLBACK TryToCloseEverything(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  SendMessageA(g_browse, WM_COMMAND, CMD_EXIT, 0);
  SendMessageA(g_browse, WM_CLOSE, 0, 0);
  SendMessageA(g_viewer, WM_CLOSE, 0, 0);
  DialogHook::Press(g_dialog, g_answer);
}

// While a viewer's Export dialog, its replace question, its print setup or its
// "Copy failed." is up, Exit and closing either window are refused with a
// word: no dialog ends as if confirmed (no quit, nothing written) and both
// windows stay.
TEST_F(ViewerTest, ExitAndClosingWaitForAViewersDialogs) {
  ASSERT_FALSE(PrepareTestPrinter().empty());
  viewer::ViewerWindow* v = OpenDecoded(0, 2);
  ASSERT_NE(v, nullptr);
  g_browse = window_.hwnd();
  g_viewer = v->Frame();
  const std::string folder = test_support::UniqueTempPath("out");
  CreateDirectoryA(folder.c_str(), nullptr);
  std::fclose(std::fopen((folder + "\\IMG0001.bmp").c_str(), "wb"));  // for the replace question
  struct Route {
    int command;
    int stopAt;  // a control of the dialog to try the closes in
    int answer;
  };
  const Route routes[] = {{CMD_VIEWER_EXPORT, IDC_EXPORT_FOLDER, IDCANCEL},
                          {CMD_VIEWER_EXPORT, IDC_REPLACE_ALL, IDNO},
                          {CMD_PRINT, IDC_PRINT_SIZE_MODE, IDCANCEL},
                          {CMD_COPY, 0xFFFF, IDOK}};  // "Copy failed."
  // Copy fails on a photo whose pack was spoilt after it was shown.
  const std::string spoilt = folder + "\\SPOILT.PCD";
  ASSERT_TRUE(CopyFileA("D:\\PHOTO_CD\\IMAGES\\IMG0001.PCD", spoilt.c_str(), FALSE));
  for (const Route& route : routes) {
    if (route.command == CMD_COPY) {
      ASSERT_TRUE(v->Open({ViewerPhoto{0, spoilt}}, 0));
      ASSERT_TRUE(Decoded(v));
      FILE* emptied = std::fopen(spoilt.c_str(), "wb");
      ASSERT_NE(emptied, nullptr);
      std::fclose(emptied);
    }
    std::vector<std::string> messages;
    DialogHook hook([&](HWND d) {
      if (GetDlgItem(d, IDC_PROGRESS_BAR)) return;
      const bool copyFailed = DialogHook::MessageText(d) == "Copy failed.";
      if (GetDlgItem(d, 0xFFFF) && !copyFailed) {
        messages.push_back(DialogHook::MessageText(d));
        if (&route != routes || messages.size() > 1) return DialogHook::Press(d, IDOK);
        g_refusal = d;
        SetTimer(nullptr, 0, 100, PictureThenOk);
      } else if (route.stopAt == 0xFFFF ? copyFailed : GetDlgItem(d, route.stopAt) != nullptr) {
        g_dialog = d;
        g_answer = route.answer;
        SetTimer(nullptr, 0, 100, TryToCloseEverything);
      } else {
        // The Export dialog on the way to the question, or the system print dialog.
        if (GetDlgItem(d, IDC_EXPORT_FOLDER)) {
          SendDlgItemMessageA(d, IDC_EXPORT_FORMAT, CB_SETCURSEL, imagefile::ExportFormatRow(imagefile::kFormatBmp), 0);
          SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_EXPORT_FORMAT, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_EXPORT_FORMAT)));
          SetDlgItemTextA(d, IDC_EXPORT_FOLDER, folder.c_str());
        }
        DialogHook::Press(d, IDOK);
      }
    });
    SendMessageA(v->Frame(), WM_COMMAND, route.command, 0);
    const std::string refused = "A command is still in progress. Let it finish or cancel it first.";
    EXPECT_EQ(std::vector<std::string>(3, refused), messages) << route.command << " " << route.stopAt;
    MSG quit;
    EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    Pump();
    ASSERT_EQ(window_.ViewerCount(), 1u);
    EXPECT_TRUE(IsWindow(window_.hwnd()));
  }
  EXPECT_EQ(GetFileAttributesA("D:\\PHOTO_CD\\IMG0001.jpg"), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
}  // namespace test_print
