#include "export/photo_clipboard_win.h"

#include <cstring>
#include <memory>

#include "export/file_drop_list.h"
#include "photocd/disc_image.h"
#include "photocd/pcd_file.h"
#include "imaging/dib_ops.h"
#include "resources/resource_ids.h"
#include "ui/command_rules_win.h"
#include "ui/path_utils.h"
#include "ui/photo_steps_win.h"
#include "ui/progress_window_win.h"
#include "ui/ui_utils_win.h"
#include "ui/wait_cursor_win.h"
#include "ui/gdi_scope_win.h"

namespace imagefile {
namespace {

constexpr int kBaseLevel = 3;
constexpr int kFormatPageless = 1;  // has no pages to choose from

HGLOBAL GlobalCopy(const void* data, std::size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!block) return nullptr;
  std::memcpy(GlobalLock(block), data, size);
  GlobalUnlock(block);
  return block;
}

// Where copies out of disc images live until the program ends; empty when the
// system has no temporary folder.
std::string CopiesFolder() {
  char temp[MAX_PATH] = "";
  const DWORD length = GetTempPathA(MAX_PATH, temp);
  if (length == 0 || length >= MAX_PATH) return {};
  return JoinPath(temp, "Lumivexa SE");
}

// Copies a file the toolkit reads (from a folder or inside a disc image) to a
// new local file, moving the progress bar; a copy cut short by a failure or
// by Cancel is deleted.
bool CopyOut(const std::string& from, const std::string& to, ProgressWindow& progress) {
  PcdFile* in = nullptr;
  if (PcdFileOpen(from.c_str(), in) != kPcdOk) return false;
  std::uint32_t size = 0;
  PcdFileSize(in, size);
  HANDLE out = CreateFileA(to.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  bool ok = out != INVALID_HANDLE_VALUE;
  std::vector<char> buffer(1 << 16);
  std::uint32_t got = static_cast<std::uint32_t>(buffer.size()), done = 0;
  while (ok && got == buffer.size() && !progress.cancelled()) {
    ok = PcdFileRead(in, buffer.data(), static_cast<std::uint32_t>(buffer.size()), got) == kPcdOk;
    DWORD written = 0;
    ok = ok && (got == 0 || (WriteFile(out, buffer.data(), got, &written, nullptr) && written == got));
    done += got;
    progress.setPosition(size ? static_cast<int>(10000.0 * done / size) : 10000);
    progress.pump();
  }
  ok = ok && !progress.cancelled();
  const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
  PcdFileClose(in);
  if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
  if (!ok) {
    DeleteFileA(to.c_str());
    SetLastError(error);  // for the message the caller shows
  }
  return ok;
}

// The shell copies files by their paths, and a file inside a disc image has
// none it can read: such a file is copied out to the temporary folder first,
// as "Lumivexa SE\<image name>\<file name>", and the copy is listed. Empty
// when that fails or is cancelled.
std::string ShellPath(const std::string& path, ProgressWindow& progress) {
  std::string image, inside;
  if (!pcdimage::SplitImagePath(path, image, inside)) return path;
  const std::string ours = CopiesFolder();
  if (ours.empty()) return {};
  const std::string folder = JoinPath(ours, ReplaceExtension(image.substr(image.find_last_of("\\/") + 1), ""));
  CreateDirectoryA(ours.c_str(), nullptr);
  CreateDirectoryA(folder.c_str(), nullptr);
  std::string name = inside.substr(inside.find_last_of("\\/") + 1);
  name = name.substr(0, name.find(';'));  // without the ";1" of the disc's names
  const std::string target = JoinPath(folder, name);
  return CopyOut(path, target, progress) ? target : std::string();
}

// The files as the shell's file list; null when one of them cannot be listed
// or the user cancelled a copy out of a disc image (then *cancelled is set).
HGLOBAL FileListBlock(const std::vector<std::string>& paths, HINSTANCE instance, HWND owner, bool* cancelled) {
  ProgressWindow progress(instance, owner, LoadStringText(instance, IDS_COPY_CAPTION).c_str(), 500);
  progress.setRange(0, 10000);
  progress.setText(LoadStringText(instance, IDS_COPYING).c_str());
  std::vector<std::string> listed;
  for (const std::string& path : paths) {
    listed.push_back(ShellPath(path, progress));
    if (listed.back().empty()) {
      *cancelled = progress.cancelled();
      return nullptr;
    }
  }
  std::vector<unsigned char> bytes = FileDropList(listed);
  return GlobalCopy(bytes.data(), bytes.size());
}

// CF_DIB of a DIB section: its header (biSizeImage 0), colour table and rows.
HGLOBAL PackedDibBlock(HBITMAP bitmap) {
  DIBSECTION section = {};
  if (GetObjectA(bitmap, sizeof section, &section) != sizeof section || !section.dsBm.bmBits) return nullptr;
  BITMAPINFOHEADER header = section.dsBmih;
  header.biSizeImage = 0;
  const int bits = header.biBitCount;
  int colours = header.biClrUsed ? static_cast<int>(header.biClrUsed) : (bits <= 8 ? 1 << bits : 0);
  const std::size_t rowBytes = ((static_cast<std::size_t>(section.dsBm.bmWidth) * bits + 31) / 32) * 4;
  const std::size_t pixelBytes = rowBytes * section.dsBm.bmHeight;
  const std::size_t tableBytes = colours * sizeof(RGBQUAD);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof header + tableBytes + pixelBytes + 4);
  if (!block) return nullptr;
  auto* out = static_cast<unsigned char*>(GlobalLock(block));
  std::memcpy(out, &header, sizeof header);
  if (colours) {
    MemoryDc dc(nullptr);
    SelectedObject selected(dc.get(), bitmap);
    GetDIBColorTable(dc.get(), 0, colours, reinterpret_cast<RGBQUAD*>(out + sizeof header));
  }
  std::memcpy(out + sizeof header + tableBytes, section.dsBm.bmBits, pixelBytes);
  GlobalUnlock(block);
  return block;
}

// Decodes the page with a progress window; false when the user cancelled.
bool DecodeForCopy(ImageReader& reader, int page, int level, HINSTANCE instance, HWND owner) {
  ProgressWindow progress(instance, owner, LoadStringText(instance, IDS_COPY_CAPTION).c_str(), 500);
  progress.setRange(0, 10000);
  progress.setPosition(0);
  progress.setText(LoadStringText(instance, IDS_COPYING).c_str());
  DecodeRequest request;
  request.page = page;
  request.pcdLevel = level;
  request.useDdb = false;
  const DecodeOutcome outcome = DecodeWithProgress(reader, request, kHundredthOfTheImage, progress);
  if (outcome == DecodeOutcome::kCannotStart) {
    char text[256] = "";
    FormatStringId(text, sizeof text, instance, IDS_COPY_IMAGE_FAILED, reader.error());
    MessageWithCaptionId(instance, owner, text, IDS_COPY_CAPTION, MB_OK);
  }
  return outcome != DecodeOutcome::kCancelled;
}

}  // namespace

bool CopyPhotoToClipboard(ImageReader* given, int page, const RECT* crop, HINSTANCE instance, HWND owner,
                          imaging::QuarterTurns turn, int level) {
  if (!owner || !given) return false;
  ExclusiveCommand run(instance, owner);
  if (!run.started()) return true;  // the user was told
  // Decoding starts afresh from the file, whatever the given reader holds.
  std::unique_ptr<ImageReader> second;
  ImageReader* reader = given;
  if (!given->path().empty()) {
    second = std::make_unique<ImageReader>();
    second->open(given->path());
    reader = second.get();
  }
  const int width = turn.swapsSides() ? reader->height() : reader->width();
  const int height = turn.swapsSides() ? reader->width() : reader->height();
  RECT area = {0, 0, width - 1, height - 1};
  if (crop && !IsRectEmpty(crop)) area = *crop;
  if (reader->format() < 0 || area.left < 0 || area.top < 0 || area.right >= width || area.bottom >= height ||
      area.left >= area.right || area.top >= area.bottom)
    return false;
  if (reader->format() == kFormatPageless) page = 0;

  WaitCursor wait;
  if (!DecodeForCopy(*reader, page, level, instance, owner)) return true;  // cancelled: nothing, quietly
  // Unturned, the copy would not be the photo as shown.
  if (!turn.none() && reader->isComplete() && !reader->rotate(turn)) return false;
  // Without a crop the whole decode is copied: its size is the request's
  // level's, which the sizes read before decoding need not be.
  if (!crop || IsRectEmpty(crop)) area = {0, 0, reader->displayedWidth() - 1, reader->displayedHeight() - 1};

  bool cancelled = false;
  HGLOBAL files = reader->path().empty() ? nullptr : FileListBlock({reader->path()}, instance, owner, &cancelled);
  if (cancelled) return true;  // the copy out of a disc image was cancelled
  HGLOBAL dib = nullptr;
  // A decode that stopped part-way would copy a half-blank picture.
  if (reader->isComplete()) {
    if (auto bitmap = reinterpret_cast<HBITMAP>(reader->firstBitmap())) {
      auto cropped = reinterpret_cast<HBITMAP>(imaging::crop(reinterpret_cast<imaging::BitmapHandle>(bitmap),
                                                             area.left, area.top, area.right - area.left + 1,
                                                             area.bottom - area.top + 1));
      if (cropped) {
        dib = PackedDibBlock(cropped);
        DeleteObject(cropped);
      }
    }
  }
  second.reset();

  bool ok = false;
  if (!OpenClipboard(owner)) {
    if (dib) GlobalFree(dib);
    if (files) GlobalFree(files);
    return false;
  }
  EmptyClipboard();
  for (auto [format, block] : {std::pair<UINT, HGLOBAL>{CF_DIB, dib}, {CF_HDROP, files}})
    if (block) ok = PutOnClipboard(format, block);
  CloseClipboard();
  return ok;
}

bool CopyPhotoAtLevel(HINSTANCE instance, HWND owner, const std::string& path, int level, imaging::QuarterTurns turn) {
  ImageReader reader;
  reader.open(path);
  return CopyPhotoToClipboard(&reader, 0, nullptr, instance, owner, turn, level);
}

bool CopyPhotoFile(HINSTANCE instance, HWND owner, const std::string& path, imaging::QuarterTurns turn) {
  const bool ok = CopyPhotoAtLevel(instance, owner, path, kBaseLevel, turn);
  if (!ok) SystemErrorBoxId(instance, owner, IDS_COPY_FAILED);
  return ok;
}

bool CopyFileListToClipboard(HINSTANCE instance, HWND owner, const std::vector<std::string>& paths) {
  ExclusiveCommand run(instance, owner);
  if (!run.started()) return true;  // the user was told
  WaitCursor wait;
  bool cancelled = false;
  HGLOBAL files = FileListBlock(paths, instance, owner, &cancelled);
  if (!files) return cancelled;  // a cancelled copy out of a disc image copies nothing, quietly
  if (!OpenClipboard(owner)) {
    GlobalFree(files);
    return false;
  }
  EmptyClipboard();
  const DWORD copyEffect = 1;  // DROPEFFECT_COPY
  bool ok = PutOnClipboard(CF_HDROP, files);
  ok = PutOnClipboard(RegisterClipboardFormatA("Preferred DropEffect"), GlobalCopy(&copyEffect, sizeof copyEffect)) && ok;
  CloseClipboard();
  return ok;
}

bool PutOnClipboard(UINT format, HGLOBAL block) {
  if (!block) return false;
  if (SetClipboardData(format, block)) return true;
  GlobalFree(block);
  return false;
}

void RemoveClipboardCopies() {
  const std::string ours = CopiesFolder();
  if (ours.empty()) return;
  // Two levels: a folder per disc image, the copied packs inside.
  WIN32_FIND_DATAA image;
  HANDLE images = FindFirstFileA(JoinPath(ours, "*").c_str(), &image);
  if (images != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = image.cFileName;
      if (!(image.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || name == "." || name == "..") continue;
      const std::string folder = JoinPath(ours, name);
      WIN32_FIND_DATAA copy;
      HANDLE copies = FindFirstFileA(JoinPath(folder, "*").c_str(), &copy);
      if (copies != INVALID_HANDLE_VALUE) {
        do {
          if (!(copy.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) DeleteFileA(JoinPath(folder, copy.cFileName).c_str());
        } while (FindNextFileA(copies, &copy));
        FindClose(copies);
      }
      RemoveDirectoryA(folder.c_str());
    } while (FindNextFileA(images, &image));
    FindClose(images);
  }
  RemoveDirectoryA(ours.c_str());
}

}  // namespace imagefile
