// Page layout on Letter paper at 300 dpi with 1-inch margins, and the numbers
// the setup dialog and the job derive from it.
#include <gtest/gtest.h>

#include <atomic>

#include "print/print_layout.h"
#include "print/print_values.h"

using namespace print;

namespace {

PageMetrics Letter300() {
  PageMetrics m;
  m.width = 2550;
  m.height = 3300;
  m.ppiX = m.ppiY = 300;
  m.lineHeight = 40;
  return m;
}

std::vector<PrintPhoto> Photos(int count, int width = 768, int height = 512) {
  std::vector<PrintPhoto> photos(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) {
    photos[i].number = i;
    photos[i].width = width;
    photos[i].height = height;
    photos[i].dateText = "1/2/96";
  }
  return photos;
}

void ExpectRect(const imaging::PixelRect& r, int left, int top, int right, int bottom) {
  EXPECT_EQ(r.left, left);
  EXPECT_EQ(r.top, top);
  EXPECT_EQ(r.right, right);
  EXPECT_EQ(r.bottom, bottom);
}

// Runs a pagination over fresh pages.
struct Layout {
  PageList pages;
  bool completed = false;
  Layout(const PrintOptions& options, const std::vector<PrintPhoto>& photos, const PaginationSignals& signals = {}) {
    pages.reset(photos.size());
    completed = Paginate(options, Letter300(), photos, {}, pages, signals);
  }
  const PlacedItem& item(int page, int i) const { return pages.page(page).items[static_cast<std::size_t>(i)]; }
};

}  // namespace

TEST(PrintLayout, PrintableAreaAndOnePhotoPerPage) {
  PrintOptions options;
  ExpectRect(PrintableRect(options, Letter300()), 300, 300, 2250, 3000);
  EXPECT_EQ(InfoFontHeight(300), 33);
  EXPECT_EQ(InfoFontHeight(600), 67);  // 66.67 rounds up

  options.sizeMode = kSpecifiedSize;  // 6 x 6 inches, aspect kept, top centre
  Layout specified(options, Photos(2));
  ASSERT_EQ(specified.pages.count(), 2);
  ExpectRect(specified.item(1, 0).place, 375, 300, 2175, 1500);  // 1800 x 1200

  options.sizeMode = kFitToPage;
  options.position = 8;
  options.showPhotoNumber = 1;
  Layout fit(options, Photos(1));
  const PlacedItem& photo = fit.item(0, 0);
  ExpectRect(photo.place, 300, 1700, 2250, 3000);  // bottom right, 1950 x 1300
  EXPECT_EQ(photo.info, "#1");
  // The line sits half a line of the information font above the photo.
  ExpectRect(photo.infoPlace, 300, 1700 - 16 - 40, 2250, 1700 - 16);
}

TEST(PrintLayout, ThumbnailGridFillsPagesAndCentresItsColumns) {
  PrintOptions options;
  options.sizeMode = kThumbnails;  // 1 x 1 inch: cell 300, gap 15, pitch 315
  options.position = 1;            // centre column: 75 pixels of slack, shifted by 37
  options.photographerChoice = options.descriptionChoice = 0;
  Layout plain(options, Photos(100));
  ASSERT_EQ(plain.pages.count(), 3);  // 6 across, 8 down
  EXPECT_EQ(plain.pages.page(0).items.size(), 48u);
  EXPECT_EQ(plain.pages.page(2).items.size(), 4u);
  ExpectRect(plain.item(0, 0).place, 337, 400, 637, 600);  // 300 x 200 at the bottom of its cell
  EXPECT_EQ(plain.item(0, 5).place.left, 337 + 5 * 315);
  EXPECT_EQ(plain.item(0, 6).place.top, 400 + 315);
  EXPECT_EQ(plain.item(1, 0).photo, 48);

  options.position = 0;
  options.showPhotoNumber = 1;  // rows grow by two lines of 33
  Layout numbered(options, Photos(50));
  ASSERT_EQ(numbered.pages.count(), 2);
  EXPECT_EQ(numbered.pages.page(0).items.size(), 42u);  // 7 rows of 381
  EXPECT_EQ(numbered.item(0, 6).place.top, 400 + 315 + 66);
  EXPECT_EQ(numbered.item(1, 7).info, "#50");
  ExpectRect(numbered.item(0, 0).infoPlace, 300, 616, 615, 649);
}

TEST(PrintLayout, SignalsThePageOnShowAndStops) {
  PrintOptions options;
  std::atomic<int> onShow{2};
  int ready = 0;
  PaginationSignals signals;
  signals.pageOnShow = &onShow;
  signals.pageReady = [&] { ++ready; };
  Layout fit(options, Photos(5), signals);
  EXPECT_TRUE(fit.completed);
  EXPECT_EQ(ready, 1);  // once, as the third page opened

  std::atomic<bool> stop{true};
  signals.stop = &stop;
  Layout stopped(options, Photos(5), signals);
  EXPECT_FALSE(stopped.completed);
  EXPECT_EQ(stopped.pages.count(), 0);
}

TEST(PrintValues, FieldsRangesAndPreview) {
  EXPECT_EQ(FormatDecimal(1.0, ","), "1,00");
  EXPECT_EQ(FormatDecimal(0.29f, "."), "0.29");
  EXPECT_DOUBLE_EQ(ParseDecimal("2,5", ",."), 2.5);
  EXPECT_EQ(ParseDecimal("wide", "."), 0.0);
  EXPECT_TRUE(kGammaRange.Contains(ParseDecimal("3.0005", ".")));
  EXPECT_FALSE(kGammaRange.Contains(3.002));

  PrintOptions options;
  options.leftMargin = 5;
  options.rightMargin = 4;
  EXPECT_FALSE(MarginsLeaveRoom(options, Letter300()));
  options.leftMargin = 4.5f;
  EXPECT_TRUE(MarginsLeaveRoom(options, Letter300()));

  options.gammaValue = options.thumbnailWidth = 0;
  ReplaceZeroValues(options);
  EXPECT_FLOAT_EQ(options.gammaValue, 1.2f);
  EXPECT_FLOAT_EQ(options.thumbnailWidth, 1.0f);

  // A Letter page in a wide placeholder: full height, centred across.
  imaging::PixelRect preview = FitPreview({10, 20, 410, 320}, 2550, 3300);
  ExpectRect(preview, 10 + (400 - 231) / 2, 20, 10 + (400 - 231) / 2 + 231, 320);
}

TEST(PrintValues, DecodesNoMoreThanTheRenderingResolutionNeeds) {
  // 4 inches at 300 dpi need 1200 pixels; 3072 / 1200 = 2.56 > 2.
  DecodeSize size = PrintDecodeSize(1200, 800, 300, 300, 300, 3072, 2048, 3072, 2048);
  EXPECT_EQ(size.width, 1201);
  EXPECT_EQ(size.height, 801);
  size = PrintDecodeSize(1536, 1024, 300, 300, 300, 3072, 2048, 3072, 2048);  // exactly 2: everything
  EXPECT_EQ(size.width, 0);
  EXPECT_EQ(size.height, 0);
  ExpectRect(ScaleToDecoded({300, 200, 900, 600}, 3072, 2048, 768, 512), 75, 50, 225, 150);
}
