// Printing end to end under Wine: the pages the PostScript printer writes,
// rendered back into pictures, show the photos where the layout puts them.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "resources/resource_ids.h"
#include "tests/support/png_file.h"
#include "tests/support/progress_hook_win.h"
#include "tests/print/print_test_support_win.h"
#include "tests/support/screenshot_win.h"

namespace test_print {
namespace {

constexpr int kRenderDpi = 50;

// What the printer reports about its paper, in its pixels.
struct Paper {
  int ppi = 0;
  int offsetX = 0, offsetY = 0;  // of the printable page on the sheet
};

Paper PaperOfTestPrinter() {
  Paper paper;
  HDC dc = CreateDCA(nullptr, kPrinterName, nullptr, nullptr);
  paper.ppi = GetDeviceCaps(dc, LOGPIXELSX);
  paper.offsetX = GetDeviceCaps(dc, PHYSICALOFFSETX);
  paper.offsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
  DeleteDC(dc);
  return paper;
}

// A rectangle in printer pixels as it lands on the rendered sheet.
Box OnSheet(const Paper& paper, int left, int top, int right, int bottom) {
  auto x = [&](int v) { return (v + paper.offsetX) * kRenderDpi / paper.ppi; };
  auto y = [&](int v) { return (v + paper.offsetY) * kRenderDpi / paper.ppi; };
  return {x(left), y(top), x(right), y(bottom)};
}

void ExpectNear(const Box& got, const Box& want, int tolerance) {
  EXPECT_NEAR(got.left, want.left, tolerance);
  EXPECT_NEAR(got.top, want.top, tolerance);
  EXPECT_NEAR(got.right, want.right, tolerance);
  EXPECT_NEAR(got.bottom, want.bottom, tolerance);
}

TEST_F(PrintTest, TwoPhotosFitToPagePrintOnTwoPagesInsideTheMargins) {
  print::PrintRequest request = Request();
  PrintDialogs dialogs([](HWND setup) { PostMessageA(setup, WM_COMMAND, IDOK, 0); });
  ASSERT_EQ(print::Print(request, {DiscPhoto(1), DiscPhoto(2)}), 1);
  EXPECT_EQ(dialogs.printDialogs(), 1);
  EXPECT_EQ(dialogs.messages(), 0);

  RenderedJob job = RenderPostScript(output_, kRenderDpi);
  ASSERT_TRUE(job.error.empty()) << job.error;
  ASSERT_EQ(job.pages.size(), 2u);
  const Paper paper = PaperOfTestPrinter();
  HDC dc = CreateDCA(nullptr, kPrinterName, nullptr, nullptr);
  const int pageWidth = GetDeviceCaps(dc, HORZRES);
  DeleteDC(dc);
  for (int n = 1; n <= 2; ++n) {
    // Default options: 1-inch margins, top centre, aspect kept: the full
    // printable width, two thirds of it high.
    const print::PrintPhoto photo = DiscPhoto(n);
    const int width = pageWidth - 2 * paper.ppi, height = width * photo.height / photo.width;
    const Box want = OnSheet(paper, paper.ppi, paper.ppi, paper.ppi + width, paper.ppi + height);
    const Picture& page = job.pages[static_cast<std::size_t>(n - 1)];
    const Box got = InkedBox(page);
    ExpectNear(got, want, 2);
    // About 10 for the photo itself, above 60 for the other one.
    EXPECT_LT(DifferenceFromPhoto(page, got, photo.path), 20.0) << "page " << n;
  }
  const Picture& first = job.pages[0];
  WritePng(ScreenshotFolder() + "\\print-page.png", first.width, first.height, first.rgb);
}

// While a job runs nothing else of the program gets a message (it could start
// a command inside GDI's page calls: one is waiting as the setup dialog
// closes); a cancel during the first page (in its photo's decode) or between
// the pages (once that photo is decoded) stops the job there and drops it
// whole, with no failure told.
TEST_F(PrintTest, AJobLetsNothingElseInAndACancelDropsIt) {
  constexpr UINT kWaiting = WM_APP + 77;
  for (const WPARAM cancelAt : {0, 5000, 10000}) {  // 0: no cancel
    const bool cancel = cancelAt > 0;
    DeleteFileA(output_.c_str());
    print::PrintRequest request = Request();
    PrintDialogs dialogs([&](HWND setup) {
      PostMessageA(setup, WM_COMMAND, IDOK, 0);
      PostThreadMessageA(GetCurrentThreadId(), kWaiting, 0, 0);  // still queued when the dialog ends
    });
    ProgressHook hook(cancel ? cancelAt : 20000, ProgressHook::Cancel);
    print::Print(request, {DiscPhoto(1), DiscPhoto(2)});
    EXPECT_EQ(cancel, hook.fired()) << cancelAt;
    MSG waiting;
    EXPECT_TRUE(PeekMessageA(&waiting, reinterpret_cast<HWND>(-1), kWaiting, kWaiting, PM_REMOVE)) << cancelAt;
    EXPECT_EQ(0, dialogs.messages()) << cancelAt;
    const RenderedJob job = Printed() ? RenderPostScript(output_, kRenderDpi) : RenderedJob{};
    EXPECT_EQ(job.pages.size(), cancel ? 0u : 2u) << cancelAt;
  }
}

}  // namespace
}  // namespace test_print
