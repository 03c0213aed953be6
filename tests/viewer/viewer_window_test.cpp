// Viewers opened from the browse window on the sample disc.
#include "tests/viewer/viewer_test_support.h"

#include "resources/command_ids.h"
#include "tests/browse/png_file.h"
#include "tests/support/screen_capture_win.h"

namespace {

TEST_F(ViewerTest, ScreenshotOf16BaseFittedToTheScreen) {
  g_settings.DefResolution = 0;
  DoubleClick(0);
  viewer::ViewerWindow* v = Viewer();
  ASSERT_NE(v, nullptr);
  ASSERT_TRUE(Decoded(v));
  RunUntil([] { return false; }, 300);
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb = CaptureWindow(v->Frame(), &width, &height);
  ASSERT_TRUE(WritePng(ScreenshotFolder() + "\\viewer.png", width, height, rgb));
}

}  // namespace

namespace {

TEST_F(ViewerTest, DoubleClickOpensAViewerThatPagesAndReadsAhead) {
  g_settings.DefResolution = 3;  // BASE
  DoubleClick(2);
  viewer::ViewerWindow* v = Viewer();
  ASSERT_NE(v, nullptr);
  EXPECT_TRUE(IsWindowVisible(v->Frame()));
  EXPECT_EQ(v->photoCount(), 24u);
  EXPECT_EQ(Title(v), "Lumivexa SE - #3");
  EXPECT_EQ(Status(v, 0), "#3");
  EXPECT_EQ(Status(v, 1), "BASE");
  ASSERT_TRUE(Decoded(v));
  // Photo 3 is a portrait: 512 x 768 at BASE.
  EXPECT_EQ(v->view().DisplaySize().cx, 512);
  EXPECT_EQ(v->view().DisplaySize().cy, 768);

  // Once the photo is complete the next one decodes in idle time, and paging
  // to it shows it whole at once.
  ASSERT_EQ(v->readAhead(), 3);
  ASSERT_TRUE(RunUntil([&] { return v->image(3)->isComplete(); }, 20000));
  Key(v, VK_NEXT);
  EXPECT_EQ(v->current(), 3);
  EXPECT_TRUE(v->image(3)->isComplete());
  EXPECT_FALSE(v->view().Decoding());
  EXPECT_EQ(Status(v, 0), "#4");
  Key(v, VK_END);
  EXPECT_EQ(Title(v), "Lumivexa SE - #24");
  EXPECT_EQ(v->readAhead(), 22);  // at the end the read-ahead turns round
  Key(v, VK_HOME);
  EXPECT_EQ(v->current(), 0);
  Key(v, VK_PRIOR);
  EXPECT_EQ(v->current(), 0);
  // At most three photos hold bitmaps: this one, the one before and the read-ahead.
  int decoded = 0;
  for (int i = 0; i < 24; ++i) decoded += v->image(i)->firstBitmap() != nullptr;
  EXPECT_LE(decoded, 3);

  // A second viewer on the same photo; closing the first removes exactly it.
  DoubleClick(2);
  ASSERT_EQ(window_.ViewerCount(), 2u);
  viewer::ViewerWindow* second = Viewer(1);
  Key(v, VK_ESCAPE);
  ASSERT_TRUE(RunUntil([&] { return window_.ViewerCount() == 1; }, 5000));
  EXPECT_EQ(Viewer(0), second);
}

}  // namespace
