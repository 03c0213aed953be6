// A second viewer opens one step down and right from the first, not over it.
#include "tests/viewer/viewer_test_support.h"

#include "tests/support/png_file.h"
#include "tests/support/screenshot_win.h"

namespace {

RECT FrameRect(viewer::ViewerWindow* v) {
  RECT r{};
  GetWindowRect(v->Frame(), &r);
  return r;
}

TEST_F(ViewerTest, ASecondViewerCascadesFromTheFirst) {
  viewer::ViewerWindow* first = OpenDecoded(0, 3);  // BASE: both frames fit a landscape 768 x 512
  ASSERT_NE(first, nullptr);
  DoubleClick(1);
  ASSERT_EQ(window_.ViewerCount(), 2u);
  viewer::ViewerWindow* second = Viewer(1);
  ASSERT_TRUE(Decoded(second));
  RunUntil([] { return false; }, 300);

  const RECT a = FrameRect(first), b = FrameRect(second);
  const int step = GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYSIZEFRAME);
  EXPECT_EQ(b.left - a.left, step);
  EXPECT_EQ(b.top - a.top, step);
  EXPECT_EQ(b.right - b.left, a.right - a.left);

  const RECT both = {a.left, a.top, b.right, b.bottom};
  std::vector<std::uint8_t> rgb = CaptureScreen(both);
  ASSERT_TRUE(WritePng(ScreenshotFolder() + "\\viewers-cascaded.png", both.right - both.left, both.bottom - both.top, rgb));
}

}  // namespace
