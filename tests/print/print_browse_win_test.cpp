// Print all from the browse window: every photo of the sample disc as a
// thumbnail with its number on one page, and a picture of the setup dialog.
#include <gtest/gtest.h>

#include <cstring>

#include "resources/command_ids.h"
#include "tests/browse/browse_test_support.h"
#include "tests/support/png_file.h"
#include "tests/print/print_test_support_win.h"
#include "tests/support/screenshot_win.h"

namespace test_print {
namespace {

TEST_F(BrowseWindowTest, PrintAllPutsTheDiscsThumbnailsOnOnePage) {
  const std::string output = PrepareTestPrinter();
  ASSERT_FALSE(output.empty());
  g_settings.PrintOptions.sizeMode = print::kThumbnails;
  g_settings.PrintOptions.position = 0;
  g_settings.PrintOptions.showPhotoNumber = 1;
  const PrintOptions before = g_settings.PrintOptions;
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  ASSERT_TRUE(RunUntil([&] { return !window_.LoaderRunning(); }, 20000));
  const int photos = static_cast<int>(window_.photos().Count());
  ASSERT_EQ(photos, 24);

  std::string pageCount;
  PrintDialogs dialogs([&](HWND setup) {
    RepeatOnDialog(setup, [&](HWND d) {
      if (!Paginated(d)) return false;
      char text[16] = "";
      GetDlgItemTextA(d, IDC_PRINT_PAGE_COUNT, text, sizeof text);
      pageCount = text;
      RedrawWindow(d, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
      int width = 0, height = 0;
      std::vector<std::uint8_t> rgb = CaptureWindow(d, &width, &height);
      WritePng(ScreenshotFolder() + "\\print-setup.png", width, height, rgb);
      PostMessageA(d, WM_COMMAND, IDOK, 0);
      return true;
    });
  });
  LVITEMA none = {};
  none.stateMask = LVIS_SELECTED;
  SendMessageA(window_.list(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
  SendMessageA(window_.hwnd(), WM_COMMAND, CMD_PRINT, 0);  // nothing selected: nothing happens
  EXPECT_EQ(dialogs.printDialogs(), 0);
  SendMessageA(window_.hwnd(), WM_COMMAND, CMD_PRINT_ALL, 0);
  EXPECT_EQ(dialogs.printDialogs(), 1);
  EXPECT_EQ(pageCount, "1");
  EXPECT_EQ(std::memcmp(&g_settings.PrintOptions, &before, sizeof before), 0);

  constexpr int kDpi = 50;
  RenderedJob job = RenderPostScript(output, kDpi);
  ASSERT_TRUE(job.error.empty()) << job.error;
  ASSERT_EQ(job.pages.size(), 1u);
  for (int n : {1, 9, 24}) EXPECT_NE(job.text.find("#" + std::to_string(n)), std::string::npos) << job.text;

  // One-inch cells from the top left margin corner, 5 % apart, rows two lines
  // of 8-point text further apart; each photo fills the lower part of its cell.
  HDC dc = CreateDCA(nullptr, kPrinterName, nullptr, nullptr);
  const int ppi = GetDeviceCaps(dc, LOGPIXELSX), pageWidth = GetDeviceCaps(dc, HORZRES);
  const int offsetX = GetDeviceCaps(dc, PHYSICALOFFSETX), offsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
  DeleteDC(dc);
  const int gap = ppi / 20, pitch = ppi + gap, rowPitch = pitch + 2 * (8 * ppi / 72);
  const int across = (pageWidth - 2 * ppi + gap) / pitch;
  const test_print::Picture& page = job.pages[0];
  for (int k = 0; k < photos; ++k) {
    int x = ppi + k % across * pitch + ppi / 2, y = ppi + k / across * rowPitch + ppi * 5 / 6;
    EXPECT_TRUE(Inked(page.at((x + offsetX) * kDpi / ppi, (y + offsetY) * kDpi / ppi))) << "photo " << k + 1;
  }
  // Below the last row the page stays white.
  const int below = ppi + (photos - 1) / across * rowPitch + rowPitch + gap;
  EXPECT_FALSE(Inked(page.at((ppi * 2 + offsetX) * kDpi / ppi, (below + offsetY) * kDpi / ppi)));
}

}  // namespace
}  // namespace test_print
