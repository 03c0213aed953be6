// The browse window in this process with the sample disc on D:: scan, thumbnails,
// loader pacing, failure messages, disc removal.
#include <gtest/gtest.h>

#include <windows.h>
#include <dbt.h>
#include <unknwn.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "browse/browse_window.h"
#include "resources/command_ids.h"
#include "resources/resource_ids.h"
#include "tests/browse/browse_test_support.h"
#include "tests/support/dialog_hook_win.h"
#include "ui/comctl_version_win.h"
#include "ui/shell_state_win.h"
#include "ui/ui_utils_win.h"

namespace {

constexpr int kSamplePhotos = 24;

TEST_F(BrowseWindowTest, ListsEveryPhotoOfTheDiscWithTheCountInTheStatusBar) {
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  ASSERT_NE(window_.disc().overview, nullptr);
  EXPECT_EQ(window_.disc().root, "D:\\PHOTO_CD");
  EXPECT_EQ(ListCount(), kSamplePhotos);
  ASSERT_EQ(window_.photos().Count(), static_cast<std::size_t>(kSamplePhotos));
  EXPECT_EQ(window_.photos()[11]->path, "D:\\PHOTO_CD\\IMAGES\\IMG0012.PCD");  // as the directory spells it
  EXPECT_EQ(window_.photos()[11]->index, 11);
  // What printing reads: the nominal size by orientation (photo 3 is stored turned
  // by a quarter) and the disc's creation day.
  const browse::PhotoInfo& first = window_.photos()[0]->info;
  EXPECT_EQ(first.nominalWidth, 3072);
  EXPECT_EQ(first.nominalHeight, 2048);
  EXPECT_EQ(window_.photos()[2]->info.nominalWidth, 2048);
  EXPECT_EQ(window_.photos()[2]->info.nominalHeight, 3072);
  FILETIME date = {static_cast<DWORD>(first.date), static_cast<DWORD>(first.date >> 32)};
  SYSTEMTIME day = {};
  ASSERT_TRUE(FileTimeToSystemTime(&date, &day));
  EXPECT_EQ(day.wYear, 1996);
  EXPECT_EQ(day.wMonth, 5);
  EXPECT_EQ(day.wDay, 14);
  EXPECT_EQ(StatusText(1), "24 photos.");
  EXPECT_FALSE(StatusText(0).empty());  // the disc's date and time
  // Photo 1 is focused and selected; the item carries its PhotoItem.
  EXPECT_EQ(SendMessageA(window_.list(), LVM_GETITEMSTATE, 0, LVIS_FOCUSED | LVIS_SELECTED),
            LVIS_FOCUSED | LVIS_SELECTED);
  // Child windows by id, and the toolbar inside a rebar with these controls.
  EXPECT_EQ(GetDlgItem(window_.hwnd(), kListId), window_.list());
  EXPECT_EQ(GetDlgCtrlID(window_.statusBar()), kStatusBarId);
  ASSERT_NE(window_.rebar(), nullptr);
  EXPECT_EQ(GetParent(window_.toolbar()), window_.rebar());
  EXPECT_EQ(SendMessageA(window_.toolbar(), TB_BUTTONCOUNT, 0, 0), 14);
}

TEST_F(BrowseWindowTest, ThumbnailsArriveForEveryPhotoAndTheLoaderEnds) {
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  EXPECT_TRUE(window_.NeedsIdle());
  ASSERT_TRUE(RunUntil([&] { return !window_.LoaderRunning(); }, 20000));
  EXPECT_FALSE(window_.NeedsIdle());  // the main loop blocks again
  for (std::size_t i = 0; i < window_.photos().Count(); ++i) {
    const imaging::PackedDib* thumbnail = window_.photos()[i]->thumbnail.load();
    ASSERT_NE(thumbnail, nullptr) << "photo " << i + 1;
    EXPECT_EQ(thumbnail->header()->bitCount, DisplayDepth() <= 8 ? 8 : 24);
    EXPECT_EQ(std::abs(thumbnail->header()->width) * std::abs(thumbnail->header()->height), 96 * 64);
  }
}

TEST_F(BrowseWindowTest, EachIdleStepLetsTheLoaderMakeAtMostOneThumbnail) {
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  // The work event starts set: one thumbnail comes without any idle step.
  ASSERT_TRUE(WaitForThumbnails(1, 3000));
  Sleep(300);
  EXPECT_EQ(ThumbnailCount(), 1);
  for (int step = 2; step <= 4; ++step) {
    window_.DoIdle();
    ASSERT_TRUE(WaitForThumbnails(step, 3000));
    Sleep(100);
    EXPECT_EQ(ThumbnailCount(), step);
  }
}

TEST_F(BrowseWindowTest, ScrollingMovesTheLoaderToTheFirstVisiblePhoto) {
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  ASSERT_TRUE(WaitForThumbnails(1, 3000));
  // Small enough that only a few rows show.
  SetWindowPos(window_.hwnd(), nullptr, 0, 0, 420, 320, SWP_NOMOVE | SWP_NOZORDER);
  SendMessageA(window_.list(), LVM_ENSUREVISIBLE, kSamplePhotos - 1, FALSE);
  Pump();
  int topVisible = FirstVisibleItem();
  ASSERT_GT(topVisible, 6);
  window_.DoIdle();
  ASSERT_TRUE(WaitForThumbnails(2, 3000));
  std::vector<int> made = PhotosWithThumbnails();
  ASSERT_EQ(made.size(), 2u);
  // Not the next photo in disc order but one at most a row before the first
  // wholly visible one.
  EXPECT_GT(made[1], topVisible - 6);
  EXPECT_LE(made[1], topVisible);
  // The following steps continue from there.
  window_.DoIdle();
  ASSERT_TRUE(WaitForThumbnails(3, 3000));
  made = PhotosWithThumbnails();
  EXPECT_NE(made[1], 1);
}

TEST_F(BrowseWindowTest, UndecodableThumbnailKeepsThePlaceholderAndTheLoaderStillEnds) {
  ScopedDiscCopy copy('C', TruncateLastThumbnail);
  ASSERT_TRUE(copy.made());
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  EXPECT_EQ(window_.disc().root, "C:\\PHOTO_CD");
  ASSERT_TRUE(RunUntil([&] { return !window_.LoaderRunning(); }, 20000));
  EXPECT_EQ(ThumbnailCount(), kSamplePhotos - 1);
  EXPECT_EQ(window_.photos()[kSamplePhotos - 1]->thumbnail.load(), nullptr);
  EXPECT_EQ(window_.photos()[kSamplePhotos - 1]->imageIndex.load(), 0);
  window_.Destroy();
}

TEST_F(BrowseWindowTest, WithoutADiscTheStatusBarSaysSoAndCommandsAreGreyed) {
  window_.SetProbedDrives('E', 'Y');
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  EXPECT_EQ(window_.disc().overview, nullptr);
  EXPECT_EQ(ListCount(), 0);
  EXPECT_EQ(StatusText(0), "No Photo CD present.");
  EXPECT_FALSE(window_.LoaderRunning());
  HMENU menu = GetMenu(window_.hwnd());
  EXPECT_TRUE(GetMenuState(menu, CMD_SELECT_ALL, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(GetMenuState(menu, CMD_OPEN_DISC, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(GetMenuState(menu, CMD_ABOUT, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(SendMessageA(window_.toolbar(), TB_ISBUTTONENABLED, CMD_VIEW, 0));
  EXPECT_TRUE(SendMessageA(window_.toolbar(), TB_ISBUTTONENABLED, CMD_HELP_CONTENTS, 0));
}

TEST_F(BrowseWindowTest, InteractiveOpenWithoutADiscAsksRetryOrCancel) {
  window_.SetProbedDrives('E', 'Y');
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  std::vector<std::string> texts;
  DialogHook hook([&](HWND box) {
    texts.push_back(DialogHook::MessageText(box));
    DialogHook::Press(box, texts.size() == 1 ? IDRETRY : IDCANCEL);
  });
  EXPECT_FALSE(window_.OpenDisc(true));
  ASSERT_EQ(texts.size(), 2u);  // Retry searched again and asked again
  EXPECT_EQ(texts[0], "Kodak Photo CD not found.\nPlease place a Photo CD into the drive.");
  EXPECT_EQ(StatusText(0), "No Photo CD present.");
}

TEST_F(BrowseWindowTest, CancellingTheScanLeavesTheListEmpty) {
  window_.SetProbedDrives('E', 'Y');
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  window_.SetProbedDrives('C', 'Z');
  auto* progress = new CancellingProgress(10);
  window_.SetScanProgress(std::unique_ptr<ScanProgress>(progress));
  EXPECT_FALSE(window_.OpenDisc(true));
  EXPECT_EQ(progress->shown(), 10);
  EXPECT_TRUE(progress->ended());
  EXPECT_EQ(ListCount(), 0);
  EXPECT_EQ(window_.photos().Count(), 0u);
  EXPECT_FALSE(window_.LoaderRunning());
}

TEST_F(BrowseWindowTest, RemovalOfTheOpenDiscClosesItAndOtherRemovalsDoNot) {
  {
    ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
    // D: is still there: a removal reported for another medium changes nothing.
    EXPECT_EQ(SendVolumeChange(DBT_DEVICEREMOVECOMPLETE, 'E'), TRUE);
    EXPECT_EQ(ListCount(), kSamplePhotos);
  }
  window_.Destroy();
  BrowseWindow second;
  ScopedDiscCopy copy('C', nullptr);
  ASSERT_TRUE(second.Create(SW_SHOWNORMAL));
  ASSERT_EQ(second.disc().root, "C:\\PHOTO_CD");
  copy.Remove();
  DEV_BROADCAST_VOLUME volume = {};
  volume.dbcv_size = sizeof volume;
  volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
  volume.dbcv_unitmask = 1u << ('C' - 'A');
  EXPECT_EQ(SendMessageA(second.hwnd(), WM_DEVICECHANGE, DBT_DEVICEREMOVECOMPLETE, reinterpret_cast<LPARAM>(&volume)),
            TRUE);
  EXPECT_EQ(second.disc().overview, nullptr);
  EXPECT_EQ(second.photos().Count(), 0u);
  EXPECT_EQ(SendMessageA(second.list(), LVM_GETITEMCOUNT, 0, 0), 0);
  second.Destroy();
}

TEST_F(BrowseWindowTest, ViewersAreDroppedWhenTheirFramesCloseAndGiveWayInIdleSteps) {
  window_.SetProbedDrives('E', 'Y');
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  int deleted = 0;
  auto* first = new FakeViewer(&deleted);
  auto* second = new FakeViewer(&deleted);
  window_.AddViewer(first);
  window_.AddViewer(second);
  EXPECT_FALSE(window_.NeedsIdle());
  second->idleWork = 2;
  EXPECT_TRUE(window_.NeedsIdle());
  window_.DoIdle();
  EXPECT_EQ(second->idleWork, 1);
  // The viewer's frame tells its parent it is gone: exactly that viewer goes.
  // A viewer whose command is still on the stack stays until it reports again.
  first->busy = true;
  SendMessageA(window_.hwnd(), WM_PARENTNOTIFY, WM_DESTROY, reinterpret_cast<LPARAM>(first->Frame()));
  EXPECT_EQ(window_.ViewerCount(), 2u);
  first->busy = false;
  SendMessageA(window_.hwnd(), WM_PARENTNOTIFY, WM_DESTROY, reinterpret_cast<LPARAM>(first->Frame()));
  EXPECT_EQ(window_.ViewerCount(), 1u);
  EXPECT_EQ(deleted, 1);
  SendMessageA(window_.hwnd(), WM_PARENTNOTIFY, WM_CREATE, reinterpret_cast<LPARAM>(second->Frame()));
  EXPECT_EQ(window_.ViewerCount(), 1u);
  window_.CloseDisc();  // closing the disc closes every viewer
  EXPECT_EQ(window_.ViewerCount(), 0u);
  EXPECT_EQ(deleted, 2);
}

TEST_F(BrowseWindowTest, ThumbnailsWaitWhileAViewerHasIdleWork) {
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  ASSERT_TRUE(WaitForThumbnails(1, 3000));  // the work event starts set
  int deleted = 0;
  auto* viewer = new FakeViewer(&deleted);
  viewer->idleWork = 3;
  window_.AddViewer(viewer);
  for (int step = 0; step < 3; ++step) window_.DoIdle();
  EXPECT_EQ(viewer->idleWork, 0);
  Sleep(200);
  EXPECT_EQ(ThumbnailCount(), 1);
  window_.DoIdle();  // the viewer is done: now the loader gets its turn
  EXPECT_TRUE(WaitForThumbnails(2, 3000));
}

TEST_F(BrowseWindowTest, OnAnEightBitDisplayEveryThumbnailSharesTheFirstOnesPalette) {
  if (DisplayDepth() != 8) GTEST_SKIP() << "needs a 256-colour display (LUMIVEXA_SCREEN=1024x768x8)";
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  ASSERT_TRUE(RunUntil([&] { return !window_.LoaderRunning(); }, 20000));
  ASSERT_NE(window_.Palette(), nullptr);
  PALETTEENTRY entries[256];
  ASSERT_EQ(GetPaletteEntries(window_.Palette(), 0, 256, entries), 256u);
  for (std::size_t i = 0; i < window_.photos().Count(); ++i) {
    const imaging::PackedDib* thumbnail = window_.photos()[i]->thumbnail.load();
    ASSERT_NE(thumbnail, nullptr);
    ASSERT_EQ(thumbnail->header()->bitCount, 8);  // indexed into the shared table
    const imaging::RgbQuad* colours = thumbnail->colours();
    for (int c = 0; c < 256; c += 37) {
      EXPECT_EQ(colours[c].red, entries[c].peRed);
      EXPECT_EQ(colours[c].blue, entries[c].peBlue);
    }
  }
  // Realising it again changes nothing.
  SendMessageA(window_.hwnd(), WM_QUERYNEWPALETTE, 0, 0);
  EXPECT_EQ(SendMessageA(window_.hwnd(), WM_QUERYNEWPALETTE, 0, 0), 0);
}

TEST_F(BrowseWindowTest, ADiscArrivingDuringARetryBoxWaitsUntilTheOpenIsOver) {
  ScopedDiscCopy copy('C', nullptr);
  ASSERT_TRUE(copy.made());
  DeleteFileA("C:\\PHOTO_CD\\INFO.PCD");  // C: holds a disc whose information is unreadable
  window_.SetProbedDrives('C', 'C');
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  int boxes = 0;
  DialogHook hook([&](HWND box) {
    if (DialogHook::Text(box) != "Lumivexa SE") return;  // the scan's progress window
    if (++boxes == 1) {
      // A disc arrives in D: and its timer fires while the box is up.
      window_.SetProbedDrives('D', 'D');
      SendVolumeChange(DBT_DEVICEARRIVAL, 'D');
      PostMessageA(window_.hwnd(), WM_TIMER, 1, 0);
    }
    DialogHook::Press(box, boxes == 1 ? IDRETRY : IDCANCEL);
  });
  EXPECT_FALSE(window_.OpenDisc(true));
  EXPECT_EQ(boxes, 2);  // Retry read C: again
  EXPECT_EQ(window_.disc().overview, nullptr);
  // The new disc opens once the failed open is over, each photo listed once.
  ASSERT_TRUE(RunUntil([&] { return ListCount() > 0; }, 5000));
  EXPECT_EQ(window_.disc().root, "D:\\PHOTO_CD");
  EXPECT_EQ(ListCount(), kSamplePhotos);
  EXPECT_EQ(window_.photos().Count(), static_cast<std::size_t>(kSamplePhotos));
}

TEST_F(BrowseWindowTest, TheThumbnailImageListIsReleasedOnceWithTheWindow) {
  window_.SetProbedDrives('E', 'Y');
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  // An image list is a reference-counted object; two references of our own keep
  // it alive whatever the window releases.
  auto* images = reinterpret_cast<IUnknown*>(
      SendMessageA(window_.list(), LVM_GETIMAGELIST, LVSIL_NORMAL, 0));
  ASSERT_NE(images, nullptr);
  images->AddRef();
  images->AddRef();
  window_.Destroy();
  EXPECT_EQ(images->AddRef(), 3u);  // the window gave up its one reference, once
  while (images->Release() > 0) {
  }
}

TEST_F(BrowseWindowTest, ADiscArrivingReopensTheDiscAfterThreeSeconds) {
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  window_.CloseDisc();
  ASSERT_EQ(ListCount(), 0);
  EXPECT_EQ(SendVolumeChange(DBT_DEVICEARRIVAL, 'F'), TRUE);
  RunUntil([] { return false; }, 2500);
  EXPECT_EQ(ListCount(), 0);  // not yet
  ASSERT_TRUE(RunUntil([&] { return ListCount() == kSamplePhotos; }, 2000));
  EXPECT_EQ(StatusText(1), "24 photos.");
}

// A scratch that loses the overview from photo 20 on: the image packs of
// those photos are there and give their thumbnails.
TEST_F(BrowseWindowTest, ThumbnailsTheOverviewLostComeFromTheImagePacks) {
  ScopedDiscCopy copy('C', [](const std::string& overviewPath) {
    HANDLE file = CreateFileA(overviewPath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFilePointer(file, 0x2800 + 0x9000 * 19 + 0x100, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
  });
  ASSERT_TRUE(copy.made());
  CreateDirectoryA("C:\\PHOTO_CD\\IMAGES", nullptr);
  char from[64], to[64];
  for (int n = 20; n <= kSamplePhotos; ++n) {
    std::snprintf(from, sizeof from, "D:\\PHOTO_CD\\IMAGES\\IMG%04d.PCD", n);
    std::snprintf(to, sizeof to, "C:\\PHOTO_CD\\IMAGES\\IMG%04d.PCD", n);
    ASSERT_TRUE(CopyFileA(from, to, FALSE)) << from;
  }
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  ASSERT_EQ(window_.disc().root, "C:\\PHOTO_CD");
  ASSERT_TRUE(RunUntil([&] { return !window_.LoaderRunning(); }, 20000));
  EXPECT_EQ(ThumbnailCount(), kSamplePhotos);  // the pixels themselves: OverviewTest
  window_.Destroy();
  for (int n = 20; n <= kSamplePhotos; ++n) {
    std::snprintf(to, sizeof to, "C:\\PHOTO_CD\\IMAGES\\IMG%04d.PCD", n);
    DeleteFileA(to);
  }
  RemoveDirectoryA("C:\\PHOTO_CD\\IMAGES");
}

}  // namespace
