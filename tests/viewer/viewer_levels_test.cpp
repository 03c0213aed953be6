// The level a viewer shows and copies, turning a photo that is still decoding,
// and automatic fitting, on the sample disc.
#include "tests/viewer/viewer_test_support.h"

#include "resources/command_ids.h"
#include "resources/resource_ids.h"
#include "tests/support/dialog_hook_win.h"

namespace {

// The size of the device-independent bitmap on the clipboard; 0 x 0 without one.
SIZE ClipboardBitmapSize(HWND owner) {
  SIZE size = {0, 0};
  if (!OpenClipboard(owner)) return size;
  if (HGLOBAL block = GetClipboardData(CF_DIB)) {
    const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(block));
    size = SIZE{header->biWidth, std::abs(header->biHeight)};
    GlobalUnlock(block);
  }
  CloseClipboard();
  return size;
}

// Another thread keeps the clipboard open while this lives.
class ClipboardHeldElsewhere {
 public:
  ClipboardHeldElsewhere() {
    thread_ = CreateThread(nullptr, 0, &Hold, this, 0, nullptr);
    WaitForSingleObject(opened_, 5000);
  }
  ~ClipboardHeldElsewhere() {
    SetEvent(release_);
    WaitForSingleObject(thread_, 5000);
    for (HANDLE handle : {thread_, opened_, release_}) CloseHandle(handle);
  }

 private:
  static DWORD WINAPI Hold(void* self) {
    auto* held = static_cast<ClipboardHeldElsewhere*>(self);
    OpenClipboard(nullptr);
    SetEvent(held->opened_);
    WaitForSingleObject(held->release_, 10000);
    CloseClipboard();
    return 0;
  }
  HANDLE opened_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE release_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HANDLE thread_ = nullptr;
};

bool Checked(HMENU menu, int command) { return GetMenuState(menu, command, MF_BYCOMMAND) & MF_CHECKED; }

TEST_F(ViewerTest, APhotoBelowTheDefaultLevelShowsAndCopiesTheLevelItHolds) {
  // Photo 9 holds BASE only; photo 1 goes up to BASE*16.
  viewer::ViewerWindow* v = OpenDecoded(8, 5);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->view().DisplaySize().cx, 768);
  EXPECT_EQ(Status(v, 1), "BASE");
  EXPECT_TRUE(Checked(v->menu(), CMD_LEVEL_BASE));
  EXPECT_FALSE(Checked(v->menu(), CMD_LEVEL_16BASE));

  // The Copy of the viewer takes the level on show, turned as shown.
  Key(v, VK_OEM_COMMA);
  SendMessageA(v->Frame(), WM_COMMAND, CMD_COPY, 0);
  SIZE copied = ClipboardBitmapSize(v->Frame());
  EXPECT_EQ(copied.cx, 512);
  EXPECT_EQ(copied.cy, 768);
  Key(v, VK_HOME);  // the wish stays BASE*16 for a photo that holds it
  ASSERT_TRUE(Decoded(v));
  EXPECT_EQ(Status(v, 1), "BASE*16");
  SendMessageA(v->Frame(), WM_COMMAND, CMD_COPY, 0);
  copied = ClipboardBitmapSize(v->Frame());
  EXPECT_EQ(copied.cx, 3072);
  EXPECT_EQ(copied.cy, 2048);

  // A copy that fails says so in the viewer's words.
  std::string message;
  DialogHook hook([&](HWND box) {
    if (GetDlgItem(box, IDC_PROGRESS_BAR)) return;
    message = DialogHook::Text(box) + ": " + DialogHook::MessageText(box);
    DialogHook::Press(box, IDOK);
  });
  ClipboardHeldElsewhere held;
  SendMessageA(v->Frame(), WM_COMMAND, CMD_COPY, 0);
  EXPECT_EQ(message, "Lumivexa SE: Copy failed.");
}

TEST_F(ViewerTest, TurningAPhotoThatIsStillDecodingLeavesTheWindowFree) {
  viewer::ViewerWindow* v = OpenStillDecoding(0);
  ASSERT_NE(v, nullptr);
  ASSERT_TRUE(v->view().Decoding());
  SendMessageA(v->Frame(), WM_COMMAND, CMD_ROTATE_LEFT, 0);
  EXPECT_TRUE(v->view().Decoding()) << "the turn waited for the whole decode";
  EXPECT_EQ(v->rotation(), 90);

  // Once complete the photo stands turned left: a right turn brings it back.
  ASSERT_TRUE(RunUntil([&] { return !v->view().Decoding() && v->view().DisplaySize().cy > v->view().DisplaySize().cx; },
                       20000));
  auto bitmap = [&] { return reinterpret_cast<HBITMAP>(v->image(0)->firstBitmap()); };
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HGDIOBJ old = SelectObject(memory, bitmap());
  const COLORREF topLeft = GetPixel(memory, 0, 0);
  SelectObject(memory, old);
  Key(v, VK_OEM_PERIOD);
  EXPECT_EQ(v->rotation(), 0);
  old = SelectObject(memory, bitmap());
  EXPECT_EQ(GetPixel(memory, 3071, 0), topLeft);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
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

}  // namespace
