// Copy and Export from the browse window on the sample disc.
#include "tests/browse/browse_test_support.h"

#include <cstring>

#include "export/export_plan.h"
#include "export/photo_clipboard_win.h"
#include "imagefile/requested_level.h"
#include "resources/command_ids.h"
#include "tests/support/dialog_hook_win.h"
#include "tests/support/unique_temp.h"

namespace {

struct ClipboardDib {
  BITMAPINFOHEADER header = {};
  std::vector<std::uint8_t> pixels;
  // Blue, green, red of a 24-bit pixel, top row counted 0.
  std::uint32_t at(int x, int y) const {
    const std::size_t stride = (header.biWidth * 3 + 3) & ~3;
    const std::uint8_t* p = &pixels[stride * (header.biHeight - 1 - y) + 3 * x];
    return p[0] | p[1] << 8 | p[2] << 16;
  }
};

ClipboardDib CopiedDib() {
  ClipboardDib dib;
  HGLOBAL block = GetClipboardData(CF_DIB);
  if (!block) return dib;
  auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(block));
  std::memcpy(&dib.header, bytes, sizeof dib.header);
  if (dib.header.biBitCount == 24)
    dib.pixels.assign(bytes + sizeof dib.header, bytes + sizeof dib.header + ((dib.header.biWidth * 3 + 3) & ~3) * dib.header.biHeight);
  GlobalUnlock(block);
  return dib;
}

TEST_F(BrowseWindowTest, TwoSelectedPhotosCopyAsAFileListOnly) {
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  SelectOnly(window_.list(), {1, 4});
  SendMessageA(window_.hwnd(), WM_COMMAND, CMD_COPY, 0);
  ASSERT_TRUE(OpenClipboard(window_.hwnd()));
  EXPECT_EQ((std::vector<std::string>{window_.photos()[1]->path, window_.photos()[4]->path}), ClipboardFiles());
  HGLOBAL effect = GetClipboardData(RegisterClipboardFormatA("Preferred DropEffect"));
  ASSERT_NE(nullptr, effect);
  EXPECT_EQ(1u, *static_cast<DWORD*>(GlobalLock(effect)));
  GlobalUnlock(effect);
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
  CloseClipboard();
}

TEST(PhotoClipboard, ABlockTheClipboardRefusesIsFreed) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
  ASSERT_NE(nullptr, block);
  EXPECT_FALSE(imagefile::PutOnClipboard(RegisterClipboardFormatA("Preferred DropEffect"), block));  // not open
  EXPECT_EQ(GMEM_INVALID_HANDLE, GlobalFlags(block));
}

TEST_F(BrowseWindowTest, OnePhotoCopiesAsABaseBitmapAndItsFileTurnedAsShown) {
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  g_requestedPcdLevel = 6;
  SelectOnly(window_.list(), {0});
  SendMessageA(window_.hwnd(), WM_COMMAND, CMD_COPY, 0);
  EXPECT_EQ(6, g_requestedPcdLevel);
  ASSERT_TRUE(OpenClipboard(window_.hwnd()));
  EXPECT_EQ(std::vector<std::string>{window_.photos()[0]->path}, ClipboardFiles());
  ClipboardDib upright = CopiedDib();
  CloseClipboard();
  EXPECT_EQ(768, upright.header.biWidth);
  EXPECT_EQ(512, upright.header.biHeight);
  ASSERT_EQ(24, upright.header.biBitCount);

  // As a viewer showing it turned left would copy it.
  ASSERT_TRUE(imagefile::CopyPhotoFile(g_instance, window_.hwnd(), "D:\\PHOTO_CD\\IMAGES\\IMG0001.PCD",
                                       imagefile::kCopyTurnLeft));
  ASSERT_TRUE(OpenClipboard(window_.hwnd()));
  ClipboardDib turned = CopiedDib();
  CloseClipboard();
  ASSERT_EQ(512, turned.header.biWidth);
  ASSERT_EQ(768, turned.header.biHeight);
  // Turned left, the top-right corner comes to the top left and the bottom-left to the bottom right.
  EXPECT_EQ(upright.at(767, 0), turned.at(0, 0));
  EXPECT_EQ(upright.at(0, 511), turned.at(511, 767));
  EXPECT_EQ(upright.at(300, 200), turned.at(200, 767 - 300));
}

TEST_F(BrowseWindowTest, AFailedCopyTellsTheUserAndRestoresTheLevel) {
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  g_requestedPcdLevel = 5;
  std::string caption;
  DialogHook hook([&](HWND box) {
    caption = DialogHook::Text(box);
    DialogHook::Press(box, IDOK);
  });
  EXPECT_FALSE(imagefile::CopyPhotoFile(g_instance, window_.hwnd(), "D:\\PHOTO_CD\\IMAGES\\IMG0099.PCD", 0));
  EXPECT_EQ(5, g_requestedPcdLevel);
  EXPECT_EQ("Copy failed.", caption);
}

TEST_F(BrowseWindowTest, ExportTakesTheSelectionInListOrder) {
  ASSERT_TRUE(window_.Create(SW_SHOWNORMAL));
  std::string folder = test_support::UniqueTempPath("export");
  CreateDirectoryA(folder.c_str(), nullptr);
  SelectOnly(window_.list(), {4, 1});
  std::vector<std::string> progressTexts;
  DialogHook hook([&](HWND dialog) {
    if (GetDlgItem(dialog, IDC_PROGRESS_BAR)) return;
    SendDlgItemMessageA(dialog, IDC_EXPORT_FORMAT, CB_SETCURSEL, imagefile::ExportFormatRow(imagefile::kFormatBmp), 0);
    SetDlgItemTextA(dialog, IDC_EXPORT_FOLDER, folder.c_str());
    DialogHook::Press(dialog, IDOK);
  });
  SendMessageA(window_.hwnd(), WM_COMMAND, CMD_EXPORT, 0);
  for (const char* name : {"\\IMG0002.bmp", "\\IMG0005.bmp"}) {
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((folder + name).c_str())) << name;
    DeleteFileA((folder + name).c_str());
  }
  EXPECT_TRUE(RemoveDirectoryA(folder.c_str())) << "only the two photos were written";
}

}  // namespace
