// Times the browse window on a 100-photo disc under Wine: from creation to the
// first screen of thumbnails, and to every thumbnail drawn. Prints the figures;
// run it by hand:
//   scripts/wine-env.sh scripts/wine-run.sh build/win32/bin/browse_startup_bench.exe
//
// The disc is made from the sample disc on D:: its INFO.PCD and an overview pack
// whose 100 thumbnails repeat the sample's, in C:\PHOTO_CD (C: is searched first).
// With a folder as argument it times opening that folder instead, with every
// thumbnail taken from its own pack (scripts/bench-folder makes one of 100
// loose packs and runs it on a cold cache).
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "browse/browse_window.h"
#include "resources/resource_ids.h"
#include "ui/comctl_version_win.h"
#include "ui/shell_state_win.h"

namespace {

constexpr int kPhotos = 100;
constexpr DWORD kThumbnailStart = 0x2800;
constexpr DWORD kThumbnailBytes = 0x9000;
constexpr DWORD kCountOffset = 10;

std::vector<char> ReadFile(const char* path) {
  std::vector<char> data;
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return data;
  data.resize(GetFileSize(file, nullptr));
  DWORD got = 0;
  ::ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &got, nullptr);
  CloseHandle(file);
  data.resize(got);
  return data;
}

bool WriteFile(const char* path, const std::vector<char>& data) {
  HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD put = 0;
  ::WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &put, nullptr);
  CloseHandle(file);
  return put == data.size();
}

bool MakeLargeDisc() {
  std::vector<char> overview = ReadFile("D:\\PHOTO_CD\\OVERVIEW.PCD");
  if (overview.size() < kThumbnailStart + kThumbnailBytes) return false;
  const int sample = static_cast<unsigned char>(overview[kCountOffset]) * 256 +
                     static_cast<unsigned char>(overview[kCountOffset + 1]);
  std::vector<char> large(overview.begin(), overview.begin() + kThumbnailStart);
  large[kCountOffset] = 0;
  large[kCountOffset + 1] = kPhotos;
  for (int n = 1; n <= kPhotos; ++n) {
    int from = (n - 1) % sample;
    large[11 + n] = overview[11 + from + 1];  // attribute byte
    auto start = overview.begin() + kThumbnailStart + from * kThumbnailBytes;
    large.insert(large.end(), start, start + kThumbnailBytes);
  }
  CreateDirectoryA("C:\\PHOTO_CD", nullptr);
  return WriteFile("C:\\PHOTO_CD\\OVERVIEW.PCD", large) &&
         CopyFileA("D:\\PHOTO_CD\\INFO.PCD", "C:\\PHOTO_CD\\INFO.PCD", FALSE);
}

void RemoveLargeDisc() {
  DeleteFileA("C:\\PHOTO_CD\\OVERVIEW.PCD");
  DeleteFileA("C:\\PHOTO_CD\\INFO.PCD");
  RemoveDirectoryA("C:\\PHOTO_CD");
}

// True when every photo whose cell shows in the list has its thumbnail.
bool VisibleThumbnailsDone(const BrowseWindow& window) {
  RECT client;
  GetClientRect(window.list(), &client);
  for (std::size_t i = 0; i < window.photos().Count(); ++i) {
    RECT bounds = {};
    bounds.left = LVIR_BOUNDS;
    SendMessageA(window.list(), LVM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&bounds));
    RECT overlap;
    if (IntersectRect(&overlap, &bounds, &client) && !window.photos()[i]->thumbnail.load()) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = argc > 1 ? argv[1] : "";
  g_instance = GetModuleHandleA(nullptr);
  g_mainIcon = LoadIconA(g_instance, MAKEINTRESOURCEA(IDI_MAIN));
  g_alternateIcon = LoadIconA(g_instance, MAKEINTRESOURCEA(IDI_ALTERNATE));
  g_comctlVersion = ProbeComctlVersion();
  InitAllCommonControls();
  if (folder.empty() && !MakeLargeDisc()) {
    std::printf("could not make the 100-photo disc from D:\\PHOTO_CD\n");
    return 1;
  }

  LARGE_INTEGER frequency, start, now;
  QueryPerformanceFrequency(&frequency);
  auto elapsedMs = [&] {
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
  };
  double firstScreenMs = -1, allMs = -1;
  {
    QueryPerformanceCounter(&start);
    BrowseWindow window;
    if (!folder.empty()) window.SetProbedDrives('Q', 'Q');  // no drive: only the folder is timed
    const bool created = window.Create(SW_SHOWNORMAL) && (folder.empty() || window.OpenFolder(folder, false));
    if (created && window.photos().Count() == kPhotos) {
      // The main loop's turns: drain, then one idle step while the loader runs.
      MSG msg;
      while (window.NeedsIdle() && elapsedMs() < 60000) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
          if (msg.message != WM_QUIT && !window.PreTranslate(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
          }
        window.DoIdle();
        if (firstScreenMs < 0 && VisibleThumbnailsDone(window)) firstScreenMs = elapsedMs();
      }
      UpdateWindow(window.hwnd());
      allMs = elapsedMs();
    }
  }
  if (folder.empty()) RemoveLargeDisc();
  if (allMs < 0) {
    std::printf("the browse window did not list %d photos\n", kPhotos);
    return 1;
  }
  std::printf("%d photos: first screen of thumbnails %.0f ms, all thumbnails %.0f ms\n", kPhotos, firstScreenMs,
              allMs);
  return 0;
}
