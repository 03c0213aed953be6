// Shared pieces of the browse window tests: the fixture that sets up the shell's
// process values, message pumping, disc copies and stand-ins for the progress
// window and for viewers.
#pragma once
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <dbt.h>
#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "browse/browse_window.h"
#include "export/file_drop_list.h"
#include "resources/resource_ids.h"
#include "settings/settings.h"
#include "ui/comctl_version_win.h"
#include "ui/shell_state_win.h"

class BrowseWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_instance = GetModuleHandleA(nullptr);
    g_mainIcon = LoadIconA(g_instance, MAKEINTRESOURCEA(IDI_MAIN));
    g_alternateIcon = LoadIconA(g_instance, MAKEINTRESOURCEA(IDI_ALTERNATE));
    g_comctlVersion = ProbeComctlVersion();
    InitAllCommonControls();
    // The tests share the Wine prefix with `make run`: leave no window placement behind.
    g_settings.SaveBrowseWindow = 0;
  }
  void TearDown() override {
    window_.Destroy();
    Pump();
  }

  // Dispatches waiting messages as the main loop would (a quit only ends a drain).
  void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) continue;
      if (!window_.PreTranslate(&msg)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
      }
    }
  }
  // Main-loop turns (drain, then one idle step while idle work is wanted) until
  // done() or the time runs out.
  bool RunUntil(const std::function<bool()>& done, DWORD ms) {
    DWORD end = GetTickCount() + ms;
    while (!done()) {
      if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
      Pump();
      if (window_.NeedsIdle())
        window_.DoIdle();
      else
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
  }
  // Waits without idle steps, so that the loader gets no further signal.
  bool WaitForThumbnails(int count, DWORD ms) {
    DWORD end = GetTickCount() + ms;
    while (ThumbnailCount() < count) {
      if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
      Pump();
      Sleep(5);
    }
    return true;
  }

  int ThumbnailCount() const { return static_cast<int>(PhotosWithThumbnails().size()); }
  std::vector<int> PhotosWithThumbnails() const {
    std::vector<int> made;
    for (std::size_t i = 0; i < window_.photos().Count(); ++i)
      if (window_.photos()[i]->thumbnail.load()) made.push_back(static_cast<int>(i));
    return made;
  }
  int ListCount() const { return static_cast<int>(SendMessageA(window_.list(), LVM_GETITEMCOUNT, 0, 0)); }
  std::string StatusText(int part) const {
    char text[256] = "";
    SendMessageA(window_.statusBar(), SB_GETTEXTA, part, reinterpret_cast<LPARAM>(text));
    return text;
  }
  // The first item whose cell lies wholly in the list's client area.
  int FirstVisibleItem() const {
    for (int i = 0; i < ListCount(); ++i) {
      RECT bounds = {};
      bounds.left = LVIR_BOUNDS;
      SendMessageA(window_.list(), LVM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&bounds));
      if (bounds.top >= 0) return i;
    }
    return -1;
  }
  LRESULT SendVolumeChange(WPARAM event, char drive) {
    DEV_BROADCAST_VOLUME volume = {};
    volume.dbcv_size = sizeof volume;
    volume.dbcv_devicetype = DBT_DEVTYP_VOLUME;
    volume.dbcv_unitmask = 1u << (drive - 'A');
    return SendMessageA(window_.hwnd(), WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(&volume));
  }

  BrowseWindow window_;
};

// The sample disc's INFO.PCD and OVERVIEW.PCD copied to another drive's
// PHOTO_CD folder, optionally changed; removed again at the end.
class ScopedDiscCopy {
 public:
  using Change = void (*)(const std::string& overviewPath);
  ScopedDiscCopy(char drive, Change change) : root_(std::string(1, drive) + ":\\PHOTO_CD") {
    CreateDirectoryA(root_.c_str(), nullptr);
    made_ = CopyFileA("D:\\PHOTO_CD\\INFO.PCD", (root_ + "\\INFO.PCD").c_str(), FALSE) &&
            CopyFileA("D:\\PHOTO_CD\\OVERVIEW.PCD", (root_ + "\\OVERVIEW.PCD").c_str(), FALSE);
    if (made_ && change) change(root_ + "\\OVERVIEW.PCD");
  }
  ~ScopedDiscCopy() { Remove(); }
  bool made() const { return made_; }
  void Remove() {
    DeleteFileA((root_ + "\\INFO.PCD").c_str());
    DeleteFileA((root_ + "\\OVERVIEW.PCD").c_str());
    RemoveDirectoryA(root_.c_str());
  }

 private:
  std::string root_;
  bool made_ = false;
};

// Cuts the overview pack inside the last of the sample disc's 24 thumbnails.
inline void TruncateLastThumbnail(const std::string& overviewPath) {
  constexpr LONG kLastThumbnail = 0x2800 + 0x9000 * 23;
  HANDLE file = CreateFileA(overviewPath.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  SetFilePointer(file, kLastThumbnail + 0x100, nullptr, FILE_BEGIN);
  SetEndOfFile(file);
  CloseHandle(file);
}

// Selects exactly these items of the list, the last one focused.
inline void SelectOnly(HWND list, std::initializer_list<int> items) {
  LVITEMA state = {};
  state.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&state));
  for (int item : items) {
    state.state = LVIS_SELECTED | LVIS_FOCUSED;
    SendMessageA(list, LVM_SETITEMSTATE, item, reinterpret_cast<LPARAM>(&state));
  }
}

// Drops files or folders on a window as a file manager would.
inline void DropFiles(HWND window, const std::vector<std::string>& paths) {
  std::vector<unsigned char> drop = imagefile::FileDropList(paths);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, drop.size());
  std::memcpy(GlobalLock(memory), drop.data(), drop.size());
  GlobalUnlock(memory);
  SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
}

// The file list on the open clipboard.
inline std::vector<std::string> ClipboardFiles() {
  std::vector<std::string> files;
  auto drop = static_cast<HDROP>(GetClipboardData(CF_HDROP));
  if (!drop) return files;
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    char path[MAX_PATH] = "";
    DragQueryFileA(drop, i, path, MAX_PATH);
    files.push_back(path);
  }
  return files;
}

// A scan display whose user cancels after `after` photos.
class CancellingProgress : public ScanProgress {
 public:
  explicit CancellingProgress(int after) : after_(after) {}
  void Begin(HWND, int) override {}
  bool Show(int j) override {
    if (j > after_) {
      cancelled_ = true;
      return false;
    }
    shown_ = j;
    return true;
  }
  bool Cancelled() const override { return cancelled_; }
  void End() override { ended_ = true; }
  int shown() const { return shown_; }
  bool ended() const { return ended_; }

 private:
  int after_;
  int shown_ = 0;
  bool cancelled_ = false;
  bool ended_ = false;
};

// A viewer with a plain frame window and a count of pending idle steps.
class FakeViewer : public ViewerLink {
 public:
  explicit FakeViewer(int* deletedCount) : deleted_(deletedCount) {
    frame_ = CreateWindowA("STATIC", "viewer", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  }
  ~FakeViewer() override {
    DestroyWindow(frame_);
    ++*deleted_;
  }
  HWND Frame() const override { return frame_; }
  bool HasIdleWork() const override { return idleWork > 0; }
  void DoIdleWork() override { --idleWork; }
  bool TranslateAccelerators(MSG*) override { return false; }
  bool Open(const std::vector<ViewerPhoto>&, int) override { return true; }
  void StartFullScreenSlideShow() override {}
  bool Busy() const override { return busy; }

  int idleWork = 0;
  bool busy = false;

 private:
  HWND frame_;
  int* deleted_;
};
