// Print from a viewer: the photo on show goes to the printer turned as the
// viewer shows it, and the slide show stops.
#include <gtest/gtest.h>

#include <algorithm>

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

}  // namespace
}  // namespace test_print
