#include "print/print_state_win.h"

#include <cstring>
#include <utility>

#include "ui/disc_time_win.h"
#include "ui/ui_utils_win.h"
#include "imaging/dib_ops.h"
#include "ui/gdi_scope_win.h"

namespace print {

namespace {

HFONT MakeInfoFont(int ppiY) {
  LOGFONTW font = {};
  font.lfHeight = -InfoFontHeight(ppiY);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = DRAFT_QUALITY;
  font.lfPitchAndFamily = VARIABLE_PITCH | FF_SWISS;
  return CreateFontIndirectW(&font);
}

// Height of one single line of text in the font, as DrawText measures it.
int LineHeight(HDC dc, HFONT font) {
  SelectedObject selected(dc, font);
  RECT r = {0, 0, 0, 0};
  DrawTextW(dc, L"#0", -1, &r, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  return r.bottom - r.top;
}

// The thumbnail as the photo will print: turned like it.
std::shared_ptr<const imaging::PackedDib> Turned(const std::shared_ptr<const imaging::PackedDib>& thumbnail,
                                                 imaging::QuarterTurns turn) {
  if (!thumbnail || !thumbnail->header() || !thumbnail->bits() || turn.none()) return thumbnail;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(nullptr, reinterpret_cast<const BITMAPINFO*>(thumbnail->info()),
                                     DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!section) return nullptr;
  std::memcpy(bits, thumbnail->bits(), thumbnail->bitsSize());
  auto turnedSection = reinterpret_cast<HBITMAP>(imaging::rotate(reinterpret_cast<imaging::BitmapHandle>(section),
                                                                 turn));
  DeleteObject(section);
  if (!turnedSection) return nullptr;
  auto turned = std::make_shared<imaging::PackedDib>();
  bool copied = turned->copyFrom(reinterpret_cast<imaging::BitmapHandle>(turnedSection));
  DeleteObject(turnedSection);
  return copied ? turned : nullptr;
}

}  // namespace

PrintState::~PrintState() {
  if (screenFont) DeleteObject(screenFont);
  if (printerFont) DeleteObject(printerFont);
  if (printer) DeleteDC(printer);
}

bool PrintState::Build(const PrintRequest& r, HDC printerDc, std::vector<PrintPhoto> photoList,
                       bool useSelection) {
  request = &r;
  stored = working = r.options;
  printer = printerDc;
  page.width = GetDeviceCaps(printer, HORZRES);
  page.height = GetDeviceCaps(printer, VERTRES);
  page.ppiX = GetDeviceCaps(printer, LOGPIXELSX);
  page.ppiY = GetDeviceCaps(printer, LOGPIXELSY);
  if (page.width <= 0 || page.height <= 0 || page.ppiX <= 0 || page.ppiY <= 0) return false;
  HDC screen = GetDC(nullptr);
  screenPpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  printerFont = MakeInfoFont(page.ppiY);
  screenFont = MakeInfoFont(page.ppiY);  // drawn in page pixels, scaled with the preview
  page.lineHeight = LineHeight(printer, printerFont);

  photos = std::move(photoList);
  for (PrintPhoto& photo : photos) {
    if (r.turn.swapsSides()) std::swap(photo.width, photo.height);
    photo.thumbnail = Turned(photo.thumbnail, r.turn);
    photo.dateText = FormatDateTime(photo.date, false);
    readers.push_back(std::make_unique<imagefile::ImageReader>());
    readers.back()->open(photo.path);
  }
  selection = useSelection ? r.selection : imaging::PixelRect{};
  return true;
}

void PrintState::ReleaseBitmaps() {
  for (auto& reader : readers) reader->releaseAll();
}

bool PrintState::Layout(const PrintOptions& options, const PaginationSignals& signals) {
  pages.reset(photos.size());
  return Paginate(options, page, photos, selection, pages, signals);
}

}  // namespace print
