#include "desktop/wallpaper_win.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>

#include "settings/settings.h"
#include "ui/command_rules_win.h"
#include "ui/shell_state_win.h"
#include "ui/ui_utils_win.h"
#include "imagefile/bmp_writer.h"
#include "imagefile/image_reader.h"
#include "ui/photo_steps_win.h"
#include "ui/progress_window_win.h"
#include "imaging/dib_ops.h"
#include "imaging/gdi_backend.h"
#include "ui/wait_cursor_win.h"

namespace {

constexpr char kDesktopKey[] = "Control Panel\\desktop";
constexpr char kNoWallpaper[] = "(none)";

// A decoded bitmap the wallpaper made itself (a cut-out); deleted on leaving.
struct OwnedBitmap {
  imaging::BitmapHandle handle = nullptr;
  ~OwnedBitmap() { imaging::deleteBitmap(handle); }
};

std::string FileTitle(const char* path) {
  char title[MAX_PATH] = "";
  if (GetFileTitleA(path, title, sizeof title) != 0) {
    const char* slash = std::strrchr(path, '\\');
    return slash ? slash + 1 : path;
  }
  return title;
}

desktop::Extent ScreenExtent() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

// Decodes the photo into the reader as the wallpaper shows it; false when the
// decode failed or was cancelled.
bool DecodePhoto(imagefile::ImageReader& reader, ProgressWindow& progress, imaging::QuarterTurns turn, double gamma,
                 const desktop::Selection* selection) {
  const desktop::Extent target =
      desktop::WallpaperTarget(ScreenExtent(), turn, {reader.width(), reader.height()}, selection);
  imagefile::DecodeRequest request;
  request.targetWidth = target.width;
  request.targetHeight = target.height;
  request.dither8 = g_settings.Dither8;
  request.dither16 = g_settings.Dither16;
  request.gamma = gamma;
  request.displayDepth = DisplayDepth();
  request.useDdb = false;  // the writer reads DIB sections
  return DecodeWithProgress(reader, request, kWholeImage, progress) == DecodeOutcome::kComplete && reader.firstBitmap();
}

// Writes the bitmap under a temporary name and only then replaces the old
// wallpaper file, so a failure never leaves the desktop a broken bitmap.
bool WriteBitmap(imaging::BitmapHandle bitmap, int rowsPerStep, ProgressWindow& progress) {
  const std::string path = WallpaperFilePath();
  imagefile::BmpWriter writer;
  return writer.setSource(bitmap) == 0 &&
         WriteWithProgress(writer, path + ".new", path, std::max(rowsPerStep, 1), progress) == WriteOutcome::kWritten;
}

std::string ReadString(HKEY key, const char* name, DWORD maxChars, bool* found) {
  std::string value(maxChars + 1, '\0');
  DWORD size = maxChars;
  *found = key && RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(&value[0]), &size) ==
                      ERROR_SUCCESS;
  value.resize(*found ? std::strlen(value.c_str()) : 0);
  return value;
}

void WriteString(HKEY key, const char* name, const std::string& value) {
  if (key)
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
}

// Registers the wallpaper; when setting, remembers the wallpaper it replaces
// unless that already is the program's own file.
void Install(ProgressWindow& progress, bool setting, std::string wallpaper, std::string tile) {
  WaitCursor wait;
  HWND cancel = GetDlgItem(progress.handle(), IDCANCEL);
  EnableWindow(cancel, FALSE);
  progress.setText("Setting Wallpaper");
  progress.setPosition(0);
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kDesktopKey, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS) key = nullptr;
  bool found = false;
  if (setting) {
    bool tileFound = false;
    std::string current = ReadString(key, "Wallpaper", MAX_PATH, &found);
    std::string currentTile = ReadString(key, "TileWallpaper", 10, &tileFound);
    if (lstrcmpiA(current.c_str(), wallpaper.c_str()) != 0) {
      WriteString(key, "PrevWallpaper", found ? current : kNoWallpaper);
      WriteString(key, "PrevTileWallpaper", tileFound ? currentTile : "0");
    }
  } else {
    std::string previous = ReadString(key, "PrevWallpaper", MAX_PATH, &found);
    if (found) wallpaper = previous;
    std::string previousTile = ReadString(key, "PrevTileWallpaper", 10, &found);
    if (found) tile = previousTile;
  }
  WriteString(key, "Wallpaper", wallpaper);
  WriteString(key, "TileWallpaper", tile);
  if (key) RegCloseKey(key);
  SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, &wallpaper[0], SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE);
  progress.setPosition(10000);
  EnableWindow(cancel, TRUE);
}

}  // namespace

std::string WallpaperFilePath() {
  char folder[MAX_PATH] = "";
  UINT length = GetWindowsDirectoryA(folder, sizeof folder);
  std::string path(folder, length < sizeof folder ? length : 0);
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path + "Quorvant Wallpaper.bmp";
}

int SetWallpaper(HINSTANCE instance, HWND owner, const char* caption, const char* photoPath, bool tile,
                 imaging::QuarterTurns turn, double gamma, const desktop::Selection* selection) {
  ExclusiveCommand run(instance, owner);
  if (!run.started()) return 0;
  WaitCursor wait;
  ProgressWindow progress(instance, owner, "Set wallpaper", 500);
  const std::string tileValue = tile ? "1" : "0";
  if (!photoPath) {
    Install(progress, false, kNoWallpaper, tileValue);
    return 1;
  }
  if (selection && selection->empty()) selection = nullptr;

  imagefile::ImageReader reader;
  reader.open(photoPath);
  progress.setRange(0, 10000);
  progress.setText(("Decoding " + FileTitle(photoPath)).c_str());
  const desktop::Extent photo = {reader.width(), reader.height()};
  if (!DecodePhoto(reader, progress, turn, gamma, selection)) {
    if (!progress.cancelled()) MessageBoxA(owner, "Could not read image.", caption, MB_OK | MB_ICONWARNING);
    return 0;
  }

  if (!turn.none() && !reader.rotate(turn)) {
    // Unturned, the desktop would show the photo otherwise than the viewer.
    MessageBoxA(owner, "Not enough memory to turn the image.", caption, MB_OK | MB_ICONWARNING);
    return 0;
  }
  imaging::BitmapHandle bitmap = reader.firstBitmap();
  OwnedBitmap cut;
  desktop::Selection part;
  const desktop::Extent shown = turn.swapsSides() ? desktop::Extent{photo.height, photo.width} : photo;
  if (selection &&
      desktop::ScaleSelection(*selection, shown, {reader.displayedWidth(), reader.displayedHeight()}, &part)) {
    cut.handle = imaging::crop(bitmap, part.left, part.top, part.width(), part.height());
    if (cut.handle) bitmap = cut.handle;
  }

  progress.setText("Writing BMP");
  progress.setPosition(0);
  if (!WriteBitmap(bitmap, reader.displayedHeight(), progress)) {
    MessageBoxA(owner, "Could not write bitmap.", caption, MB_OK | MB_ICONWARNING);
    return 0;
  }
  Install(progress, true, WallpaperFilePath(), tileValue);
  return 1;
}

bool SetPhotoAsWallpaper(HINSTANCE instance, HWND owner, const std::string& photoPath, bool tile,
                         imaging::QuarterTurns turn, const desktop::Selection* selection) {
  const double gamma = g_settings.GammaEnable ? g_settings.GammaFactor : 1.0;
  return SetWallpaper(instance, owner, kAppName, photoPath.c_str(), tile, turn, gamma, selection) == 1;
}

bool RemoveWallpaper(HINSTANCE instance, HWND owner) {
  return SetWallpaper(instance, owner, kAppName, nullptr, false, imaging::kNoTurn, 1.0, nullptr) == 1;
}
