// A disc taken out while a viewer's command has the user: the disc and the
// viewer stay until the command is over, then go as for any removal.
#include "tests/viewer/viewer_test_support.h"

#include "resources/command_ids.h"
#include "tests/support/timed_script_win.h"

namespace {

TEST_F(ViewerTest, ADiscRemovedUnderTheViewersPropertiesClosesWhenTheyClose) {
  ScopedDiscCopy copy('C', nullptr);
  ASSERT_TRUE(copy.made());
  CreateDirectoryA("C:\\PHOTO_CD\\IMAGES", nullptr);
  ASSERT_TRUE(CopyFileA("D:\\PHOTO_CD\\IMAGES\\IMG0001.PCD", "C:\\PHOTO_CD\\IMAGES\\IMG0001.PCD", FALSE));
  ASSERT_TRUE(window_.OpenDisc(false));
  ASSERT_EQ(window_.disc().root, "C:\\PHOTO_CD");
  ASSERT_TRUE(RunUntil([&] { return !window_.LoaderRunning(); }, 20000));
  viewer::ViewerWindow* v = OpenDecoded(0, 3);
  ASSERT_NE(v, nullptr);

  bool keptWhileShown = false;
  TimedScript script({[&] {
    HWND sheet = TimedScript::FindDialog("Photo properties");
    if (!sheet) return false;
    copy.Remove();  // the tray opens: INFO.PCD is gone
    SendVolumeChange(DBT_DEVICEREMOVECOMPLETE, 'C');
    keptWhileShown = window_.disc().overview && window_.ViewerCount() == 1 && IsWindow(v->Frame());
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    return true;
  }});
  SendMessageA(v->Frame(), WM_COMMAND, CMD_PROPERTIES, 0);
  ASSERT_TRUE(script.finished());
  EXPECT_TRUE(keptWhileShown);
  // Once the sheet is closed and its command over, the removal is carried out.
  ASSERT_TRUE(RunUntil([&] { return window_.ViewerCount() == 0; }, 5000));
  EXPECT_EQ(window_.disc().overview, nullptr);
  EXPECT_EQ(ListCount(), 0);
  EXPECT_EQ(StatusText(0), "No Photo CD present.");
  DeleteFileA("C:\\PHOTO_CD\\IMAGES\\IMG0001.PCD");
  RemoveDirectoryA("C:\\PHOTO_CD\\IMAGES");
}

}  // namespace
