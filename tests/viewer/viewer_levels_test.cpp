// The level a viewer shows, turning a photo that is still decoding,
// and automatic fitting, on the sample disc.
#include "tests/viewer/viewer_test_support.h"

#include <functional>

#include "export/export_command_win.h"
#include "resources/command_ids.h"
#include "resources/resource_ids.h"
#include "tests/support/dialog_hook_win.h"

namespace {

bool Checked(HMENU menu, int command) { return GetMenuState(menu, command, MF_BYCOMMAND) & MF_CHECKED; }

TEST_F(ViewerTest, APhotoBelowTheDefaultLevelShowsTheLevelItHolds) {
  // Photo 9 holds BASE only; photo 1 goes up to BASE*16.
  viewer::ViewerWindow* v = OpenDecoded(8, 5);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->view().DisplaySize().cx, 768);
  EXPECT_EQ(Status(v, 1), "BASE");
  EXPECT_TRUE(Checked(v->menu(), CMD_LEVEL_BASE));
  EXPECT_FALSE(Checked(v->menu(), CMD_LEVEL_16BASE));

  Key(v, VK_HOME);  // the wish stays BASE*16 for a photo that holds it
  ASSERT_TRUE(Decoded(v));
  EXPECT_EQ(Status(v, 1), "BASE*16");

  // A copy that fails (the clipboard is taken) says so in the viewer's words.
  std::string message;
  DialogHook hook([&](HWND box) {
    if (GetDlgItem(box, IDC_PROGRESS_BAR)) return;
    message = DialogHook::Text(box) + ": " + DialogHook::MessageText(box);
    DialogHook::Press(box, IDOK);
  });
  ASSERT_TRUE(OpenClipboard(window_.hwnd()));
  SendMessageA(v->Frame(), WM_COMMAND, CMD_COPY, 0);
  CloseClipboard();
  EXPECT_EQ(message, "Lumivexa SE: Copy failed.");
}

TEST_F(ViewerTest, TurningAPhotoThatIsStillDecodingLeavesTheWindowFree) {
  viewer::ViewerWindow* v = OpenStillDecoding(0);
  ASSERT_NE(v, nullptr);
  ASSERT_TRUE(v->view().Decoding());
  SendMessageA(v->Frame(), WM_COMMAND, CMD_ROTATE_LEFT, 0);
  EXPECT_TRUE(v->view().Decoding()) << "the turn waited for the whole decode";
  EXPECT_EQ(v->rotation(), imaging::kTurnLeft);

  // Once complete the photo stands turned left: a right turn brings it back.
  ASSERT_TRUE(RunUntil([&] { return !v->view().Decoding() && v->view().DisplaySize().cy > v->view().DisplaySize().cx; },
                       20000));
  auto bitmap = [&] { return reinterpret_cast<HBITMAP>(v->image(0)->firstBitmap()); };
  const COLORREF topLeft = PixelOf(bitmap(), 0, 0);
  Key(v, VK_OEM_PERIOD);
  EXPECT_EQ(v->rotation(), imaging::kNoTurn);
  EXPECT_EQ(PixelOf(bitmap(), 3071, 0), topLeft);
}

TEST_F(ViewerTest, AutomaticFittingFollowsTheUsersResizesOnly) {
  g_settings.AutoFitWindow = 1;
  viewer::ViewerWindow* v = OpenDecoded(0, 4);  // BASE*4: larger than the screen
  ASSERT_NE(v, nullptr);
  EXPECT_DOUBLE_EQ(v->view().zoom(), 0.5);
  EXPECT_EQ(Status(v, 1), "BASE*4");
  SetWindowPos(v->Frame(), nullptr, 0, 0, 500, 500, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_LT(v->view().zoom(), 0.2);
}

std::function<void()> g_whileTheBoxIsUp;
VOID CALLBACK RunWhileTheBoxIsUp(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  if (g_whileTheBoxIsUp) g_whileTheBoxIsUp();
}

// An Export at BASE/4 stops at a photo it cannot read; while its message is up
// the user pages a viewer shown at BASE: the next photo still comes at BASE.
TEST_F(ViewerTest, PagingAViewerWhileAnExportAsksKeepsTheViewersLevel) {
  g_settings.SSReadAhead = 0;  // photo 2 is decoded only once paged to
  viewer::ViewerWindow* v = OpenDecoded(0, 3);
  ASSERT_NE(v, nullptr);
  char folder[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, folder);
  HWND box = nullptr;
  int decodedWidth = 0;
  g_whileTheBoxIsUp = [&] {
    Key(v, VK_NEXT);
    BITMAP shown = {};
    if (Decoded(v)) GetObjectA(reinterpret_cast<HBITMAP>(v->image(1)->firstBitmap()), sizeof shown, &shown);
    decodedWidth = shown.bmWidth;
    DialogHook::Press(box, IDOK);
  };
  DialogHook hook([&](HWND d) {
    if (GetDlgItem(d, IDC_PROGRESS_BAR)) return;
    if (GetDlgItem(d, IDC_EXPORT_RESOLUTION)) {
      SendDlgItemMessageA(d, IDC_EXPORT_RESOLUTION, CB_SETCURSEL, 2, 0);  // BASE/4
      SetDlgItemTextA(d, IDC_EXPORT_FOLDER, folder);
      DialogHook::Press(d, IDOK);
    } else {
      box = d;  // "Can't read source image."
      SetTimer(nullptr, 0, 10, RunWhileTheBoxIsUp);
    }
  });
  imagefile::ExportPhotos(GetModuleHandleA(nullptr), nullptr, {"D:\\PHOTO_CD\\IMAGES\\IMG0999.PCD"}, imaging::kNoTurn);
  g_whileTheBoxIsUp = nullptr;
  EXPECT_EQ(v->current(), 1);
  EXPECT_EQ(decodedWidth, 768);
}

}  // namespace

namespace {

// A standing photo at Fit to screen fills the work area's height uncropped (the
// view control crops what does not fit), the whole screen's in full-screen, and
// fits the frame again after it ("*" typed).
TEST_F(ViewerTest, FitToScreenFitsTheWorkAreaAndFitsAgainAroundFullScreen) {
  viewer::ViewerWindow* v = OpenDecoded(2, 0);
  ASSERT_NE(v, nullptr);
  auto viewHeight = [&] {
    RECT r{};
    GetWindowRect(v->view().hwnd(), &r);
    return r.bottom - r.top;
  };
  RECT work{}, frame{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  GetWindowRect(v->Frame(), &frame);
  const SIZE fitted = v->view().DisplaySize();
  EXPECT_EQ(viewHeight(), fitted.cy);
  EXPECT_EQ(frame.bottom - frame.top, work.bottom - work.top);

  Key(v, 'F', true);
  EXPECT_EQ(v->view().DisplaySize().cy, GetSystemMetrics(SM_CYSCREEN));
  PostMessageA(v->Frame(), WM_CHAR, '*', 1);
  Pump();
  ASSERT_FALSE(v->fullScreen());
  EXPECT_EQ(v->view().DisplaySize().cy, fitted.cy);
  EXPECT_EQ(viewHeight(), fitted.cy);
}

}  // namespace
