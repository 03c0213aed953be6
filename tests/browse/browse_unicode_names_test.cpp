// Names beyond the ANSI code page through every way the browse window takes
// one: the open dialog, a drop, the folder browser, and Export's Browse into
// a target of such a name, which then receives the files.
#include <filesystem>
#include <functional>
#include <utility>
#include <vector>

#include "browse_test_support.h"
#include "export/export_plan.h"
#include "resources/command_ids.h"
#include "settings/settings_store_win.h"
#include "tests/support/dialog_hook_win.h"
#include "tests/support/folder_copy.h"
#include "tests/support/screenshot_win.h"

namespace {

namespace fs = std::filesystem;

constexpr int kFileNameCombo = 0x47C;  // the open dialog's file name box
constexpr int kFileNameEdit = 0x480;   // its older form

void ForgetRecent() {
  RegistrySettingsStore store(kSettingsKeyPath, RegistrySettingsStore::Access::kWrite);
  for (const char* value : {"RecentDiscImages", "MRUExportPaths"}) store.write(value, "", 1);
}

std::string Title(HWND window) { return DialogHook::Text(window); }

}  // namespace

TEST_F(BrowseWindowTest, NamesBeyondTheAnsiCodePageOpenFromEveryEntryAndReceiveExports) {
  const std::string screenshots = ScreenshotFolder();
  const std::string build = screenshots.substr(0, screenshots.find_last_of('\\'));
  const std::string folder = build + u8"\\写真 фото";
  const std::string image = build + u8"\\写真 фото.iso";
  const std::string target = folder + u8"\\出力 выход";
  std::error_code ignored;
  fs::remove_all(fs::u8path(folder), ignored);
  fs::remove(fs::u8path(image), ignored);
  if (!CopyFolder("D:\\PHOTO_CD", fs::u8path(folder + "\\PHOTO_CD")) ||
      !fs::copy_file(fs::u8path(build + "\\sample-disc.iso"), fs::u8path(image), ignored))
    GTEST_SKIP() << "no sample disc or its image";
  fs::create_directories(fs::u8path(target), ignored);
  ForgetRecent();
  window_.SetProbedDrives('Q', 'Q');  // no drive holds a disc
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));

  // The dialog an entry opens (the system's open dialog, the folder browser)
  // is filled and confirmed; progress windows are left alone; any other box
  // (a complaint about the name) is answered and remembered.
  std::function<void(HWND)> fill;
  std::vector<std::string> complaints;
  struct Entry {
    const char* name;
    std::function<void(HWND)> fill;  // null: the entry opens no dialog
    std::function<void()> open;
    std::string disc;  // the image or folder then open
  };
  const Entry entries[] = {
      {"Open disc image",
       [&](HWND dialog) {
         HWND name = GetDlgItem(dialog, kFileNameCombo) ? GetDlgItem(dialog, kFileNameCombo)
                                                        : GetDlgItem(dialog, kFileNameEdit);
         SetWindowTextW(name, Utf16(image).c_str());
       },
       [&] { SendMessageW(window_.hwnd(), WM_COMMAND, CMD_OPEN_DISC_IMAGE, 0); }, image},
      {"drop", nullptr, [&] { DropFiles(window_.hwnd(), {folder}); }, folder},
      // The folder browser starts at the folder opened last: the one dropped.
      {"Open folder", [](HWND) {},
       [&] {
         window_.CloseDisc();
         SendMessageW(window_.hwnd(), WM_COMMAND, CMD_OPEN_FOLDER, 0);
       },
       folder},
  };
  {
    DialogHook hook([&](HWND dialog) {
      if (GetDlgItem(dialog, IDC_PROGRESS_BAR)) return;
      if (std::function<void(HWND)> filling = std::exchange(fill, nullptr))
        filling(dialog);
      else
        complaints.push_back(DialogHook::MessageText(dialog));
      DialogHook::Press(dialog, IDOK);
    });
    for (const Entry& entry : entries) {
      fill = entry.fill;
      entry.open();
      const std::string& open = window_.disc().image.empty() ? window_.disc().folder : window_.disc().image;
      // Stop at the first entry that failed: the folder browser would start far off.
      ASSERT_EQ(open, entry.disc) << entry.name << " " << ::testing::PrintToString(complaints);
      EXPECT_EQ(ListCount(), 24) << entry.name;
      EXPECT_NE(Title(window_.hwnd()).find(entry.disc.substr(entry.disc.find(u8"写真"))), std::string::npos)
          << entry.name << ": " << Title(window_.hwnd());
    }
  }
  ASSERT_TRUE(RunUntil([&] { return !window_.LoaderRunning(); }, 30000));
  EXPECT_EQ(ThumbnailCount(), 24);

  // Export: Browse starts at the typed target and gives it back; the photos go there.
  SelectOnly(window_.list(), {1});
  std::string browsed;
  DialogHook hook([&](HWND dialog) {
    if (GetDlgItem(dialog, IDC_PROGRESS_BAR)) return;
    if (!GetDlgItem(dialog, IDC_EXPORT_FOLDER)) {  // the folder browser
      DialogHook::Press(dialog, IDOK);
      return;
    }
    SendDlgItemMessageW(dialog, IDC_EXPORT_FORMAT, CB_SETCURSEL, imagefile::ExportFormatRow(imagefile::kFormatBmp), 0);
    SetDlgItemTextW(dialog, IDC_EXPORT_FOLDER, Utf16(target).c_str());
    SendMessageW(dialog, WM_COMMAND, IDC_EXPORT_BROWSE, 0);
    browsed = DialogHook::Text(GetDlgItem(dialog, IDC_EXPORT_FOLDER));
    DialogHook::Press(dialog, IDOK);
  });
  SendMessageW(window_.hwnd(), WM_COMMAND, CMD_EXPORT, 0);
  EXPECT_EQ(browsed, target);
  EXPECT_TRUE(fs::exists(fs::u8path(target + "\\IMG0002.bmp")));
  window_.Destroy();
  ForgetRecent();
  fs::remove_all(fs::u8path(folder), ignored);
  fs::remove(fs::u8path(image), ignored);
}
