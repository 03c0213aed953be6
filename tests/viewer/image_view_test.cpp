// The image view control on the sample disc: a paced decode arrives in several
// bands, ends with a notification, and the control then shows exactly what the
// reader decodes in one go.
#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "imagefile/image_reader.h"
#include "tests/support/screenshot_win.h"
#include "viewer/image_view.h"

namespace {

const char kFirstPhoto[] = "D:\\PHOTO_CD\\IMAGES\\IMG0001.PCD";

int g_decodeEnded = -1;

LRESULT CALLBACK ParentProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == viewer::kDecodeEndedMessage) g_decodeEnded = static_cast<int>(wParam);
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

HWND MakeParent() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = ParentProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = "ImageViewTestParent";
  RegisterClassA(&wc);
  return CreateWindowExA(WS_EX_TOPMOST, wc.lpszClassName, "view", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20,
                         900, 640, nullptr, nullptr, wc.hInstance, nullptr);
}

TEST(ImageView, PacedDecodeArrivesInBandsAndShowsTheFullDecode) {
  if (GetFileAttributesA(kFirstPhoto) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no sample disc on D:";
  HWND parent = MakeParent();
  imagefile::ImageReader reader;
  reader.open(kFirstPhoto);
  ASSERT_EQ(reader.width(), 3072);
  {
    viewer::ImageView view;
    ASSERT_TRUE(view.Create(GetModuleHandleA(nullptr), parent, 1));
    view.SetNotify(parent, viewer::kDecodeEndedMessage);
    view.ShowImage(&reader, 0);
    view.SetZoom(0.25);  // BASE: 768 x 512
    RECT client;
    GetClientRect(parent, &client);
    view.CentreIn(client);
    ASSERT_TRUE(view.DecodeStep(1, false));
    view.StartWorker();
    int steps = 0;
    g_decodeEnded = -1;
    const DWORD end = GetTickCount() + 20000;
    while (g_decodeEnded < 0 && static_cast<LONG>(end - GetTickCount()) > 0) {
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.hwnd == view.hwnd() && msg.message == viewer::kDecodeStepMessage) ++steps;
        DispatchMessageA(&msg);
      }
      MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    EXPECT_EQ(g_decodeEnded, 1);
    EXPECT_GT(steps, 5);  // band after band, not all at once
    ASSERT_TRUE(reader.isComplete());
    EXPECT_FALSE(view.WorkerRunning());

    RECT shown;
    GetWindowRect(view.hwnd(), &shown);
    ASSERT_EQ(shown.right - shown.left, 768);
    ASSERT_EQ(shown.bottom - shown.top, 512);
    RedrawWindow(view.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    // Wine on a 256-colour X display maps every palette to its shared colours:
    // there the screen cannot match the reader's colours exactly.
    HDC screen = GetDC(nullptr);
    const bool paletteDisplay = GetDeviceCaps(screen, BITSPIXEL) <= 8;
    ReleaseDC(nullptr, screen);
    if (!paletteDisplay) {
      imagefile::ImageReader whole;
      whole.open(kFirstPhoto);
      imagefile::DecodeRequest request;
      request.targetWidth = 768;
      request.targetHeight = 512;
      ASSERT_TRUE(whole.beginDecode(request));
      ASSERT_TRUE(whole.step(512));
      whole.finish(false);
      EXPECT_EQ(CaptureScreen(shown), BitmapRgb(reinterpret_cast<HBITMAP>(whole.firstBitmap()), 768, 512));
    }
  }
  DestroyWindow(parent);
}

}  // namespace
