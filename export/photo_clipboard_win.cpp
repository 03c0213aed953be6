#include "export/photo_clipboard_win.h"

#include <cstring>
#include <memory>

#include "export/file_drop_list.h"
#include "imagefile/requested_level.h"
#include "imaging/dib_ops.h"
#include "resources/resource_ids.h"
#include "ui/progress_window_win.h"
#include "ui/ui_utils_win.h"
#include "ui/wait_cursor_win.h"

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

HGLOBAL FileListBlock(const std::vector<std::string>& paths) {
  std::vector<unsigned char> bytes = FileDropList(paths);
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
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    GetDIBColorTable(dc, 0, colours, reinterpret_cast<RGBQUAD*>(out + sizeof header));
    SelectObject(dc, old);
    DeleteDC(dc);
  }
  std::memcpy(out + sizeof header + tableBytes, section.dsBm.bmBits, pixelBytes);
  GlobalUnlock(block);
  return block;
}

// Decodes the page with a progress window; false when the user cancelled.
bool DecodeWithProgress(ImageReader& reader, int page, HINSTANCE instance, HWND owner) {
  ProgressWindow progress(instance, owner, LoadStringText(instance, IDS_COPY_CAPTION).c_str(), 500);
  progress.setRange(0, 10000);
  progress.setPosition(0);
  progress.setText(LoadStringText(instance, IDS_COPYING).c_str());
  DecodeRequest request;
  request.page = page;
  request.useDdb = false;
  if (!reader.beginDecode(request)) {
    char text[256] = "";
    FormatStringId(text, sizeof text, instance, IDS_COPY_IMAGE_FAILED, reader.error());
    MessageWithCaptionId(instance, progress.handle(), text, IDS_COPY_CAPTION, MB_OK);
    return true;
  }
  const int rows = (reader.height() + 50) / 100 > 0 ? (reader.height() + 50) / 100 : 1;
  while (!reader.isComplete() && !g_progressCancelled) {
    if (!reader.step(rows)) break;
    progress.setPosition(reader.progress());
    progress.pump();
  }
  reader.finish(false);
  return !g_progressCancelled;
}

}  // namespace

bool CopyPhotoToClipboard(ImageReader* given, int page, const RECT* crop, HINSTANCE instance, HWND owner,
                          int rotationFlags) {
  if (!owner || !given) return false;
  // Decoding starts afresh from the file, whatever the given reader holds.
  std::unique_ptr<ImageReader> second;
  ImageReader* reader = given;
  if (!given->path().empty()) {
    second = std::make_unique<ImageReader>();
    second->open(given->path());
    reader = second.get();
  }
  const bool quarterTurn = rotationFlags & (kCopyTurnLeft | kCopyTurnRight);
  const int width = quarterTurn ? reader->height() : reader->width();
  const int height = quarterTurn ? reader->width() : reader->height();
  RECT area = {0, 0, width - 1, height - 1};
  if (crop && !IsRectEmpty(crop)) area = *crop;
  if (reader->format() < 0 || area.left < 0 || area.top < 0 || area.right >= width || area.bottom >= height ||
      area.left >= area.right || area.top >= area.bottom)
    return false;
  if (reader->format() == kFormatPageless) page = 0;

  WaitCursor wait;
  if (!DecodeWithProgress(*reader, page, instance, owner)) return true;  // cancelled: nothing, quietly
  if (rotationFlags & kCopyTurnHalf)
    reader->rotate(180);
  else if (rotationFlags & kCopyTurnLeft)
    reader->rotate(-90);
  else if (rotationFlags & kCopyTurnRight)
    reader->rotate(90);

  HGLOBAL files = reader->path().empty() ? nullptr : FileListBlock({reader->path()});
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
  for (auto [format, block] : {std::pair<UINT, HGLOBAL>{CF_DIB, dib}, {CF_HDROP, files}}) {
    if (!block) continue;
    ok = SetClipboardData(format, block) != nullptr;
    if (!ok) GlobalFree(block);
  }
  CloseClipboard();
  return ok;
}

bool CopyPhotoFile(HINSTANCE instance, HWND owner, const std::string& path, int rotationFlags) {
  ImageReader reader;
  reader.open(path);
  bool ok;
  {
    RequestedLevelScope level(kBaseLevel);
    ok = CopyPhotoToClipboard(&reader, 0, nullptr, instance, owner, rotationFlags);
  }
  if (!ok) SystemErrorBoxId(instance, owner, IDS_COPY_FAILED);
  return ok;
}

bool CopyFileListToClipboard(HWND owner, const std::vector<std::string>& paths) {
  WaitCursor wait;
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  HGLOBAL files = FileListBlock(paths);
  bool ok = files && SetClipboardData(CF_HDROP, files);
  const DWORD copyEffect = 1;  // DROPEFFECT_COPY
  HGLOBAL effect = GlobalCopy(&copyEffect, sizeof copyEffect);
  ok = effect && SetClipboardData(RegisterClipboardFormatA("Preferred DropEffect"), effect) && ok;
  CloseClipboard();
  return ok;
}

}  // namespace imagefile
