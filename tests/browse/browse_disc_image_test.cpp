// Disc images in the browse window: File > "Open disc image..." through the
// system's open dialog, the recent images in the menu and the settings, a
// dropped image, a refused one that leaves the open disc as it was, and
// photos copied from an image as files the shell can paste.
#include <windows.h>
#include <commdlg.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "browse_test_support.h"
#include "resources/command_ids.h"
#include "settings/settings_store_win.h"
#include "tests/support/dialog_hook_win.h"
#include "tests/support/progress_hook_win.h"
#include "tests/support/screenshot_win.h"
#include "ui/mru_list.h"

namespace {

constexpr int kFileNameCombo = 0x47C;  // the open dialog's file name box
constexpr int kFileNameEdit = 0x480;   // its older form

// build\, beside build\screenshots, where the sample disc's images are written.
std::string BuildFolder() {
  std::string screenshots = ScreenshotFolder();
  return screenshots.substr(0, screenshots.find_last_of('\\'));
}

std::string MenuText(HMENU menu, UINT id) {
  char text[MAX_PATH] = "";
  GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND);
  return text;
}

MruList StoredRecentImages() {
  std::vector<unsigned char> value;
  RegistrySettingsStore store(kSettingsKeyPath, RegistrySettingsStore::Access::kRead);
  return store.readAll("RecentDiscImages", &value) ? DecodeMruList(value) : MruList();
}

std::string FileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string g_openedIn;
VOID CALLBACK ReadFolderAndCancel(HWND dialog, UINT, UINT_PTR timer, DWORD) {
  KillTimer(dialog, timer);
  char folder[MAX_PATH] = "";
  SendMessageA(dialog, CDM_GETFOLDERPATH, sizeof folder, reinterpret_cast<LPARAM>(folder));
  g_openedIn = folder;
  DialogHook::Press(dialog, IDCANCEL);
}

void ForgetRecentImages() { RegistrySettingsStore(kSettingsKeyPath, RegistrySettingsStore::Access::kWrite).write("RecentDiscImages", "", 1); }

}  // namespace

TEST_F(BrowseWindowTest, DiscImagesOpenFromTheFileMenuAndByDropping) {
  const std::string cue = BuildFolder() + "\\sample-disc.cue", iso = BuildFolder() + "\\sample-disc.iso";
  if (GetFileAttributesA(cue.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no sample disc image";
  ForgetRecentImages();
  window_.SetProbedDrives('Q', 'Q');  // no drive holds a disc
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  ASSERT_EQ(ListCount(), 0);

  // File > Open disc image...: the open dialog is answered with the .cue
  // (the scan's progress window, also a dialog, is left alone).
  bool answered = false;
  DialogHook hook([&](HWND dialog) {
    if (answered) return;
    answered = true;
    HWND name = GetDlgItem(dialog, kFileNameCombo) ? GetDlgItem(dialog, kFileNameCombo) : GetDlgItem(dialog, kFileNameEdit);
    SetWindowTextA(name, cue.c_str());
    DialogHook::Press(dialog, IDOK);
  });
  SendMessageA(window_.hwnd(), WM_COMMAND, CMD_OPEN_DISC_IMAGE, 0);
  EXPECT_TRUE(answered);
  EXPECT_EQ(window_.disc().image, cue);
  ASSERT_EQ(ListCount(), 24);
  ASSERT_TRUE(RunUntil([&] { return !window_.LoaderRunning(); }, 30000));
  EXPECT_EQ(ThumbnailCount(), 24);
  EXPECT_EQ(StatusText(1), "24 photos.");
  HMENU file = GetSubMenu(GetMenu(window_.hwnd()), 0);
  const std::string recent = MenuText(file, CMD_RECENT_IMAGE_FIRST);
  EXPECT_EQ(recent.rfind("&1 ", 0), 0u) << recent;
  EXPECT_NE(recent.find("\\sample-disc.cue"), std::string::npos) << recent;
  SaveScreenshot(window_.hwnd(), "browse-image");

  // The .iso dropped on the list: it becomes the open disc and the first recent image.
  DropFiles(window_.hwnd(), {iso});
  EXPECT_EQ(window_.disc().image, iso);
  EXPECT_EQ(ListCount(), 24);
  EXPECT_EQ(StoredRecentImages(), (MruList{iso, cue}));

  // A file that holds no disc: a message says why and the open disc stays.
  const std::string bogus = BuildFolder() + "\\not-a-disc.iso";
  std::ofstream(bogus, std::ios::binary) << std::string(40000, 'x');
  std::string message;
  DialogHook refusal([&](HWND box) {
    message = DialogHook::MessageText(box);
    DialogHook::Press(box, IDOK);
  });
  EXPECT_FALSE(window_.OpenDiscImage(bogus, true));
  DeleteFileA(bogus.c_str());
  EXPECT_NE(message.find("cannot be opened: the image holds no ISO 9660 volume"), std::string::npos) << message;
  EXPECT_EQ(window_.disc().image, iso);
  EXPECT_EQ(ListCount(), 24);

  // A recent image from the menu opens again.
  SendMessageA(window_.hwnd(), WM_COMMAND, CMD_RECENT_IMAGE_FIRST + 1, 0);
  EXPECT_EQ(window_.disc().image, cue);

  // A disc arriving in drive D: (its timer firing) leaves the image open.
  window_.SetProbedDrives('D', 'D');
  SendMessageA(window_.hwnd(), WM_TIMER, 1, 0);
  EXPECT_EQ(window_.disc().image, cue);
  // A photo's pack is named as the image's directory spells it, as on a drive.
  const std::string pack = window_.photos()[11]->path;
  EXPECT_EQ(pack.substr(pack.find_last_of('\\') + 1).rfind("IMG0012.PCD", 0), 0u) << pack;

  // The open dialog starts where the last image was opened (here one dropped
  // from another folder), not in the disc's folder nor where it was last used.
  const std::string elsewhere = BuildFolder() + "\\images-elsewhere";
  CreateDirectoryA(elsewhere.c_str(), nullptr);
  const std::string moved = elsewhere + "\\sample.iso";
  ASSERT_TRUE(CreateHardLinkA(moved.c_str(), iso.c_str(), nullptr) || CopyFileA(iso.c_str(), moved.c_str(), FALSE));
  DropFiles(window_.hwnd(), {moved});
  SetCurrentDirectoryA("D:\\PHOTO_CD");  // as a disc opened from a drive leaves it
  {
    DialogHook cancel([&](HWND dialog) { SetTimer(dialog, 1, 300, ReadFolderAndCancel); });
    SendMessageA(window_.hwnd(), WM_COMMAND, CMD_OPEN_DISC_IMAGE, 0);
  }
  window_.CloseDisc();
  DeleteFileA(moved.c_str());
  RemoveDirectoryA(elsewhere.c_str());
  EXPECT_EQ(lstrcmpiA(g_openedIn.c_str(), elsewhere.c_str()), 0) << g_openedIn;
  ForgetRecentImages();
}

TEST_F(BrowseWindowTest, PhotosCopiedFromADiscImageArePastableFilesWithTheDiscsBytes) {
  const std::string iso = BuildFolder() + "\\sample-disc.iso";
  if (GetFileAttributesA(iso.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no sample disc image";
  window_.SetProbedDrives('Q', 'Q');
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  ASSERT_TRUE(window_.OpenDiscImage(iso, true));
  SelectOnly(window_.list(), {1, 4});
  SendMessageA(window_.hwnd(), WM_COMMAND, CMD_COPY, 0);
  ASSERT_TRUE(OpenClipboard(window_.hwnd()));
  const std::vector<std::string> files = ClipboardFiles();
  CloseClipboard();
  ASSERT_EQ(files.size(), 2u);
  for (int k = 0; k < 2; ++k) {
    const std::string name = k == 0 ? "IMG0002.PCD" : "IMG0005.PCD";
    // Named as the disc records it (the sample disc's names are lower case).
    EXPECT_EQ(lstrcmpiA(files[k].substr(files[k].rfind("\\Lumivexa SE\\")).c_str(),
                        ("\\Lumivexa SE\\sample-disc\\" + name).c_str()), 0) << files[k];
    const std::string copied = FileBytes(files[k]);
    EXPECT_GT(copied.size(), 700000u);
    EXPECT_TRUE(copied == FileBytes("D:\\PHOTO_CD\\IMAGES\\" + name)) << name << " differs from the disc's";
  }
  ForgetRecentImages();
  // The copies go with the program.
  window_.Destroy();
  for (const std::string& file : files) EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES) << file;
  const std::string folder = files[0].substr(0, files[0].rfind("\\sample-disc\\"));
  EXPECT_EQ(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES) << folder;
}

TEST_F(BrowseWindowTest, ACancelledCopyOutOfADiscImageCopiesNothingAndLeavesNoPart) {
  const std::string iso = BuildFolder() + "\\sample-disc.iso";
  if (GetFileAttributesA(iso.c_str()) == INVALID_FILE_ATTRIBUTES) GTEST_SKIP() << "no sample disc image";
  window_.SetProbedDrives('Q', 'Q');
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  ASSERT_TRUE(window_.OpenDiscImage(iso, true));
  ASSERT_TRUE(OpenClipboard(window_.hwnd()));
  EmptyClipboard();
  CloseClipboard();
  SelectOnly(window_.list(), {1, 4});
  std::vector<std::string> boxes;
  DialogHook hook([&](HWND box) {
    if (!GetDlgItem(box, IDC_PROGRESS_BAR)) boxes.push_back(DialogHook::MessageText(box));
  });
  {
    ProgressHook cancel(1, ProgressHook::Cancel);  // once the copy out of the image has begun
    SendMessageA(window_.hwnd(), WM_COMMAND, CMD_COPY, 0);
    EXPECT_TRUE(cancel.fired());
  }
  EXPECT_TRUE(boxes.empty());
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_HDROP));
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  const std::string part = std::string(temp) + "Lumivexa SE\\sample-disc\\IMG0002.PCD";
  EXPECT_EQ(GetFileAttributesA(part.c_str()), INVALID_FILE_ATTRIBUTES);
  ForgetRecentImages();
}
