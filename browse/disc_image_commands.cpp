// Disc images as the open disc: "Open disc image...", files dropped on the
// window, and the recent images in the File menu.
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "browse/browse_text.h"
#include "browse/browse_window.h"
#include "photocd/disc_image.h"
#include "resources/command_ids.h"
#include "resources/resource_ids.h"
#include "settings/settings.h"
#include "settings/settings_store_win.h"
#include "ui/shell_state_win.h"
#include "ui/wait_cursor_win.h"

namespace {

constexpr char kRecentImagesValue[] = "RecentDiscImages";
constexpr std::size_t kRecentImageCount = CMD_RECENT_IMAGE_LAST - CMD_RECENT_IMAGE_FIRST + 1;
constexpr std::size_t kRecentImagesMaxBytes = 4096;

// A menu label for an image: "&1 C:\discs\trip.cue", long folders cut to "...".
std::string RecentImageLabel(std::size_t index, const std::string& path) {
  std::string shown = path;
  constexpr std::size_t kMaxShown = 48;
  std::size_t slash = path.find_last_of("\\/");
  if (shown.size() > kMaxShown && slash != std::string::npos && slash > 3)
    shown = path.substr(0, 3) + "..." + path.substr(slash);
  std::string label = "&" + std::to_string(index + 1) + " ";
  for (char c : shown) label += c == '&' ? std::string("&&") : std::string(1, c);
  return label;
}

}  // namespace

bool BrowseWindow::OpenDiscImage(const std::string& requested, bool interactive) {
  // Opening closes the disc and its viewers: not under a running command.
  if (busy_.Busy()) {
    MessageBeep(MB_ICONEXCLAMATION);
    return false;
  }
  BusyScope busy(busy_);
  const std::string path = requested;  // may be an entry of the recent list, which changes below
  WaitCursor wait;
  // Check the image first, so a bad one leaves the open disc as it was.
  std::unique_ptr<pcdimage::DiscImage> image;
  pcdimage::DirectoryEntry overview;
  std::string why;
  if (pcdimage::DiscImage::Open(path, image, why) != kPcdOk ||
      image->Find("PHOTO_CD\\OVERVIEW.PCD", overview, why) != kPcdOk) {
    if (interactive) {
      std::string format = LoadText(IDS_DISC_IMAGE_UNREADABLE);
      std::vector<char> text(format.size() + path.size() + why.size() + 1);
      std::snprintf(text.data(), text.size(), format.c_str(), path.c_str(), why.c_str());
      MessageBoxA(frame_, text.data(), kAppName, MB_OK | MB_ICONEXCLAMATION);
    }
    return false;
  }
  image.reset();
  RememberDiscImage(path);
  return ListDisc(path + "\\PHOTO_CD", path, interactive);
}

void BrowseWindow::ChooseDiscImage() {
  std::string filter = LoadText(IDS_DISC_IMAGE_FILTER);
  for (char& c : filter)
    if (c == '|') c = '\0';
  std::string title = LoadText(IDS_DISC_IMAGE_TITLE);
  char file[MAX_PATH] = "";
  OPENFILENAMEA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = frame_;
  dialog.lpstrFilter = filter.c_str();
  dialog.lpstrFile = file;
  dialog.nMaxFile = sizeof file;
  dialog.lpstrTitle = title.c_str();
  dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
  if (GetOpenFileNameA(&dialog)) OpenDiscImage(file, true);
}

void BrowseWindow::OnDropFiles(HDROP drop) {
  char path[MAX_PATH] = "";
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  bool found = false;
  for (UINT i = 0; i < count && !found; ++i)
    found = DragQueryFileA(drop, i, path, sizeof path) && pcdimage::IsDiscImageName(path);
  DragFinish(drop);
  if (found) OpenDiscImage(path, true);
}

void BrowseWindow::LoadRecentImages() {
  std::vector<unsigned char> value;
  RegistrySettingsStore store(kSettingsKeyPath, RegistrySettingsStore::Access::kRead);
  recentImages_ = store.readAll(kRecentImagesValue, &value) ? DecodeMruList(value) : MruList();
  TrimMruList(recentImages_, kRecentImageCount, kRecentImagesMaxBytes);
  UpdateRecentImagesMenu();
}

void BrowseWindow::RememberDiscImage(const std::string& path) {
  PromoteMruEntry(recentImages_, path);
  TrimMruList(recentImages_, kRecentImageCount, kRecentImagesMaxBytes);
  std::vector<unsigned char> value = EncodeMruList(recentImages_);
  RegistrySettingsStore(kSettingsKeyPath, RegistrySettingsStore::Access::kWrite)
      .write(kRecentImagesValue, value.data(), value.size());
  UpdateRecentImagesMenu();
}

// The recent images follow "Open disc image..." in the File menu.
void BrowseWindow::UpdateRecentImagesMenu() {
  HMENU file = menu_ ? GetSubMenu(menu_, 0) : nullptr;
  if (!file) return;
  for (int id = CMD_RECENT_IMAGE_FIRST; id <= CMD_RECENT_IMAGE_LAST; ++id) DeleteMenu(file, id, MF_BYCOMMAND);
  int position = 0;
  const int count = GetMenuItemCount(file);
  while (position < count && GetMenuItemID(file, position) != CMD_OPEN_DISC_IMAGE) ++position;
  for (std::size_t i = 0; i < recentImages_.size(); ++i)
    InsertMenuA(file, static_cast<UINT>(position + 1 + i), MF_BYPOSITION | MF_STRING,
                CMD_RECENT_IMAGE_FIRST + i, RecentImageLabel(i, recentImages_[i]).c_str());
}
