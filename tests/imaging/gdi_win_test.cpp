// Win32 only: the bitmaps and palettes are real GDI objects that GDI draws,
// and drawing a PackedDib stretches exactly when the sizes differ.
#include <windows.h>

#include <gtest/gtest.h>

#include "bitmap_helpers.h"
#include "imaging/dib_draw.h"
#include "imaging/dib_image.h"
#include "imaging/output_stage.h"
#include "imaging/packed_dib.h"

using namespace imaging;

namespace {

// A 24-bit top-down DIB section selected into a memory DC, filled with one colour.
class Canvas {
 public:
  Canvas(int width, int height, COLORREF fill) {
    bitmap_ = reinterpret_cast<HBITMAP>(testing_bitmaps::makeSection(width, height, 24, false, [](int, int) { return 0u; }));
    dc_ = CreateCompatibleDC(nullptr);
    old_ = SelectObject(dc_, bitmap_);
    RECT r = {0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(dc_, &r, brush);
    DeleteObject(brush);
  }
  ~Canvas() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  HDC dc() const { return dc_; }
  COLORREF at(int x, int y) const { return GetPixel(dc_, x, y); }

 private:
  HBITMAP bitmap_;
  HDC dc_;
  HGDIOBJ old_;
};

class TwoPixels : public RowSource {
 public:
  int beginRows(OutputStage&) override { return 0; }
  int deliverRows(OutputStage& stage, int) override {
    const std::uint8_t row[6] = {0, 0, 255, 255, 0, 0};  // red, blue
    return stage.putRow(row, 0) ? 0 : stage.error();
  }
};

}  // namespace

TEST(GdiObjects, StageMakesRealDibSectionsAndPalettes) {
  std::vector<RgbTriple> greys;
  for (int i = 0; i < 16; ++i) greys.push_back(RgbTriple{static_cast<std::uint8_t>(i * 17), 0, 0});
  SourceDescription source;
  source.width = 2;
  source.height = 1;
  source.bits = 4;
  source.palette = greys;
  struct Rows : RowSource {
    int beginRows(OutputStage&) override { return 0; }
    int deliverRows(OutputStage& stage, int) override {
      const std::uint8_t row[2] = {15, 5};
      return stage.putRow(row, 0) ? 0 : stage.error();
    }
  } rows;
  OutputStage stage;
  OutputOptions options;
  options.displayDepth = 8;
  options.keepFull = true;
  ASSERT_TRUE(stage.begin(options, source, &rows));
  ASSERT_TRUE(stage.step(1));
  HBITMAP display = reinterpret_cast<HBITMAP>(stage.displayBitmap());
  EXPECT_EQ(GetObjectType(display), static_cast<DWORD>(OBJ_BITMAP));
  DIBSECTION section;
  ASSERT_EQ(GetObjectA(display, sizeof section, &section), static_cast<int>(sizeof section));
  EXPECT_EQ(section.dsBmih.biBitCount, 8);
  EXPECT_EQ(GetObjectType(reinterpret_cast<HPALETTE>(stage.palette())), static_cast<DWORD>(OBJ_PAL));
  // GDI draws the palette bitmap with the palette's colours.
  Canvas canvas(2, 1, RGB(0, 0, 0));
  HDC source_dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(source_dc, display);
  ASSERT_TRUE(BitBlt(canvas.dc(), 0, 0, 2, 1, source_dc, 0, 0, SRCCOPY));
  SelectObject(source_dc, old);
  DeleteDC(source_dc);
  EXPECT_EQ(canvas.at(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(1, 0), RGB(85, 0, 0));
}

TEST(GdiObjects, DeviceDependentDisplayBitmapTakesRows) {
  TwoPixels rows;
  SourceDescription source;
  source.width = 2;
  source.height = 1;
  source.bits = 24;
  OutputStage stage;
  OutputOptions options;
  options.useDdb = true;
  options.displayDepth = 24;
  ASSERT_TRUE(stage.begin(options, source, &rows));
  ASSERT_TRUE(stage.step(1));
  HBITMAP ddb = reinterpret_cast<HBITMAP>(stage.displayBitmap());
  DIBSECTION section;
  EXPECT_NE(GetObjectA(ddb, sizeof section, &section), static_cast<int>(sizeof section));
  Canvas canvas(2, 1, RGB(0, 0, 0));
  HDC source_dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(source_dc, ddb);
  BitBlt(canvas.dc(), 0, 0, 2, 1, source_dc, 0, 0, SRCCOPY);
  SelectObject(source_dc, old);
  DeleteDC(source_dc);
  EXPECT_EQ(canvas.at(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(canvas.at(1, 0), RGB(0, 0, 255));
}

TEST(DrawPackedDib, UsesTheUnscaledCallExactlyWhenSizesMatch) {
  BitmapHandle two = testing_bitmaps::makeSection(2, 1, 24, true, [](int x, int) { return x ? 0x0000FFu : 0xFF0000u; });
  PackedDib packed;
  ASSERT_TRUE(packed.copyFrom(two));
  deleteBitmap(two);
  {
    Canvas canvas(4, 1, RGB(0, 255, 0));
    ASSERT_TRUE(drawPackedDib(reinterpret_cast<DeviceContext>(canvas.dc()), packed, PixelRect{1, 0, 3, 1}));
    EXPECT_EQ(canvas.at(0, 0), RGB(0, 255, 0));
    EXPECT_EQ(canvas.at(1, 0), RGB(255, 0, 0));
    EXPECT_EQ(canvas.at(2, 0), RGB(0, 0, 255));
    EXPECT_EQ(canvas.at(3, 0), RGB(0, 255, 0));
  }
  {
    // One pixel wider: the picture is stretched over all three pixels.
    Canvas canvas(4, 1, RGB(0, 255, 0));
    ASSERT_TRUE(drawPackedDib(reinterpret_cast<DeviceContext>(canvas.dc()), packed, PixelRect{0, 0, 3, 1}));
    EXPECT_EQ(canvas.at(0, 0), RGB(255, 0, 0));
    EXPECT_NE(canvas.at(2, 0), RGB(0, 255, 0));
    EXPECT_EQ(canvas.at(3, 0), RGB(0, 255, 0));
  }
  PackedDib empty;
  Canvas canvas(1, 1, 0);
  EXPECT_FALSE(drawPackedDib(reinterpret_cast<DeviceContext>(canvas.dc()), empty, PixelRect{0, 0, 1, 1}));
}
