// The slide show's errors, the viewer's cache of decoded photos and what
// closing a viewer repaints, on the sample disc.
#include "tests/viewer/viewer_test_support.h"

#include "resources/command_ids.h"
#include "tests/support/dialog_hook_win.h"

namespace {

int DecodedPhotos(viewer::ViewerWindow* v) {
  int decoded = 0;
  for (int i = 0; i < static_cast<int>(v->photoCount()); ++i)
    decoded += v->image(i)->decoding() || v->image(i)->isComplete();
  return decoded;
}

VOID CALLBACK AnswerOk(HWND box, UINT, UINT_PTR, DWORD) { DialogHook::Press(box, IDOK); }

// A photo that does not open is named once, with why, and stepped over: by the
// show on every round and by Page Down.
TEST_F(ViewerTest, ASlideShowStepsPastAMissingPhotoAndNamesItOnce) {
  g_settings.SSDelayMS = 50;
  g_settings.SSWrap = 1;
  g_settings.SSSequenceMode = 0;
  viewer::ViewerWindow* v = OpenDecoded(0, 3);
  ASSERT_NE(v, nullptr);
  std::vector<ViewerPhoto> photos(3);
  photos[0].path = "D:\\PHOTO_CD\\IMAGES\\IMG0001.PCD";
  photos[1].path = "D:\\PHOTO_CD\\IMAGES\\IMG0099.PCD";
  photos[2].path = "D:\\PHOTO_CD\\IMAGES\\IMG0002.PCD";
  ASSERT_TRUE(v->Open(photos, 0));
  ASSERT_TRUE(Decoded(v));

  // The box stays up for twenty delays before it is answered: no tick opens another.
  std::vector<std::string> boxes;
  DialogHook hook([&](HWND box) {
    boxes.push_back(DialogHook::MessageText(box));
    SetTimer(box, 1, 20 * 50, AnswerOk);
  });
  v->ToggleSlideShow();
  std::vector<int> shown;
  ASSERT_TRUE(RunUntil([&] {
    if (shown.empty() || shown.back() != v->current()) shown.push_back(v->current());
    return shown.size() >= 4;
  }, 20000));
  v->ToggleSlideShow();
  EXPECT_EQ((std::vector<int>{0, 2, 0, 2}), shown);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].rfind("Cannot open image:\nD:\\PHOTO_CD\\IMAGES\\IMG0099.PCD\n", 0), 0u) << boxes[0];
  EXPECT_NE(boxes[0].find("\n\nSkipped"), std::string::npos) << boxes[0];

  Key(v, VK_HOME);
  Key(v, VK_NEXT);
  EXPECT_EQ(v->current(), 2);
  EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(ViewerTest, StartingASlideShowKeepsAtMostThreePhotosDecoded) {
  g_settings.SSWrap = 1;
  g_settings.SSSequenceMode = 0;
  g_settings.SSDelayMS = 60000;
  viewer::ViewerWindow* v = OpenDecoded(2, 2);
  ASSERT_NE(v, nullptr);
  Key(v, VK_NEXT);  // photo 4, with 3 behind and 5 read ahead
  Key(v, VK_END);   // photo 24, with 4 behind and 23 read ahead
  ASSERT_TRUE(RunUntil([&] { return v->image(v->readAhead())->isComplete(); }, 20000));
  ASSERT_EQ(v->readAhead(), 22);
  v->ToggleSlideShow();  // wrapping on: photo 1 is read ahead instead of 23
  ASSERT_EQ(v->readAhead(), 0);
  EXPECT_LE(DecodedPhotos(v), 3);
  EXPECT_FALSE(v->image(22)->isComplete());
}

// Counts the paints of a small window that nothing covers.
int g_paints = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) ++g_paints;
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(ViewerTest, ClosingAViewerRepaintsNoOtherWindow) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = CountingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "PaintCounter";
  RegisterClassA(&wc);
  HWND other = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "PaintCounter", "", WS_POPUP | WS_VISIBLE, 0, 0,
                               40, 40, nullptr, nullptr, wc.hInstance, nullptr);
  ASSERT_NE(other, nullptr);
  viewer::ViewerWindow* v = OpenDecoded(0, 2);
  ASSERT_NE(v, nullptr);
  RunUntil([] { return false; }, 200);
  g_paints = 0;
  Key(v, VK_ESCAPE);
  ASSERT_TRUE(RunUntil([&] { return window_.ViewerCount() == 0; }, 5000));
  RunUntil([] { return false; }, 200);
  EXPECT_EQ(g_paints, 0);
  DestroyWindow(other);
}

}  // namespace
