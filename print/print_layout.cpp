#include "print/print_layout.h"

#include <algorithm>
#include <cmath>

#include "ui/mul_div.h"

namespace print {

namespace {

int Trunc(double value) { return static_cast<int>(value); }  // toward zero

// One axis of the thumbnail grid: cell size (real), gap and pitch.
struct GridAxis {
  double cell = 0;
  int gap = 0;
  int pitch = 0;
};

GridAxis MakeAxis(int ppi, float inches) {
  GridAxis axis;
  axis.cell = ppi * static_cast<double>(inches);
  axis.gap = Trunc(axis.cell * 0.05);
  axis.pitch = Trunc(axis.cell + axis.gap);
  return axis;
}

// How far to move the grid so that whole cells sit in the middle (1) or at the
// end (2) of the printable extent.
int GridShift(int place, int extent, int gap, int pitch) {
  if (place == 0 || pitch <= 0) return 0;
  int cells = std::max(1, (extent + gap) / pitch);
  int slack = gap + extent - cells * pitch;
  return place == 1 ? slack / 2 : slack;
}

struct SourceSize {
  int width = 0;
  int height = 0;
};

SourceSize SourceOf(const PrintPhoto& photo, const imaging::PixelRect& selection) {
  if (selection.empty()) return {photo.width, photo.height};
  imaging::PixelRect r{std::max(selection.left, 0), std::max(selection.top, 0),
                       std::min(selection.right, photo.width), std::min(selection.bottom, photo.height)};
  if (r.empty()) return {photo.width, photo.height};
  return {r.width(), r.height()};
}

// The working rectangle of the open page and the thumbnail cursor.
struct PageCursor {
  imaging::PixelRect work;
  int available = 0;  // A: height left for the photo in modes 0 and 1
  int x = 0;
  int y = 0;
};

}  // namespace

std::shared_ptr<const imaging::PackedDib> ThumbnailCopy(const imaging::PackedDib* thumbnail) {
  if (!thumbnail) return nullptr;
  auto copy = std::make_shared<imaging::PackedDib>();
  return copy->copyFrom(*thumbnail) ? copy : nullptr;
}

int InfoFontHeight(int ppiY) { return MulDivRounded(8, ppiY, 72); }  // 8 points

void PageList::reset(std::size_t capacity) {
  count_.store(0, std::memory_order_relaxed);
  std::vector<PrintPage>(capacity).swap(pages_);
}

PrintPage& PageList::open() {
  int index = count_.load(std::memory_order_relaxed);
  count_.store(index + 1, std::memory_order_release);
  return pages_[static_cast<std::size_t>(index)];
}

imaging::PixelRect PrintableRect(const PrintOptions& options, const PageMetrics& m) {
  const double left = options.leftMargin, right = options.rightMargin;
  const double top = options.topMargin, bottom = options.bottomMargin;
  int width = m.width - Trunc(m.ppiX * (right + left));
  int height = m.height - Trunc((bottom + top) * m.ppiY);
  int x = Trunc(m.ppiX * left), y = Trunc(m.ppiY * top);
  return {x, y, x + width, y + height};
}

std::string InfoLine(const PrintOptions& options, const PrintPhoto& photo) {
  std::string line;
  if (options.showPhotoNumber) line = "#" + std::to_string(photo.number + 1);
  if (options.showDate) {
    if (!line.empty()) line += " - ";
    line += photo.dateText;
  }
  return line;
}

bool Paginate(const PrintOptions& options, const PageMetrics& m, const std::vector<PrintPhoto>& photos,
              const imaging::PixelRect& selection, PageList& pages, const PaginationSignals& signals) {
  const imaging::PixelRect printable = PrintableRect(options, m);
  const int printableWidth = printable.width();
  const int printableHeight = printable.height();
  const int G = InfoFontHeight(m.ppiY);
  const int mode = options.sizeMode;
  const int column = options.position % 3, row = options.position / 3;
  const float thumbWidth = options.thumbnailWidth, thumbHeight = options.thumbnailHeight;
  const GridAxis across = MakeAxis(m.ppiX, thumbWidth);
  GridAxis down = MakeAxis(m.ppiY, thumbHeight);
  if (mode == kThumbnails) {
    int lines = ((options.showPhotoNumber || options.showDate) ? 1 : 0) + options.photographerChoice +
                options.descriptionChoice;
    if (lines > 0) down.pitch += (lines + 1) * G;
  }

  PrintPage* page = nullptr;
  PageCursor c;
  for (std::size_t i = 0; i < photos.size(); ++i) {
    if (signals.stop && signals.stop->load()) return false;
    const PrintPhoto& photo = photos[i];
    if (!page) {
      page = &pages.open();
      if (signals.pageOnShow && signals.pageReady && pages.count() == signals.pageOnShow->load() + 1)
        signals.pageReady();
      c.work = printable;
      c.available = printableHeight;
      if (mode == kThumbnails) {
        int dx = GridShift(column, printableWidth, across.gap, across.pitch);
        int dy = GridShift(row, printableHeight, down.gap, down.pitch);
        c.work = {c.work.left + dx, c.work.top + dy, c.work.right + dx, c.work.bottom + dy};
      }
      c.x = c.work.left;
      c.y = c.work.top;
    }

    SourceSize source = SourceOf(photo, selection);
    PlacedItem item;
    item.photo = static_cast<int>(i);
    item.info = InfoLine(options, photo);

    if (mode != kThumbnails && !item.info.empty()) {
      int h1 = m.lineHeight;
      item.infoPlace = {c.work.left, c.work.top, c.work.right, c.work.top + h1};
      c.work.top += h1 + G / 2;
      c.available -= h1 + G / 2;
    }

    int B, C;
    if (mode == kFitToPage) {
      B = printableWidth;
      C = c.available;
    } else if (mode == kSpecifiedSize) {
      B = Trunc(m.ppiX * static_cast<double>(options.specifiedWidth));
      C = Trunc(m.ppiY * static_cast<double>(options.specifiedHeight));
    } else {
      B = Trunc(m.ppiX * static_cast<double>(thumbWidth));
      C = Trunc(m.ppiY * static_cast<double>(thumbHeight));
    }
    if (options.keepAspectRatio && source.width > 0 && source.height > 0) {
      double sx = static_cast<double>(B) / source.width, sy = static_cast<double>(C) / source.height;
      if (sx >= sy)
        B = Trunc(source.width * sy);
      else
        C = Trunc(sx * source.height);
    }

    if (mode != kThumbnails) {
      int x = column == 0 ? c.work.left : column == 1 ? c.work.left + (printableWidth - B) / 2 : c.work.right - B;
      int y = c.work.top, infoShift = 0;
      if (row == 1) {
        infoShift = (c.available - C) / 2;
        y = c.work.top + infoShift;
      } else if (row == 2) {
        y = c.work.bottom - C;
        infoShift = c.available - C;
      }
      item.place = {x, y, x + B, y + C};
      item.infoPlace.top += infoShift;
      item.infoPlace.bottom += infoShift;
      page->items.push_back(std::move(item));
      page = nullptr;  // one photo per page
      continue;
    }

    int x = c.x + Trunc(across.cell - B) / 2;
    int y = Trunc(down.cell - C) + c.y;  // photos sit at the bottom of their cells
    item.place = {x, y, x + B, y + C};
    if (!item.info.empty()) {
      int top = Trunc(down.cell) + c.y + G / 2;
      item.infoPlace = {c.x, top, c.x + across.pitch, top + G};
    }
    page->items.push_back(std::move(item));
    int oldX = c.x, oldY = c.y;
    c.x += across.pitch;
    if (c.work.right < oldX + 2 * across.pitch - across.gap) {
      c.x = c.work.left;
      c.y += down.pitch;
      if (c.work.bottom < oldY + 2 * down.pitch - down.gap) page = nullptr;
    }
  }
  return true;
}

}  // namespace print
