// Folders opened as the disc: a Photo CD copied to a hard disk without its
// overview pack, renamed loose packs among other files, and a folder with
// nothing to show, which leaves the open disc alone.
#include <cstring>
#include <fstream>

#include "browse_test_support.h"
#include "export/file_drop_list.h"
#include "photocd/image_pack.h"
#include "resources/command_ids.h"
#include "settings/settings_store_win.h"
#include "tests/support/dialog_hook_win.h"
#include "tests/support/screenshot_win.h"

namespace {

// A fresh folder under build\ (beside build\screenshots), removed with its contents.
class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name) {
    const std::string screenshots = ScreenshotFolder();
    path_ = screenshots.substr(0, screenshots.find_last_of('\\')) + "\\" + name;
    Remove(path_);
    CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~ScratchFolder() { Remove(path_); }
  const std::string& path() const { return path_; }

  // The disc's file as a new name of the same file (a copy where links fail).
  bool Link(const std::string& from, const std::string& relative) const {
    const std::string to = path_ + "\\" + relative;
    return CreateHardLinkA(to.c_str(), from.c_str(), nullptr) || CopyFileA(from.c_str(), to.c_str(), FALSE);
  }
  // Links every file of a folder tree, but for names listed in skip.
  bool LinkTree(const std::string& from, const std::string& relative, const std::string& skip) const {
    CreateDirectoryA((path_ + "\\" + relative).c_str(), nullptr);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((from + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == ".." || name == skip) continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        ok = LinkTree(from + "\\" + name, relative + "\\" + name, skip) && ok;
      else
        ok = Link(from + "\\" + name, relative + "\\" + name) && ok;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return ok;
  }

 private:
  static void Remove(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do {
        const std::string name = found.cFileName, child = folder + "\\" + name;
        if (name == "." || name == "..") continue;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          Remove(child);
        else
          DeleteFileA(child.c_str());
      } while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
  }
  std::string path_;
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
  ASSERT_TRUE(copy.LinkTree("D:\\PHOTO_CD", "PHOTO_CD", "OVERVIEW.PCD"));
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
  CreateDirectoryA((loose.path() + "\\more").c_str(), nullptr);
  ASSERT_TRUE(loose.Link("D:\\PHOTO_CD\\IMAGES\\IMG0005.PCD", "more\\wedding-4.pcd"));  // subfolders are not searched

  window_.SetProbedDrives('D', 'D');
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  ASSERT_EQ(ListCount(), 24);
  // Dropped on the window, as from a file manager.
  std::vector<unsigned char> drop = imagefile::FileDropList({loose.path()});
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, drop.size());
  std::memcpy(GlobalLock(memory), drop.data(), drop.size());
  GlobalUnlock(memory);
  SendMessageA(window_.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
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
