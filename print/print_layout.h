// The print layout: where each photo goes on which page, in printer pixels,
// with its information line. Pure arithmetic on the page metrics and the print
// options; nothing is decoded here.
#pragma once
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "settings/print_options.h"
#include "imaging/pixel_types.h"
#include "imaging/packed_dib.h"

namespace print {

enum SizeMode : std::uint8_t { kFitToPage = 0, kSpecifiedSize = 1, kThumbnails = 2 };

// What the printer reports about its page, in printer pixels.
struct PageMetrics {
  int width = 0;   // printable page width
  int height = 0;
  int ppiX = 0;    // pixels per inch
  int ppiY = 0;
  int lineHeight = 0;  // one line of the information font as text drawing measures it
};

// Height in printer pixels of the 8-point information font.
int InfoFontHeight(int ppiY);

// One photo to print: what the layout reads, and its thumbnail for the preview.
struct PrintPhoto {
  std::string path;           // the image file
  int number = 0;             // 0-based photo number, printed plus one
  int width = 0;              // nominal size in pixels, as printed (turned when the photo is)
  int height = 0;
  std::uint64_t date = 0;     // local file time (100 ns since 1601)
  std::string dateText;       // the date in the user's short format; empty until formatted
  std::shared_ptr<const imaging::PackedDib> thumbnail;  // may be null
};

// An owned copy of a thumbnail for the preview, so that it outlives the
// window that loaded it; null without one or when the copy fails.
std::shared_ptr<const imaging::PackedDib> ThumbnailCopy(const imaging::PackedDib* thumbnail);

// A photo placed on a page.
struct PlacedItem {
  int photo = 0;                // index into the photo list (and the job's readers)
  int subImage = 0;             // image within the file; 0 for Photo CD image packs
  imaging::PixelRect place;     // destination on the page
  std::string info;             // information line; empty means none
  imaging::PixelRect infoPlace;
};

struct PrintPage {
  std::vector<PlacedItem> items;
};

// The pages of one pagination. The pagination thread appends while the
// user-interface thread may read pages already completed: every page is
// allocated up front (a photo opens at most one page), so appending never
// moves a page, and the count is published with release order.
class PageList {
 public:
  // Discards every page; only while no pagination runs.
  void reset(std::size_t capacity);
  PrintPage& open();  // the next page; the caller guarantees the capacity
  int count() const { return count_.load(std::memory_order_acquire); }
  const PrintPage& page(int index) const { return pages_[static_cast<std::size_t>(index)]; }

 private:
  std::vector<PrintPage> pages_;
  std::atomic<int> count_{0};
};

// The page inside the margins.
imaging::PixelRect PrintableRect(const PrintOptions& options, const PageMetrics& metrics);

// "#n", " - " and the short date, as the options ask; empty when nothing is shown.
std::string InfoLine(const PrintOptions& options, const PrintPhoto& photo);

struct PaginationSignals {
  const std::atomic<bool>* stop = nullptr;       // checked before each photo
  const std::atomic<int>* pageOnShow = nullptr;  // 1-based page the preview shows
  std::function<void()> pageReady;               // the page on show has been completed
};

// Fills pages from the photos in list order. A non-empty selection (in the
// photo's pixels) replaces each photo's size. False when stopped early.
bool Paginate(const PrintOptions& options, const PageMetrics& metrics, const std::vector<PrintPhoto>& photos,
              const imaging::PixelRect& selection, PageList& pages, const PaginationSignals& signals = {});

}  // namespace print
