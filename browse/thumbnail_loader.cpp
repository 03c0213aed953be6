// The thumbnail loader thread: decodes one thumbnail from the overview pack (or,
// without one, from the photo's own pack) each time the main loop's idle step
// signals the work event.
#include <cstring>
#include <vector>

#include "browse/browse_window.h"
#include "browse/cell_drawing.h"
#include "browse/loader_order.h"
#include "photocd/output_format.h"
#include "settings/settings.h"
#include "ui/wait_cursor_win.h"

namespace {

// Header and colour table of a thumbnail block.
constexpr std::size_t kThumbnailInfoBytes = 40 + 256 * 4;

}  // namespace

void BrowseWindow::StartLoader() {
  SetEvent(workEvent_);
  loaderPosition_.store(0);
  loader_.start([this](long) { RunLoader(); });
}

void BrowseWindow::StopLoader() {
  WaitCursor wait;
  loader_.stop();
}

int BrowseWindow::LoaderPositionNow() const {
  if (!list_) return 0;
  LONG style = GetWindowLongW(list_, GWL_STYLE) & LVS_TYPEMASK;
  if (style == LVS_REPORT || style == LVS_LIST)
    return static_cast<int>(SendMessageW(list_, LVM_GETTOPINDEX, 0, 0));
  LVFINDINFOW find = {};
  find.flags = LVFI_NEARESTXY;
  find.pt.x = 0;
  find.pt.y = 0;
  find.vkDirection = VK_RIGHT;
  int found = static_cast<int>(
      SendMessageW(list_, LVM_FINDITEMW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&find)));
  return browse::LoaderPositionFromNearestItem(found);
}

void BrowseWindow::RunLoader() {
  const int count = static_cast<int>(photos_.Count());
  browse::LoaderOrder order(count);
  const HANDLE events[] = {loader_.stopEvent(), workEvent_};
  while (count > 0 && !loader_.stopRequested()) {
    if (WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0 + 1) break;
    int index = order.Step(loaderPosition_.load());
    browse::PhotoItem* photo = index >= 0 ? photos_[index] : nullptr;
    if (photo && !photo->thumbnail) {
      MakeThumbnail(photo);
      PostMessageW(list_, LVM_REDRAWITEMS, photo->index, photo->index);
    }
    if (order.Finished()) break;
  }
}

void BrowseWindow::MakeThumbnail(browse::PhotoItem* photo) {
  const int level = thumbnailLevel_;
  PcdBlock block = nullptr;
  if (disc_.overview) {
    if (PcdSelectPhoto(disc_.overview, photo->index + 1) != 0) return;
    PcdSetThumbnailLevel(disc_.overview, level);
    if (displayDepth_ <= 8) PcdSetFormat(disc_.overview, static_cast<int>(OutputFormat::Indexed8));
    // A scratched overview pack often loses sectors while the image packs read fine.
    if (PcdMakeThumbnailBitmap(disc_.overview, block) != 0 &&
        PcdMakePackThumbnailBitmap(disc_.overview, photo->path.c_str(), block) != 0)
      return;
  } else {
    // No overview pack (a copied disc without one, loose packs): each pack's own thumbnail.
    const OutputFormat format = displayDepth_ <= 8 ? OutputFormat::Indexed8 : OutputFormat::Rgb24;
    if (PcdMakeImagePackThumbnail(photo->path.c_str(), level, format, block) != 0) return;
  }
  if (!block) return;
  photo->block = block;
  auto* bytes = static_cast<const std::uint8_t*>(PcdLockBlock(block));
  if (!bytes) return;
  BITMAPINFOHEADER header;
  std::memcpy(&header, bytes, sizeof header);
  auto* dib = new imaging::PackedDib;
  if (!dib->borrow(bytes, kThumbnailInfoBytes + header.biSizeImage)) {
    delete dib;
    return;
  }

  if (displayDepth_ <= 8 && !palette_.load()) {
    int entries = header.biClrUsed ? static_cast<int>(header.biClrUsed) : 1 << header.biBitCount;
    if (entries > 256) entries = 256;
    std::vector<std::uint8_t> storage(sizeof(LOGPALETTE) + entries * sizeof(PALETTEENTRY));
    auto* logical = reinterpret_cast<LOGPALETTE*>(storage.data());
    logical->palVersion = 0x300;
    logical->palNumEntries = static_cast<WORD>(entries);
    const RGBQUAD* colours = reinterpret_cast<const RGBQUAD*>(bytes + sizeof header);
    for (int i = 0; i < entries; ++i)
      logical->palPalEntry[i] = PALETTEENTRY{colours[i].rgbRed, colours[i].rgbGreen, colours[i].rgbBlue, 0};
    palette_.store(CreatePalette(logical));  // before the thumbnail: who sees one sees both
  }

  if (!customDraw_) {
    // Older list controls draw ready-made cell bitmaps from the image list.
    HBITMAP cell = MakeCellBitmap(cells_, dib);
    delete dib;
    if (cell) {
      photo->imageIndex = ImageList_Add(images_, cell, nullptr);
      DeleteObject(cell);
    }
    return;
  }
  photo->thumbnail = dib;  // one store publishes the finished thumbnail
}
