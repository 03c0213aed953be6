// Viewers opened from the browse window on the sample disc.
#include "tests/viewer/viewer_test_support.h"

#include <cstdint>
#include <cstdio>
#include <iterator>
#include <memory>
#include <vector>

#include "resources/command_ids.h"
#include "resources/resource_ids.h"
#include "settings/settings_store_win.h"
#include "tests/support/damaged_copy.h"
#include "tests/support/png_file.h"
#include "tests/support/dialog_hook_win.h"
#include "tests/support/screenshot_win.h"
#include "tests/support/timed_script_win.h"

namespace {

TEST_F(ViewerTest, ScreenshotOf16BaseFittedToTheScreen) {
  viewer::ViewerWindow* v = OpenDecoded(0, 0);
  ASSERT_NE(v, nullptr);
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

namespace {

TEST_F(ViewerTest, RotationTurnsThePictureAndFullScreenComesBackToThePlacement) {
  viewer::ViewerWindow* v = OpenDecoded(0, 3);
  ASSERT_NE(v, nullptr);
  auto bitmap = [&] { return reinterpret_cast<HBITMAP>(v->image(0)->firstBitmap()); };
  const COLORREF topRight = PixelOf(bitmap(), 767, 0), bottomLeft = PixelOf(bitmap(), 0, 511);
  Key(v, VK_OEM_COMMA);  // rotate left: the top-right corner comes to the top left
  EXPECT_EQ(v->rotation(), imaging::kTurnLeft);
  EXPECT_EQ(v->view().DisplaySize().cx, 512);
  EXPECT_EQ(v->view().DisplaySize().cy, 768);
  EXPECT_EQ(PixelOf(bitmap(), 0, 0), topRight);
  EXPECT_EQ(PixelOf(bitmap(), 511, 767), bottomLeft);
  Key(v, VK_OEM_COMMA);
  EXPECT_EQ(v->rotation(), imaging::kHalfTurn);
  Key(v, VK_NEXT);
  EXPECT_EQ(v->rotation(), imaging::kNoTurn);
  Key(v, VK_PRIOR);
  ASSERT_TRUE(Decoded(v));
  EXPECT_EQ(PixelOf(bitmap(), 767, 0), topRight);  // upright again

  RECT framed;
  GetWindowRect(v->Frame(), &framed);
  Key(v, 'F', true);
  ASSERT_TRUE(v->fullScreen());
  EXPECT_FALSE(GetWindowLongA(v->Frame(), GWL_STYLE) & WS_CAPTION);
  EXPECT_EQ(GetMenu(v->Frame()), nullptr);
  RECT client;
  GetClientRect(v->Frame(), &client);
  POINT origin = {0, 0};
  ClientToScreen(v->Frame(), &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  EXPECT_EQ(client.right, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(client.bottom, GetSystemMetrics(SM_CYSCREEN));
  Key(v, VK_MULTIPLY);
  EXPECT_FALSE(v->fullScreen());
  EXPECT_EQ(GetMenu(v->Frame()), v->menu());
  RECT back;
  GetWindowRect(v->Frame(), &back);
  EXPECT_TRUE(EqualRect(&back, &framed));

  // Display options changed from the browse window's Options reach the open
  // viewer, which decodes its photo again with them.
  TimedScript script({[&] {
    HWND sheet = TimedScript::FindDialog("Lumivexa Options");
    if (!sheet) return false;
    HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    CheckDlgButton(page, IDC_OPT_GAMMA_ENABLE, BST_CHECKED);
    SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_OPT_GAMMA_ENABLE, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(page, IDC_OPT_GAMMA_ENABLE)));
    SetDlgItemTextA(page, IDC_OPT_GAMMA, "2");
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    return true;
  }});
  SendMessageA(window_.hwnd(), WM_COMMAND, CMD_OPTIONS, 0);
  ASSERT_TRUE(script.finished());
  ASSERT_EQ(g_settings.GammaFactor, 2.0);
  ASSERT_TRUE(Decoded(v));
  EXPECT_NE(PixelOf(bitmap(), 767, 0), topRight);
  SaveSettingsGroup(saved_, SettingsGroup::kOptions);  // the sheet stored its options
}

// Turning a standing photo at Fit to screen fits a lying one: the control decodes
// it again, larger, and the picture still comes out turned, at the fitted size.
TEST_F(ViewerTest, TurningAStandingPhotoAtFitToScreenKeepsTheTurnInTheLargerDecode) {
  viewer::ViewerWindow* v = OpenDecoded(2, 0);  // photo 3 stands
  ASSERT_NE(v, nullptr);
  auto bitmap = [&] { return reinterpret_cast<HBITMAP>(v->image(2)->firstBitmap()); };
  BITMAP before = {};
  GetObjectA(bitmap(), sizeof before, &before);
  ASSERT_LT(before.bmWidth, before.bmHeight);
  Key(v, VK_OEM_COMMA);
  ASSERT_TRUE(Decoded(v));
  EXPECT_EQ(v->rotation(), imaging::kTurnLeft);
  BITMAP after = {};
  GetObjectA(bitmap(), sizeof after, &after);
  EXPECT_GT(after.bmWidth, after.bmHeight);  // turned
  EXPECT_GT(after.bmWidth, before.bmHeight);  // decoded again for the larger fit
  const SIZE shown = v->view().DisplaySize();
  EXPECT_EQ(shown.cx, after.bmWidth);
  EXPECT_EQ(shown.cy, after.bmHeight);
}

// BASE, a quarter turn left, then BASE/4: the fresh decode is turned left too.
TEST_F(ViewerTest, ATurnedPhotoShownAtAnotherLevelKeepsItsTurn) {
  viewer::ViewerWindow* v = OpenDecoded(0, 3);
  ASSERT_NE(v, nullptr);
  auto bitmap = [&] { return reinterpret_cast<HBITMAP>(v->image(0)->firstBitmap()); };
  Key(v, VK_OEM_COMMA);
  Key(v, '2');
  ASSERT_TRUE(Decoded(v));
  ASSERT_EQ(v->rotation(), imaging::kTurnLeft);
  BITMAP shown = {};
  GetObjectA(bitmap(), sizeof shown, &shown);
  ASSERT_EQ(shown.bmWidth, 256);
  ASSERT_EQ(shown.bmHeight, 384);
  imagefile::ImageReader upright;  // the same level decoded here, turned left
  upright.open("D:\\PHOTO_CD\\IMAGES\\IMG0001.PCD");
  imagefile::DecodeRequest request;
  request.targetWidth = 384;
  request.targetHeight = 256;
  ASSERT_TRUE(upright.beginDecode(request));
  while (!upright.isComplete() && upright.step(64)) {}
  upright.finish(false);
  ASSERT_TRUE(upright.rotate(imaging::kTurnLeft));
  auto expected = reinterpret_cast<HBITMAP>(upright.firstBitmap());
  for (POINT p : {POINT{10, 10}, POINT{245, 10}, POINT{10, 373}, POINT{245, 373}})
    EXPECT_TRUE(SimilarColour(PixelOf(bitmap(), p.x, p.y), PixelOf(expected, p.x, p.y))) << p.x << "," << p.y;
}

// With AutoFitWindow a user's resize refits the zoom; the larger decode that
// needs must come out turned like the photo on show, not upright and stretched.
TEST_F(ViewerTest, AResizeThatDecodesATurnedPhotoAgainKeepsTheTurn) {
  g_settings.AutoFitWindow = 1;
  viewer::ViewerWindow* v = OpenDecoded(0, 2);  // BASE/4: 384 x 256
  ASSERT_NE(v, nullptr);
  Key(v, VK_OEM_COMMA);
  ASSERT_TRUE(Decoded(v));
  SetWindowPos(v->Frame(), nullptr, 0, 0, 1000, 1000, SWP_NOZORDER | SWP_NOMOVE);
  ASSERT_TRUE(Decoded(v));
  BITMAP shown = {};
  GetObjectA(reinterpret_cast<HBITMAP>(v->image(0)->firstBitmap()), sizeof shown, &shown);
  EXPECT_GT(shown.bmHeight, 384);  // decoded again, larger
  EXPECT_LT(shown.bmWidth, shown.bmHeight);  // still standing
  const SIZE display = v->view().DisplaySize();
  EXPECT_EQ(display.cx, shown.bmWidth);
  EXPECT_EQ(display.cy, shown.bmHeight);
}

// Copy and Export take the turn the way the screen shows it, not the other way.
TEST_F(ViewerTest, CopyFromATurnedViewerPutsTheTurnedPhotoOnTheClipboardAtTheLevelOnShow) {
  viewer::ViewerWindow* v = OpenDecoded(0, 4);
  ASSERT_NE(v, nullptr);
  Key(v, VK_OEM_COMMA);  // a quarter turn left
  ASSERT_EQ(v->rotation(), imaging::kTurnLeft);
  SendMessageA(v->Frame(), WM_COMMAND, CMD_COPY, 0);
  ASSERT_TRUE(OpenClipboard(v->Frame()));
  HGLOBAL block = GetClipboardData(CF_DIB);
  ASSERT_NE(block, nullptr);
  const auto* dib = static_cast<const BITMAPINFOHEADER*>(GlobalLock(block));
  const BITMAPINFOHEADER header = *dib;
  std::vector<COLORREF> copied;
  const POINT points[] = {{10, 10}, {1013, 10}, {10, 1525}, {1013, 1525}, {300, 700}};
  if (header.biBitCount == 24 && header.biHeight > 0) {
    const auto* bits = reinterpret_cast<const std::uint8_t*>(dib) + header.biSize;
    const std::size_t stride = (static_cast<std::size_t>(header.biWidth) * 3 + 3) & ~std::size_t{3};
    for (POINT p : points) {
      const std::uint8_t* px = bits + (header.biHeight - 1 - p.y) * stride + 3 * p.x;
      copied.push_back(RGB(px[2], px[1], px[0]));
    }
  }
  GlobalUnlock(block);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_HDROP));
  CloseClipboard();
  EXPECT_EQ(header.biWidth, 1024);  // BASE*4
  EXPECT_EQ(header.biHeight, 1536);
  ASSERT_EQ(copied.size(), std::size(points));
  auto shown = reinterpret_cast<HBITMAP>(v->image(0)->firstBitmap());
  for (std::size_t i = 0; i < copied.size(); ++i)
    EXPECT_TRUE(SimilarColour(PixelOf(shown, points[i].x, points[i].y), copied[i]))
        << points[i].x << "," << points[i].y;

  int checked = 0;
  DialogHook hook([&](HWND d) {
    for (int button = IDC_EXPORT_ROTATE_NONE; button <= IDC_EXPORT_ROTATE_180; ++button)
      if (IsDlgButtonChecked(d, button) == BST_CHECKED) checked = button;
    DialogHook::Press(d, IDCANCEL);
  });
  SendMessageA(v->Frame(), WM_COMMAND, CMD_VIEWER_EXPORT, 0);
  EXPECT_EQ(checked, IDC_EXPORT_ROTATE_LEFT);
}

TEST_F(ViewerTest, PropertiesFromTheViewerShowTheThumbnailInAnImageView) {
  viewer::ViewerWindow* v = OpenDecoded(4, 3);
  ASSERT_NE(v, nullptr);
  const imaging::DibHeader* thumbnail = window_.photos()[4]->thumbnail.load()->header();
  char viewClass[64] = "";
  RECT picture = {};
  TimedScript script({[&] {
    HWND sheet = TimedScript::FindDialog("Photo properties");
    if (!sheet) return false;
    HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
    GetClassNameA(GetDlgItem(page, IDC_PROP_PICTURE), viewClass, sizeof viewClass);
    GetClientRect(GetDlgItem(page, IDC_PROP_PICTURE), &picture);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    return true;
  }});
  SendMessageA(v->Frame(), WM_COMMAND, CMD_PROPERTIES, 0);
  ASSERT_TRUE(script.finished());
  EXPECT_STREQ(viewClass, "ImageViewWndClass");
  EXPECT_EQ(picture.right, thumbnail->width);
  EXPECT_EQ(picture.bottom, std::abs(thumbnail->height));
}

TEST_F(ViewerTest, SlideShowFromTheBrowseWindowRunsToTheEndWithoutWrap) {
  g_settings.SSDelayMS = 50;
  g_settings.SSWrap = 0;
  g_settings.SSSequenceMode = 0;
  g_settings.ShowEnterSSMsg = 1;
  DoubleClick(21);  // focus photo 22 and view it
  ASSERT_EQ(window_.ViewerCount(), 1u);
  Key(Viewer(), VK_ESCAPE);
  ASSERT_TRUE(RunUntil([&] { return window_.ViewerCount() == 0; }, 5000));

  std::string caption;
  DialogHook hook([&](HWND notice) {
    caption = DialogHook::Text(notice);
    CheckDlgButton(notice, IDC_NOTICE_DONT_SHOW, BST_CHECKED);
    DialogHook::Press(notice, IDOK);
  });
  SendMessageA(window_.hwnd(), WM_COMMAND, CMD_SLIDE_SHOW, 0);
  EXPECT_EQ(caption, "Notice");
  EXPECT_EQ(g_settings.ShowEnterSSMsg, 0);
  viewer::ViewerWindow* v = Viewer();
  ASSERT_NE(v, nullptr);
  EXPECT_TRUE(v->fullScreen());
  EXPECT_EQ(v->level(), 0);
  EXPECT_TRUE(v->slideShowRunning());
  ASSERT_TRUE(RunUntil([&] { return !v->slideShowRunning(); }, 20000));
  EXPECT_EQ(v->current(), 23);
  RunUntil([] { return false; }, 200);
  EXPECT_EQ(v->current(), 23);

  // With the notice turned off the next show starts at once.
  SendMessageA(window_.hwnd(), WM_COMMAND, CMD_SLIDE_SHOW, 0);
  EXPECT_EQ(hook.dialogsSeen(), 1);
  EXPECT_EQ(window_.ViewerCount(), 2u);
}

TEST_F(ViewerTest, ShowingAnotherPhotoStopsTheDecodeInProgress) {
  // Commands sent straight to the windows: the first photo has decoded only
  // its first row when the next is shown.
  viewer::ViewerWindow* v = OpenStillDecoding(0);
  ASSERT_NE(v, nullptr);
  SendMessageA(v->Frame(), WM_COMMAND, CMD_NEXT, 0);
  ASSERT_EQ(v->current(), 1);
  ASSERT_TRUE(v->image(0)->decoding());  // kept, half done, as the photo behind
  const int left = v->image(0)->progress();
  EXPECT_LT(left, 10000);
  ASSERT_TRUE(Decoded(v));
  EXPECT_EQ(v->image(0)->progress(), left);  // no step of the old worker ran
  Key(v, VK_PRIOR);  // going back goes on where it stopped
  ASSERT_TRUE(Decoded(v));
  EXPECT_TRUE(v->image(0)->isComplete());
}

}  // namespace

namespace {

// A copy of photo 2 whose 16BASE rows lost a 64 KB block, shown at 16BASE: the
// whole photo appears and the status bar says it was repaired.
TEST_F(ViewerTest, TheStatusBarSaysWhenThePhotoOnShowWasRepaired) {
  char folder[MAX_PATH] = "";
  GetTempPathA(sizeof folder, folder);
  const std::string path = std::string(folder) + "DAMAGED2.PCD";
  ASSERT_TRUE(CopyFileA("D:\\PHOTO_CD\\IMAGES\\IMG0002.PCD", path.c_str(), FALSE));
  ASSERT_TRUE(test_support::ZeroBlockIn16BaseData(path));
  g_settings.DefResolution = 5;  // 16BASE, where the damage lies
  BusyCount busy;
  std::unique_ptr<ViewerLink> link = CreateViewer(window_.hwnd(), busy);
  ASSERT_TRUE(link);
  auto* v = static_cast<viewer::ViewerWindow*>(link.get());
  ASSERT_TRUE(v->Open({ViewerPhoto{1, path, 0, 3072, 2048, nullptr}}, 0));
  ASSERT_TRUE(Decoded(v));
  EXPECT_EQ(v->view().DisplaySize().cx, 3072);
  EXPECT_EQ(Status(v, 2), "Repaired: parts of this photo are damaged");
  RunUntil([] { return false; }, 300);
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb = CaptureWindow(v->Frame(), &width, &height);
  EXPECT_TRUE(WritePng(ScreenshotFolder() + "\\viewer-repaired.png", width, height, rgb));
  DestroyWindow(v->Frame());
  link.reset();
  DeleteFileA(path.c_str());
}

}  // namespace
