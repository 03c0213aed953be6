#include "cli/contact_sheet.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "cli/output_names.h"
#include "imagefile/byte_order.h"
#include "imagefile/metadata_text.h"
#include "imaging/dib_format.h"
#include "imaging/dot_font.h"
#include "imaging/gdi_backend.h"
#include "photocd/overview_pack.h"

namespace cli {

namespace {

constexpr int kRgb24 = static_cast<int>(OutputFormat::Rgb24);
constexpr int kLargeThumbnails = 1;  // 192 x 128
constexpr std::uint8_t kPaper = 255, kEmptyBox = 200, kInk = 40;
// Thumbnail blocks: the info header and the colour table come before the rows.
constexpr std::size_t kBlockPixelsOffset = 40 + 256 * 4;

struct OverviewCloser {
  void operator()(OverviewPack* overview) const { PcdCloseOverview(overview); }
};

// The sheet's pixels with top-down coordinates over a bottom-up section.
class Canvas {
 public:
  explicit Canvas(const imaging::DibSectionInfo& info)
      : bits_(info.bits), height_(imaging::absHeight(info.header)),
        stride_(imaging::dibStride(info.header.width, 24)) {}
  std::uint8_t* pixel(int x, int y) const {
    return bits_ + stride_ * static_cast<std::size_t>(height_ - 1 - y) + 3 * static_cast<std::size_t>(x);
  }
  void fill(const imaging::PixelRect& r, std::uint8_t grey) const {
    for (int y = r.top; y < r.bottom; ++y) std::memset(pixel(r.left, y), grey, 3 * static_cast<std::size_t>(r.width()));
  }
  // A bottom-up block of B, G, R rows (width * 3 bytes each) at r.
  void copy(const imaging::PixelRect& r, const std::uint8_t* rows) const {
    const std::size_t rowBytes = 3 * static_cast<std::size_t>(r.width());
    for (int y = 0; y < r.height(); ++y)
      std::memcpy(pixel(r.left, r.top + y), rows + rowBytes * static_cast<std::size_t>(r.height() - 1 - y), rowBytes);
  }
  // Text centred in box; as much of it as fits.
  void text(const std::string& digits, const imaging::PixelRect& box, int scale) const {
    const int width = (static_cast<int>(digits.size()) * imaging::kDotGlyphAdvance - 1) * scale;
    int x = box.left + std::max(0, (box.width() - width) / 2);
    const int top = box.top + (box.height() - imaging::kDotGlyphHeight * scale) / 2;
    for (char c : digits) {
      if (x + imaging::kDotGlyphWidth * scale > box.right) break;
      if (const std::uint8_t* rows = imaging::dotGlyph(c))
        for (int row = 0; row < imaging::kDotGlyphHeight; ++row)
          for (int col = 0; col < imaging::kDotGlyphWidth; ++col)
            if (rows[row] & (0x10 >> col))
              fill({x + col * scale, top + row * scale, x + (col + 1) * scale, top + (row + 1) * scale}, kInk);
      x += imaging::kDotGlyphAdvance * scale;
    }
  }

 private:
  std::uint8_t* bits_;
  int height_;
  std::size_t stride_;
};

// Draws the current photo's thumbnail block into its place; false when the
// block is not a thumbnail of the size the box takes.
bool drawThumbnail(const Canvas& canvas, const ContactSheetLayout& layout, int index, PcdBlock block) {
  const auto* bytes = static_cast<const std::uint8_t*>(PcdLockBlock(block));
  bool drawn = false;
  if (bytes) {
    const int width = static_cast<int>(imagefile::readLe32(bytes + 4)),
              height = static_cast<int>(imagefile::readLe32(bytes + 8));
    if (width > 0 && height > 0 && width <= ContactSheetLayout::kBox && height <= ContactSheetLayout::kBox) {
      canvas.copy(layout.picture(index, width, height), bytes + kBlockPixelsOffset);
      drawn = true;
    }
    PcdUnlockBlock(block);
  }
  PcdFreeBlock(block);
  return drawn;
}

}  // namespace

ContactSheetLayout::ContactSheetLayout(int photoCount, int columns)
    : columns_(std::max(1, std::min(columns, photoCount))), rows_((photoCount + columns_ - 1) / columns_) {}

int ContactSheetLayout::width() const { return kMargin + columns_ * (kBox + kMargin); }
int ContactSheetLayout::height() const { return kTitleHeight + kMargin + rows_ * (kBox + kLabelHeight + kMargin); }

imaging::PixelRect ContactSheetLayout::title() const { return {kMargin, kMargin, width() - kMargin, kTitleHeight}; }

imaging::PixelRect ContactSheetLayout::box(int index) const {
  const int left = kMargin + index % columns_ * (kBox + kMargin);
  const int top = kTitleHeight + kMargin + index / columns_ * (kBox + kLabelHeight + kMargin);
  return {left, top, left + kBox, top + kBox};
}

imaging::PixelRect ContactSheetLayout::picture(int index, int width, int height) const {
  const imaging::PixelRect b = box(index);
  const int left = b.left + (kBox - width) / 2, top = b.top + (kBox - height) / 2;
  return {left, top, left + width, top + height};
}

imaging::PixelRect ContactSheetLayout::label(int index) const {
  const imaging::PixelRect b = box(index);
  return {b.left, b.bottom, b.right, b.bottom + kLabelHeight};
}

imaging::BitmapHandle makeContactSheet(const DiscInput& disc, int columns, const std::string& title,
                                       std::vector<std::string>& problems, std::string& error) {
  OverviewPack* opened = nullptr;
  PcdStatus status = disc.overview.empty() ? PcdStatus{kPcdOpenFailed} : PcdOpenOverview(disc.overview.c_str(), opened);
  if (status != kPcdOk) {
    error = "no overview pack (" + shownPath("PHOTO_CD/OVERVIEW.PCD") + "): " + PcdStatusText(status);
    return nullptr;
  }
  std::unique_ptr<OverviewPack, OverviewCloser> overview(opened);
  std::uint16_t count = 0;
  PcdGetPhotoCount(overview.get(), count);
  if (count == 0) {
    error = "the overview pack lists no photos";
    return nullptr;
  }
  const ContactSheetLayout layout(count, columns);
  imaging::DibHeader header = imaging::makeDibHeader(layout.width(), layout.height(), 24, true, 0);
  imaging::BitmapHandle sheet = imaging::createDibSection(header, nullptr);
  imaging::DibSectionInfo info;
  if (!sheet || !imaging::describeDibSection(sheet, info)) {
    imaging::deleteBitmap(sheet);
    error = "out of memory";
    return nullptr;
  }
  const Canvas canvas(info);
  canvas.fill({0, 0, layout.width(), layout.height()}, kPaper);
  // The dot font knows no accents: the title's letters lose theirs.
  canvas.text(imagefile::SevenBitText(title), layout.title(), ContactSheetLayout::kDigitScale);

  PcdSetThumbnailLevel(overview.get(), kLargeThumbnails);
  PcdSetFormat(overview.get(), kRgb24);
  const std::string images = findChild(disc.photoCdFolder, "IMAGES");
  for (int n = 1; n <= count; ++n) {
    const int index = n - 1;
    canvas.text(std::to_string(n), layout.label(index), ContactSheetLayout::kDigitScale);
    PcdBlock block = nullptr;
    if (PcdSelectPhoto(overview.get(), n) == kPcdOk && PcdMakeThumbnailBitmap(overview.get(), block) == kPcdOk &&
        drawThumbnail(canvas, layout, index, block))
      continue;
    // Scratched discs often lose overview sectors while the packs read fine.
    char name[16];
    std::snprintf(name, sizeof name, "IMG%04d.PCD", n);
    const std::string pack = images.empty() ? std::string() : findChild(images, name);
    block = nullptr;
    status = pack.empty() ? PcdStatus{kPcdOpenFailed} : PcdMakePackThumbnailBitmap(overview.get(), pack.c_str(), block);
    if (status == kPcdOk && drawThumbnail(canvas, layout, index, block)) continue;
    canvas.fill(layout.picture(index, ContactSheetLayout::kBox, ContactSheetLayout::kBox * 2 / 3), kEmptyBox);
    problems.push_back("photo " + std::to_string(n) + ": no thumbnail in the overview or in " +
                       (pack.empty() ? std::string(name) : shownPath(pack)) + " (" + PcdStatusText(status) + ")");
  }
  return sheet;
}

}  // namespace cli
