// Disc images and folders as the open disc: "Open disc image...", "Open
// folder...", files and folders dropped on the window or handed over by a
// second start, the recent list in the File menu and the title.
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
#include "ui/path_utils.h"
#include "ui/ui_utils_win.h"
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

// A string with up to two texts put in for its "%s".
std::string FormatText(UINT id, const std::string& first, const std::string& second = std::string()) {
  const std::string format = LoadText(id);
  std::vector<char> text(format.size() + first.size() + second.size() + 1);
  std::snprintf(text.data(), text.size(), format.c_str(), first.c_str(), second.c_str());
  return text.data();
}

// An image pack by its name: "*.pcd", whatever the case.
bool IsPackName(const std::string& path) {
  return path.size() > 4 && lstrcmpiA(path.c_str() + path.size() - 4, ".pcd") == 0;
}

// Why a disc image cannot be opened, or nothing when it can; found is what it holds.
std::string ImageProblem(const std::string& path, PcdFolderPhotos& found) {
  std::unique_ptr<pcdimage::DiscImage> image;
  std::string why;
  if (pcdimage::DiscImage::Open(path, image, why) != kPcdOk) return FormatText(IDS_DISC_IMAGE_UNREADABLE, path, why);
  if (PcdFindFolderPhotos(path, found) != kPcdOk || (found.overview.empty() && found.packs.empty()))
    return FormatText(IDS_DISC_IMAGE_UNREADABLE, path, LoadText(IDS_IMAGE_WITHOUT_PHOTOS));
  return {};
}

// Why a folder cannot be opened as a disc, or nothing when it can.
std::string FolderProblem(const std::string& path, PcdFolderPhotos& found) {
  if (PcdFindFolderPhotos(path, found) != kPcdOk) return FormatText(IDS_FOLDER_UNREADABLE, path);
  return found.overview.empty() && found.packs.empty() ? LoadText(IDS_NO_PHOTOS_IN_FOLDER) : std::string();
}

}  // namespace

bool BrowseWindow::OpenDiscImage(const std::string& path, bool interactive) { return OpenChosen(path, true, interactive); }

bool BrowseWindow::OpenFolder(const std::string& path, bool interactive) { return OpenChosen(path, false, interactive); }

bool BrowseWindow::OpenChosen(const std::string& requested, bool image, bool interactive) {
  // Opening closes the disc and its viewers: not under a running command.
  if (busy_.Busy()) {
    MessageBeep(MB_ICONEXCLAMATION);
    return false;
  }
  BusyScope busy(busy_);
  const std::string path = requested;  // may be an entry of the recent list, which changes below
  WaitCursor wait;
  // Check first, so one that cannot be read or has nothing to show leaves the open disc as it was.
  PcdFolderPhotos found;
  const std::string problem = image ? ImageProblem(path, found) : FolderProblem(path, found);
  if (!problem.empty()) {
    if (interactive) MessageBoxA(frame_, problem.c_str(), kAppName, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  RememberDiscImage(path);
  return ListDisc(found, image ? path : std::string(), image ? std::string() : path, interactive);
}

bool BrowseWindow::OpenPath(const std::string& path, bool interactive) {
  // A missing path is taken by its name, so a folder that is gone says so.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  const bool folder = attributes == INVALID_FILE_ATTRIBUTES ? !pcdimage::IsDiscImageName(path)
                                                            : (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return folder ? OpenFolder(path, interactive) : OpenDiscImage(path, interactive);
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
  // Start where the last image was opened (the disc's folder is the current one).
  std::string start;
  for (const std::string& recent : recentImages_) {
    if (pcdimage::IsDiscImageName(recent)) {
      start = FolderOfPath(recent);
      break;
    }
  }
  if (!start.empty()) dialog.lpstrInitialDir = start.c_str();
  if (GetOpenFileNameA(&dialog)) OpenDiscImage(file, true);
}

void BrowseWindow::ChooseFolder() {
  // Start where the last folder was opened.
  char path[MAX_PATH] = "";
  for (const std::string& recent : recentImages_) {
    const DWORD attributes = GetFileAttributesA(recent.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) && recent.size() < MAX_PATH) {
      std::snprintf(path, sizeof path, "%s", recent.c_str());
      break;
    }
  }
  if (BrowseForFolder(frame_, path, LoadText(IDS_OPEN_FOLDER_TITLE).c_str())) OpenFolder(path, true);
}

void BrowseWindow::OnDropFiles(HDROP drop) {
  // The first folder, disc image or image pack among the dropped files.
  char path[MAX_PATH] = "";
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  bool found = false;
  for (UINT i = 0; i < count && !found; ++i) {
    if (!DragQueryFileA(drop, i, path, sizeof path)) continue;
    const DWORD attributes = GetFileAttributesA(path);
    found = pcdimage::IsDiscImageName(path) || IsPackName(path) ||
            (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
  }
  DragFinish(drop);
  if (!found) return;
  if (!IsPackName(path)) {
    OpenPath(path, true);
    return;
  }
  // A photo opens its folder, and a viewer on it.
  if (OpenFolder(FolderOfPath(path), true)) ViewPack(path);
}

void BrowseWindow::ViewPack(const std::string& path) {
  for (int item = 0; item < static_cast<int>(photos_.Count()); ++item) {
    const browse::PhotoItem* photo = ListPhoto(item);
    if (!photo || lstrcmpiA(photo->path.c_str(), path.c_str()) != 0) continue;
    LVITEMA state = {};
    state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list_, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
    SendMessageA(list_, LVM_ENSUREVISIBLE, item, FALSE);
    View();
    return;
  }
}

LRESULT BrowseWindow::OnCopyData(const COPYDATASTRUCT* data) {
  constexpr DWORD kMaxPathBytes = 32768;
  if (!data || data->dwData != kOpenPathCopyData || !data->lpData || data->cbData == 0 || data->cbData > kMaxPathBytes)
    return FALSE;
  // A running command keeps its disc: the second start is told it was refused.
  if (busy_.Busy()) return FALSE;
  const char* text = static_cast<const char*>(data->lpData);
  handedPath_.assign(text, strnlen(text, data->cbData));
  // Opened once the sender has its answer: the scan shows windows of its own.
  PostMessageA(frame_, kOpenHandedPathMessage, 0, 0);
  return TRUE;
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

// The recent images and folders follow "Open folder..." in the File menu.
void BrowseWindow::UpdateRecentImagesMenu() {
  HMENU file = menu_ ? GetSubMenu(menu_, 0) : nullptr;
  if (!file) return;
  for (int id = CMD_RECENT_IMAGE_FIRST; id <= CMD_RECENT_IMAGE_LAST; ++id) DeleteMenu(file, id, MF_BYCOMMAND);
  int position = 0;
  const int count = GetMenuItemCount(file);
  while (position < count && GetMenuItemID(file, position) != CMD_OPEN_FOLDER) ++position;
  for (std::size_t i = 0; i < recentImages_.size(); ++i)
    InsertMenuA(file, static_cast<UINT>(position + 1 + i), MF_BYPOSITION | MF_STRING,
                CMD_RECENT_IMAGE_FIRST + i, RecentImageLabel(i, recentImages_[i]).c_str());
}

// "Lumivexa SE - trip.cue" or "Lumivexa SE - C:\Photos\Wedding": which disc
// image or folder is open; a drive's disc or none leaves the plain name.
void BrowseWindow::UpdateTitle() {
  if (!frame_) return;
  std::string title = kAppName;
  if (!disc_.image.empty()) title += " - " + disc_.image.substr(disc_.image.find_last_of("\\/") + 1);
  if (!disc_.folder.empty()) title += " - " + disc_.folder;
  SetWindowTextA(frame_, title.c_str());
}
