// Finding a Photo CD, listing its photos and closing it again.
#include <algorithm>
#include <cstdio>
#include <utility>

#include "browse/browse_text.h"
#include "browse/browse_window.h"
#include "browse/cell_drawing.h"
#include "photocd/image_pack.h"
#include "photocd/pcd_file.h"
#include "resources/resource_ids.h"
#include "ui/path_utils.h"
#include "ui/wait_cursor_win.h"

namespace {

// While it lives, a drive without a medium (an empty card-reader slot, an open CD
// tray) fails file look-ups quietly instead of raising the system's "There is no
// disk in the drive" box.
class QuietCriticalErrors {
 public:
  QuietCriticalErrors() : old_(SetErrorMode(SEM_FAILCRITICALERRORS)) { SetErrorMode(old_ | SEM_FAILCRITICALERRORS); }
  ~QuietCriticalErrors() { SetErrorMode(old_); }

 private:
  UINT old_;
};

// The pack the overview names (in lower case) as the disc's directory spells
// it: what is named after a photo is then named alike from a drive, a folder or
// an image. The overview's spelling when the directory does not list it.
std::string ListedPack(const std::vector<std::string>& packs, const std::string& images, const char* name) {
  const std::string wanted = PcdDiscName(name);
  for (const std::string& pack : packs)
    if (PcdDiscName(pack.substr(pack.find_last_of("\\/") + 1)) == wanted) return pack;
  return JoinPath(images, name);
}

// The first drive from first to last whose Photo CD overview pack exists, or 0.
char FindDiscDrive(char first, char last) {
  QuietCriticalErrors quiet;
  for (char letter = first; letter <= last; ++letter) {
    char path[32];
    std::snprintf(path, sizeof path, "%c:\\PHOTO_CD\\OVERVIEW.PCD", letter);
    if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES) return letter;
  }
  return 0;
}

}  // namespace

bool BrowseWindow::OpenDisc(bool interactive) {
  // Opening closes the disc and its viewers: not under a running command.
  if (busy_.Busy()) {
    if (interactive || openWaiting_ == WaitingOpen::kNone)
      openWaiting_ = interactive ? WaitingOpen::kInteractive : WaitingOpen::kQuiet;
    return false;
  }
  BusyScope busy(busy_);
  WaitCursor wait;
  char letter;
  while (!(letter = FindDiscDrive(firstDrive_, lastDrive_))) {
    if (!interactive) return false;
    if (MessageFromString(frame_, IDS_NO_DISC_FOUND, MB_RETRYCANCEL | MB_ICONEXCLAMATION) != IDRETRY)
      return false;
  }
  char root[16];
  std::snprintf(root, sizeof root, "%c:\\PHOTO_CD", letter);
  PcdFolderPhotos found;
  found.photoCd = root;
  found.info = found.photoCd + "\\INFO.PCD";
  found.overview = found.photoCd + "\\OVERVIEW.PCD";
  // The packs as the disc's directory spells them, as for a folder or an image.
  PcdFolderPhotos listed;
  if (PcdFindFolderPhotos(std::string(1, letter) + ":\\", listed) == kPcdOk) found.packs = listed.packs;
  return ListDisc(found, std::string(), std::string(), interactive);
}

bool BrowseWindow::ListDisc(const PcdFolderPhotos& found, const std::string& image, const std::string& folder,
                            bool interactive) {
  CloseDisc();
  disc_.image = image;
  disc_.folder = folder;
  disc_.infoPath = found.info;
  disc_.overviewPath = found.overview;
  disc_.imagesPath = found.photoCd.empty() ? std::string() : JoinPath(found.photoCd, "IMAGES");
  const std::string root = found.photoCd.empty() ? folder : found.photoCd;

  while (!disc_.infoPath.empty() && PcdReadDiscInfo(disc_.infoPath.c_str(), disc_.info) != 0) {
    if (!interactive ||
        MessageFromString(frame_, IDS_INFO_UNREADABLE, MB_RETRYCANCEL | MB_ICONEXCLAMATION) != IDRETRY) {
      CloseDisc();
      return false;
    }
  }
  std::uint16_t count = static_cast<std::uint16_t>(std::min<std::size_t>(found.packs.size(), 0xFFFF));
  if (!disc_.overviewPath.empty()) {
    // A copied disc whose overview pack is damaged still has its image packs.
    const bool opened = PcdOpenOverview(disc_.overviewPath.c_str(), disc_.overview) == 0;
    if (!opened) disc_.overview = nullptr;
    if (!opened && found.packs.empty()) {
      if (interactive) MessageFromString(frame_, IDS_OVERVIEW_UNREADABLE, MB_RETRYCANCEL | MB_ICONEXCLAMATION);
      CloseDisc();
      return false;
    }
    if (opened && PcdGetPhotoCount(disc_.overview, count) != 0) {
      CloseDisc();
      return false;
    }
  }
  disc_.root = root;  // open from here on, also when the scan is cancelled
  if (!ScanPhotos(count, found.packs)) return false;

  if (photos_.Count() > 0) {
    SendMessageA(list_, LVM_ENSUREVISIBLE, 0, FALSE);
    if (!(SendMessageA(list_, LVM_GETITEMSTATE, 0, LVIS_SELECTED) & LVIS_SELECTED))
      SendMessageA(list_, LVM_SETSELECTIONMARK, 0, 0);
    LVITEMA state = {};
    state.stateMask = state.state = LVIS_FOCUSED | LVIS_SELECTED;
    SendMessageA(list_, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&state));
  }
  UpdateTitle();
  UpdateMenuState();
  UpdateStatusBar();
  UpdateMenuState();

  StopLoader();
  if (photos_.Count() > 0) StartLoader();
  return true;
}

bool BrowseWindow::DescribePhoto(int j, const std::vector<std::string>& packs, std::uint64_t epoch,
                                 browse::PhotoItem& photo) {
  Orientation orientation = 0;
  if (disc_.overview) {
    char name[16];
    if (PcdSelectPhoto(disc_.overview, j) != 0 || PcdGetImageFileName(disc_.overview, name) != 0 ||
        PcdGetPhotoOrientation(disc_.overview, orientation) != 0)
      return false;
    photo.path = ListedPack(packs, disc_.imagesPath, name);
  } else {
    photo.path = packs[static_cast<std::size_t>(j - 1)];
  }
  // Loose packs are numbered in name order only: their names say which photo is which.
  if (disc_.imagesPath.empty()) photo.name = photo.path.substr(photo.path.find_last_of("\\/") + 1);
  std::uint32_t date = disc_.info.creationTime;
  if (!disc_.overview || disc_.infoPath.empty()) {
    // Without an overview the pack says how it is turned; without INFO.PCD,
    // when it was scanned. A pack that cannot be read keeps its place.
    ImagePack* pack = nullptr;
    ImagePackInfo info = {};
    if (PcdOpenImagePack(photo.path.c_str(), pack) == 0) {
      if (!disc_.overview) orientation = pack->storedOrientation;
      if (disc_.infoPath.empty() && PcdGetImageInfo(pack, info) == 0) date = info.scanTime;
      PcdCloseImagePack(pack);
    }
  }
  photo.index = j - 1;
  photo.info.date = browse::PhotoDate(epoch, date);
  browse::NominalPhotoSize(orientation, photo.info.nominalWidth, photo.info.nominalHeight);
  return true;
}

bool BrowseWindow::ScanPhotos(int count, const std::vector<std::string>& packs) {
  scanProgress_->Begin(frame_, count);
  InvalidateRect(list_, nullptr, TRUE);
  UpdateWindow(list_);
  SendMessageA(list_, WM_SETREDRAW, FALSE, 0);

  const std::uint64_t epoch = LocalEpochFileTime();
  bool complete = true;
  for (int j = 1; j <= count; ++j) {
    if (!scanProgress_->Show(j)) {
      complete = false;
      break;
    }
    auto* photo = new browse::PhotoItem;
    if (!DescribePhoto(j, packs, epoch, *photo)) {
      delete photo;
      break;  // keep the photos listed so far
    }
    photos_.Append(photo);

    char label[16];
    std::snprintf(label, sizeof label, "%d", j);
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = j - 1;
    item.pszText = label;
    item.iImage = I_IMAGECALLBACK;
    item.lParam = reinterpret_cast<LPARAM>(photo);
    if (SendMessageA(list_, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)) < 0) break;
  }
  const bool cancelled = scanProgress_->Cancelled() || !complete;
  scanProgress_->End();
  if (cancelled) {
    SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
    photos_.Clear();
  }
  SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list_, nullptr, TRUE);
  return !cancelled;
}

void BrowseWindow::CloseDisc() {
  StopLoader();
  disc_.root.clear();
  disc_.infoPath.clear();
  disc_.overviewPath.clear();
  disc_.imagesPath.clear();
  disc_.image.clear();
  disc_.folder.clear();
  disc_.info = {};
  if (list_) SendMessageA(list_, LVM_DELETEALLITEMS, 0, 0);
  viewers_.Clear();  // before the photos: viewers read their thumbnails
  photos_.Clear();
  ResetImageList();
  // Each disc gets the palette of its own first thumbnail.
  if (HPALETTE palette = palette_.exchange(nullptr)) DeleteObject(palette);
  if (disc_.overview) {
    PcdCloseOverview(disc_.overview);
    disc_.overview = nullptr;
  }
  UpdateTitle();
  UpdateStatusBar();
  UpdateMenuState();
}

void BrowseWindow::CloseRemovedDisc() {
  if (busy_.Busy()) {
    removalWaiting_ = true;
    return;
  }
  if (disc_.root.empty()) return;
  // A file the disc must have: a copied disc or loose packs may lack INFO.PCD.
  const std::string witness = !disc_.infoPath.empty()       ? disc_.infoPath
                              : !disc_.overviewPath.empty() ? disc_.overviewPath
                              : photos_.Count() > 0         ? photos_[0]->path
                                                            : std::string();
  QuietCriticalErrors quiet;
  if (!PcdFileExists(witness.c_str())) CloseDisc();
}

void BrowseWindow::DoWaitingDiscWork() {
  if (busy_.Busy()) return;  // posted again when the command now running ends
  if (std::exchange(removalWaiting_, false)) CloseRemovedDisc();
  const WaitingOpen open = std::exchange(openWaiting_, WaitingOpen::kNone);
  // A quiet open (a disc arriving) leaves an open disc image or folder in place.
  if (open == WaitingOpen::kInteractive || (open == WaitingOpen::kQuiet && disc_.image.empty() && disc_.folder.empty()))
    OpenDisc(open == WaitingOpen::kInteractive);
}

void BrowseWindow::ResetImageList() {
  if (!images_) return;
  ImageList_RemoveAll(images_);
  HBITMAP placeholder = MakeCellBitmap(cells_, nullptr);
  if (placeholder) {
    ImageList_Add(images_, placeholder, nullptr);
    DeleteObject(placeholder);
  }
}
