// Folders opened as the disc: a Photo CD copied to a hard disk without its
// overview pack, renamed loose packs among other files, and a folder with
// nothing to show, which leaves the open disc alone.
#include <filesystem>
#include <fstream>
#include <utility>

#include "browse_test_support.h"
#include "photocd/image_pack.h"
#include "resources/command_ids.h"
#include "settings/settings_store_win.h"
#include "tests/support/dialog_hook_win.h"
#include "tests/support/screenshot_win.h"

namespace {

namespace fs = std::filesystem;

// A fresh folder under build\ (beside build\screenshots), removed with its contents.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name) {
    const std::string screenshots = ScreenshotFolder();
    path_ = screenshots.substr(0, screenshots.find_last_of('\\')) + "\\" + name;
    fs::remove_all(path_, ignored_);
    fs::create_directories(path_, ignored_);
  }
  ~ScratchFolder() { fs::remove_all(path_, ignored_); }
  const std::string& path() const { return path_; }

  // The disc's file under a new name: a link to it, or a copy where links fail.
  bool Link(const fs::path& from, const std::string& relative) {
    const fs::path to = fs::path(path_) / relative;
    fs::create_directories(to.parent_path(), ignored_);
    fs::create_hard_link(from, to, ignored_);
    return fs::exists(to, ignored_) || fs::copy_file(from, to, ignored_);
  }

 private:
  std::string path_;
  std::error_code ignored_;
};

std::string Title(HWND window) {
  char text[MAX_PATH] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

std::string FileName(const std::string& path) { return path.substr(path.find_last_of('\\') + 1); }

void ForgetRecent() {
  RegistrySettingsStore(kSettingsKeyPath, RegistrySettingsStore::Access::kWrite).write("RecentDiscImages", "", 1);
}

}  // namespace

TEST_F(BrowseWindowTest, ACopiedDiscWithoutItsOverviewShowsEveryPhotoFromItsPacks) {
  ScratchFolder copy("folder-copied-disc");
  const std::string disc = "D:\\PHOTO_CD";
  for (const fs::directory_entry& file : fs::recursive_directory_iterator(disc)) {
    if (file.is_regular_file() && file.path().filename() != "OVERVIEW.PCD") {
      ASSERT_TRUE(copy.Link(file.path(), "PHOTO_CD" + file.path().string().substr(disc.size())));
    }
  }
  window_.SetProbedDrives('Q', 'Q');
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  ASSERT_TRUE(window_.OpenFolder(copy.path(), true));
  ForgetRecent();
  EXPECT_EQ(window_.disc().overview, nullptr);
  EXPECT_EQ(Title(window_.hwnd()), "Lumivexa SE - " + copy.path());
  ASSERT_EQ(ListCount(), 24);
  ASSERT_TRUE(RunUntil([&] { return !window_.LoaderRunning(); }, 30000));
  EXPECT_EQ(ThumbnailCount(), 24);
  EXPECT_EQ(StatusText(1), "24 photos.");  // INFO.PCD is there: its date comes first
  EXPECT_EQ(FileName(window_.photos()[23]->path), "IMG0024.PCD");

  // Photo 4's 64BASE extension is found where the disc keeps it, beside IMAGES.
  ImagePack* pack = nullptr;
  ASSERT_EQ(PcdOpenImagePack(window_.photos()[3]->path.c_str(), pack), 0);
  std::uint16_t levels = 0;
  int count = 0;
  PcdGetResolutionMask(pack, levels, count);
  PcdCloseImagePack(pack);
  EXPECT_TRUE(levels & (1 << 6)) << "levels " << levels;

  SelectOnly(window_.list(), {2});
  SendMessageA(window_.hwnd(), WM_COMMAND, CMD_VIEW, 0);
  ASSERT_EQ(window_.ViewerCount(), 1u);
  EXPECT_TRUE(IsWindowVisible(window_.Viewer(0)->Frame()));

  // A damaged overview pack gives way to the packs too.
  std::ofstream(copy.path() + "\\PHOTO_CD\\OVERVIEW.PCD", std::ios::binary) << std::string(3000, 'x');
  ASSERT_TRUE(window_.OpenFolder(copy.path() + "\\PHOTO_CD", true));
  ForgetRecent();
  EXPECT_EQ(window_.ViewerCount(), 0u);
  EXPECT_EQ(ListCount(), 24);
}

TEST_F(BrowseWindowTest, RenamedLoosePacksAmongOtherFilesShowInNameOrder) {
  ScratchFolder loose("folder-loose-packs");
  ASSERT_TRUE(loose.Link("D:\\PHOTO_CD\\IMAGES\\IMG0003.PCD", "wedding-10.pcd"));
  ASSERT_TRUE(loose.Link("D:\\PHOTO_CD\\IMAGES\\IMG0001.PCD", "wedding-2.PCD"));
  ASSERT_TRUE(loose.Link("D:\\PHOTO_CD\\IMAGES\\IMG0007.PCD", "Wedding-1.dat"));
  ASSERT_TRUE(loose.Link("D:\\PHOTO_CD\\IMAGES\\IMG0012.PCD", "wedding-3.pcd"));
  ASSERT_TRUE(loose.Link("D:\\PHOTO_CD\\INFO.PCD", "info.pcd"));  // not a photo, nor a disc without PHOTO_CD
  std::ofstream(loose.path() + "\\notes.txt") << "Our wedding, scanned in 1996.\n";
  std::ofstream(loose.path() + "\\broken.pcd", std::ios::binary) << std::string(5000, 'x');
  ASSERT_TRUE(loose.Link("D:\\PHOTO_CD\\IMAGES\\IMG0005.PCD", "more\\wedding-4.pcd"));  // subfolders are not searched

  window_.SetProbedDrives('D', 'D');
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  ASSERT_EQ(ListCount(), 24);
  DropFiles(window_.hwnd(), {loose.path()});
  EXPECT_EQ(window_.disc().folder, loose.path());
  ASSERT_EQ(ListCount(), 4);
  std::vector<std::string> names;
  for (std::size_t i = 0; i < window_.photos().Count(); ++i) names.push_back(FileName(window_.photos()[i]->path));
  EXPECT_EQ(names, (std::vector<std::string>{"Wedding-1.dat", "wedding-2.PCD", "wedding-3.pcd", "wedding-10.pcd"}));
  ASSERT_TRUE(RunUntil([&] { return !window_.LoaderRunning(); }, 30000));
  EXPECT_EQ(ThumbnailCount(), 4);
  EXPECT_EQ(StatusText(0), "4 photos.");  // no INFO.PCD, so no disc date
  EXPECT_EQ(SendMessageA(window_.statusBar(), SB_GETPARTS, 0, 0), 1);
  EXPECT_EQ(Title(window_.hwnd()), "Lumivexa SE - " + loose.path());
  HMENU file = GetSubMenu(GetMenu(window_.hwnd()), 0);
  char recent[MAX_PATH] = "";
  GetMenuStringA(file, CMD_RECENT_IMAGE_FIRST, recent, sizeof recent, MF_BYCOMMAND);
  EXPECT_NE(std::string(recent).find("folder-loose-packs"), std::string::npos) << recent;
  SaveScreenshot(window_.hwnd(), "browse-folder");

  // A disc arriving in a drive leaves the folder open, as it does an image.
  SendMessageA(window_.hwnd(), WM_TIMER, 1, 0);
  EXPECT_EQ(ListCount(), 4);

  // A dropped photo opens its folder and a viewer on it, named by its file.
  window_.CloseDisc();
  DropFiles(window_.hwnd(), {loose.path() + "\\wedding-3.pcd"});
  EXPECT_EQ(window_.disc().folder, loose.path());
  ASSERT_EQ(window_.ViewerCount(), 1u);
  EXPECT_EQ(Title(window_.Viewer(0)->Frame()), "Lumivexa SE - #3 wedding-3.pcd");
  window_.CloseDisc();
  EXPECT_EQ(Title(window_.hwnd()), "Lumivexa SE");
  ForgetRecent();
}

TEST_F(BrowseWindowTest, AFolderWithoutPhotosSaysSoAndKeepsTheOpenDisc) {
  ScratchFolder empty("folder-without-photos");
  std::ofstream(empty.path() + "\\readme.txt") << "nothing here\n";
  window_.SetProbedDrives('D', 'D');
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  ASSERT_EQ(ListCount(), 24);
  std::string message;
  DialogHook answer([&](HWND box) {
    message = DialogHook::MessageText(box);
    DialogHook::Press(box, IDOK);
  });
  EXPECT_FALSE(window_.OpenFolder(empty.path(), true));
  EXPECT_EQ(message, "No Photo CD photos in this folder.");
  EXPECT_EQ(window_.disc().root, "D:\\PHOTO_CD");
  EXPECT_EQ(ListCount(), 24);
  EXPECT_EQ(StatusText(1), "24 photos.");
}
