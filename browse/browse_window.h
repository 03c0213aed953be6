// The browse window: the program's main frame with the thumbnail list of the open
// Photo CD, its menus, toolbar and status bar, the disc scan and the thumbnail
// loader thread. One per process.
#pragma once
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "browse/cell_geometry.h"
#include "browse/photo_item.h"
#include "browse/scan_progress.h"
#include "photocd/disc_folder.h"
#include "photocd/disc_info.h"
#include "photocd/overview_pack.h"
#include "ui/busy_count.h"
#include "ui/loop_client_win.h"
#include "ui/mru_list.h"
#include "ui/worker_thread_win.h"
#include "viewer/viewer_link.h"

// Window class of the browse frame; also how a second instance finds the first.
constexpr char kBrowseWindowClass[] = "LumivexaSE-Browse";

// Child window ids.
constexpr int kListId = 100;
constexpr int kToolbarId = 101;
constexpr int kStatusBarId = 102;

// A running program takes a disc image or folder named on a second start as
// WM_COPYDATA with this tag; the data is the path's characters.
constexpr ULONG_PTR kOpenPathCopyData = 0x504F564C;  // "LVOP"

// The open Photo CD: paths formed from the root, its information and overview pack.
struct PhotoCdDisc {
  // "D:\PHOTO_CD", "C:\discs\trip.cue\PHOTO_CD" or a folder of loose packs;
  // empty while no disc is open.
  std::string root;
  std::string image;         // the disc image file; empty otherwise
  std::string folder;        // the folder opened as a disc; empty otherwise
  std::string infoPath;      // empty when the disc has no INFO.PCD
  std::string overviewPath;  // empty when the disc has no OVERVIEW.PCD
  std::string imagesPath;
  DiscInfo info = {};
  OverviewPack* overview = nullptr;  // open while a disc with a readable overview pack is open
};

class BrowseWindow : public LoopClient {
 public:
  BrowseWindow();
  BrowseWindow(const BrowseWindow&) = delete;
  BrowseWindow& operator=(const BrowseWindow&) = delete;
  ~BrowseWindow();

  // Creates and shows the frame and looks for a disc. On failure tells the user
  // and returns false; the object then exists without a window.
  bool Create(int showCommand);
  // Stops the loader, closes the disc and the viewers, destroys the frame.
  void Destroy();

  bool PreTranslate(MSG* msg) override;
  bool NeedsIdle() override;
  void DoIdle() override;

  // Looks for a Photo CD on drives C to Z and lists its photos; interactive opens
  // ask before giving up. True when a disc was opened and its scan completed.
  // While a command runs (another open included) the open waits and false comes
  // back; it is done once the last command is over, as is a disc removal
  // reported meanwhile.
  bool OpenDisc(bool interactive);
  void CloseDisc();
  // Opens a disc image (.cue, .iso, .bin) as the open disc until another open
  // or close, and puts it first among the recent images; interactive opens
  // tell the user why an image is refused.
  bool OpenDiscImage(const std::string& path, bool interactive);
  // Opens a folder as the disc: a disc copied to a hard disk or loose image
  // packs (photocd/disc_folder.h). A folder without photos is refused and
  // the open disc stays; otherwise as OpenDiscImage.
  bool OpenFolder(const std::string& path, bool interactive);
  // A folder or a disc image, whichever the path names.
  bool OpenPath(const std::string& path, bool interactive);
  const MruList& RecentImages() const { return recentImages_; }
  // What the scan shows while it runs; the progress window unless replaced.
  void SetScanProgress(std::unique_ptr<ScanProgress> progress);
  // The drive letters searched for a disc, C to Z unless narrowed (tests).
  void SetProbedDrives(char first, char last) {
    firstDrive_ = first;
    lastDrive_ = last;
  }

  // A viewer the browse window now owns (closed with the disc).
  void AddViewer(ViewerLink* viewer);
  std::size_t ViewerCount() const { return viewers_.Count(); }
  ViewerLink* Viewer(std::size_t i) const { return viewers_[i]; }

  HWND hwnd() const { return frame_; }
  HWND list() const { return list_; }
  HWND toolbar() const { return toolbar_; }
  HWND rebar() const { return rebar_; }
  HWND statusBar() const { return status_; }
  const browse::PhotoList& photos() const { return photos_; }
  const PhotoCdDisc& disc() const { return disc_; }
  bool LoaderRunning() const { return loader_.active(); }
  bool CustomDraw() const { return customDraw_ != 0; }
  HPALETTE Palette() const { return palette_.load(); }

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Creation and layout (browse_window.cpp).
  bool RegisterWindowClass();
  bool CreateChildren();
  bool CreateList();
  bool CreateToolbar();
  void Layout();
  void SaveWindowGeometry();
  LRESULT RealisePalette();
  void OnParentNotify(WPARAM wParam, LPARAM lParam);
  void OnDeviceChange(WPARAM wParam, LPARAM lParam);

  // Commands, enabling, menu help, status bar (browse_commands.cpp).
  void OnCommand(int id);
  LRESULT OnNotify(NMHDR* header);
  void OnMenuSelect(UINT item, UINT flags);
  void OnContextMenu(HWND window, int x, int y);
  void UpdateMenuState(HMENU menu = nullptr);
  void UpdateStatusBar();
  void SelectAll();
  int SelectedCount() const;
  // Image pack paths of the selected photos in list order.
  std::vector<std::string> SelectedPaths() const;
  void ExportSelection();
  // Several selected photos go as a file list, else the focused one as a picture.
  void CopySelection();

  // The selected photos in list order (a list that does not own them).
  void CollectSelection(browse::PhotoList& selection) const;

  // Print and Print all (print_photos.cpp).
  void PrintPhotos(bool all);

  // View and Slide show (view_commands.cpp).
  browse::PhotoItem* ListPhoto(int item) const;
  bool View();
  // Views the listed photo whose pack is path, alone selected.
  void ViewPack(const std::string& path);
  void StartSlideShow();

  // Disc scan (disc_scan.cpp).
  // Reads the disc found (its PHOTO_CD folder or folder of loose packs) and
  // lists its photos; image or folder is what the user opened, if anything.
  bool ListDisc(const PcdFolderPhotos& found, const std::string& image, const std::string& folder, bool interactive);
  bool ScanPhotos(int count, const std::vector<std::string>& packs);
  // Path, date and nominal size of photo j: from the overview pack when
  // the disc has one, else from the pack itself.
  bool DescribePhoto(int j, const std::vector<std::string>& packs, std::uint64_t epoch, browse::PhotoItem& photo);
  // Closes the open disc when its information file is gone with its medium.
  void CloseRemovedDisc();
  // The removal and open that waited for running commands.
  void DoWaitingDiscWork();
  void ResetImageList();

  // Disc images and folders: the open dialogs, dropped files, a path handed
  // over by a second start, the recent list and the title (disc_image_commands.cpp).
  // A disc image (image true) or folder the user chose, as the open disc.
  bool OpenChosen(const std::string& path, bool image, bool interactive);
  void ChooseDiscImage();
  void ChooseFolder();
  void OnDropFiles(HDROP drop);
  LRESULT OnCopyData(const COPYDATASTRUCT* data);
  void LoadRecentImages();
  void RememberDiscImage(const std::string& path);
  void UpdateRecentImagesMenu();
  void UpdateTitle();

  // Loader (thumbnail_loader.cpp).
  void StartLoader();
  void StopLoader();
  int LoaderPositionNow() const;
  void RunLoader();
  void MakeThumbnail(browse::PhotoItem* item);

  // Cells (thumbnail_cells.cpp).
  void SetUpList();
  LRESULT OnCustomDraw(NMLVCUSTOMDRAW* draw);

  // Posted by OnCopyData to open the path handed over.
  static constexpr UINT kOpenHandedPathMessage = WM_APP + 1;

  HWND frame_ = nullptr;
  HWND list_ = nullptr;
  HWND toolbar_ = nullptr;
  HWND rebar_ = nullptr;
  HWND status_ = nullptr;
  HACCEL accelerators_ = nullptr;
  HMENU menu_ = nullptr;
  HIMAGELIST images_ = nullptr;
  HANDLE workEvent_ = nullptr;
  LRESULT customDraw_ = 0;
  int displayDepth_ = 0;
  browse::CellMetrics cells_;

  // Every change of the photo list or the overview pack waits for it: 10 s, a
  // beep, then on, since it reads both.
  WorkerThread loader_{10000, MB_ICONASTERISK};
  std::atomic<int> loaderPosition_{0};
  // Made by the loader from the first thumbnail on palette displays, read by painting.
  std::atomic<HPALETTE> palette_{nullptr};

  browse::PointerList<ViewerLink> viewers_{true};
  browse::PhotoList photos_{true};
  PhotoCdDisc disc_;
  std::unique_ptr<ScanProgress> scanProgress_;
  MruList recentImages_;  // disc images and folders
  std::string handedPath_;  // from a second start, opened once its sender is answered
  // Commands running, viewers' included; disc work that came meanwhile waits.
  BusyCount busy_;
  // The frame's own commands: while one runs the frame starts no other.
  BusyCount commands_;
  bool removalWaiting_ = false;
  enum class WaitingOpen { kNone, kQuiet, kInteractive } openWaiting_ = WaitingOpen::kNone;
  char firstDrive_ = 'C';
  char lastDrive_ = 'Z';
};
