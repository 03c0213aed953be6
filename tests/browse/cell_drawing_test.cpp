// Painting thumbnail cells under Wine: borders, edges, highlight and the photo's
// place, read back pixel by pixel.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

#include "browse/cell_drawing.h"

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);

// A thumbnail block as the overview pack makes it: header, 256-entry display
// palette, bottom-up 24-bit rows of one colour.
class SolidThumbnail {
 public:
  SolidThumbnail(int width, int height, COLORREF colour)
      : block_(40 + 1024 + static_cast<std::size_t>(width) * height * 3) {
    BITMAPINFOHEADER header = {};
    header.biSize = 40;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biSizeImage = static_cast<DWORD>(width * height * 3);
    header.biClrUsed = 256;
    std::memcpy(block_.data(), &header, sizeof header);
    for (std::size_t at = 40 + 1024; at < block_.size(); at += 3) {
      block_[at] = GetBValue(colour);
      block_[at + 1] = GetGValue(colour);
      block_[at + 2] = GetRValue(colour);
    }
    dib_.borrow(block_.data(), block_.size());
  }
  const imaging::PackedDib* dib() const { return &dib_; }

 private:
  std::vector<std::uint8_t> block_;
  imaging::PackedDib dib_;
};

// Reads pixels of a bitmap through a memory device context.
class PixelReader {
 public:
  explicit PixelReader(HBITMAP bitmap) : dc_(CreateCompatibleDC(nullptr)), old_(SelectObject(dc_, bitmap)) {}
  ~PixelReader() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const { return GetPixel(dc_, x, y); }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

COLORREF Sys(int index) { return GetSysColor(index); }

TEST(CellBitmap, EmptyCellHasTheFrameAndBevelOfAWideBorder) {
  const browse::CellMetrics cells{96, 96, 8};
  HBITMAP cell = MakeCellBitmap(cells, nullptr);
  ASSERT_NE(cell, nullptr);
  {
    PixelReader pixels(cell);
    EXPECT_EQ(pixels.At(0, 0), Sys(COLOR_WINDOWFRAME));
    EXPECT_EQ(pixels.At(111, 111), Sys(COLOR_WINDOWFRAME));
    EXPECT_EQ(pixels.At(1, 50), Sys(COLOR_3DHILIGHT));
    EXPECT_EQ(pixels.At(50, 1), Sys(COLOR_3DHILIGHT));
    EXPECT_EQ(pixels.At(110, 50), Sys(COLOR_3DSHADOW));
    EXPECT_EQ(pixels.At(50, 110), Sys(COLOR_3DSHADOW));
    EXPECT_EQ(pixels.At(56, 56), Sys(COLOR_BTNFACE));
  }
  DeleteObject(cell);
}

TEST(CellBitmap, NoBorderLeavesAPlainCell) {
  const browse::CellMetrics cells{96, 96, 0};
  HBITMAP cell = MakeCellBitmap(cells, nullptr);
  ASSERT_NE(cell, nullptr);
  {
    PixelReader pixels(cell);
    for (int at : {0, 1, 47, 95}) {
      EXPECT_EQ(pixels.At(at, at), Sys(COLOR_BTNFACE)) << at;
      EXPECT_EQ(pixels.At(95 - at, at), Sys(COLOR_BTNFACE)) << at;
    }
  }
  DeleteObject(cell);
}

TEST(CellBitmap, ThumbnailIsReducedCentredAndSunkenInsideABorderAboveThree) {
  const browse::CellMetrics cells{96, 96, 8};
  SolidThumbnail thumbnail(192, 128, kRed);
  HBITMAP cell = MakeCellBitmap(cells, thumbnail.dib());
  ASSERT_NE(cell, nullptr);
  {
    PixelReader pixels(cell);
    // 96 x 64 at (8, 24) in the 112 x 112 cell.
    EXPECT_EQ(pixels.At(8, 24), kRed);
    EXPECT_EQ(pixels.At(103, 87), kRed);
    EXPECT_EQ(pixels.At(7, 23), Sys(COLOR_3DSHADOW));
    EXPECT_EQ(pixels.At(104, 88), Sys(COLOR_3DHILIGHT));
    EXPECT_EQ(pixels.At(50, 20), Sys(COLOR_BTNFACE));
  }
  DeleteObject(cell);
}

// Paints one cell into a 24-bit bitmap of 200 x 200 filled with white.
class PaintedCell {
 public:
  PaintedCell(const browse::CellMetrics& cells, const imaging::PackedDib* thumbnail, int highlight) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 200;
    info.bmiHeader.biHeight = 200;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    pixels_ = new PixelReader(bitmap_);
    RECT all = {0, 0, 200, 200};
    FillRect(pixels_->dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    const RECT icon = {40, 40, 160, 160};  // centre (100, 100)
    PaintCell(pixels_->dc(), cells, thumbnail, nullptr, icon, highlight);
  }
  ~PaintedCell() {
    delete pixels_;
    DeleteObject(bitmap_);
  }
  COLORREF At(int x, int y) const { return pixels_->At(x, y); }

 private:
  HBITMAP bitmap_ = nullptr;
  PixelReader* pixels_ = nullptr;
};

TEST(PaintCell, HighlightFillsOnlyWhileTheListHasTheFocus) {
  const browse::CellMetrics cells{96, 96, 8};
  // The cell spans 44..155; inside its raised edge the fill shows.
  EXPECT_EQ(PaintedCell(cells, nullptr, 1).At(60, 60), Sys(COLOR_HIGHLIGHT));
  EXPECT_EQ(PaintedCell(cells, nullptr, -1).At(60, 60), Sys(COLOR_BTNFACE));
  EXPECT_EQ(PaintedCell(cells, nullptr, 0).At(60, 60), Sys(COLOR_BTNFACE));
  EXPECT_EQ(PaintedCell(cells, nullptr, 0).At(43, 60), RGB(255, 255, 255));  // outside
}

TEST(PaintCell, EdgesFollowTheBorderSize) {
  // No border: the cell's own corner is plain button face.
  const browse::CellMetrics plain{96, 96, 0};
  EXPECT_EQ(PaintedCell(plain, nullptr, 0).At(52, 52), Sys(COLOR_BTNFACE));
  // A border draws the raised edge on the cell's outer pixels.
  const browse::CellMetrics framed{96, 96, 8};
  EXPECT_NE(PaintedCell(framed, nullptr, 0).At(44, 100), Sys(COLOR_BTNFACE));
  // Above three the photo also gets a sunken edge one pixel outside it.
  SolidThumbnail thumbnail(192, 128, kRed);
  PaintedCell withPhoto(framed, thumbnail.dib(), 0);
  EXPECT_EQ(withPhoto.At(100, 100), kRed);
  EXPECT_EQ(withPhoto.At(52, 68), kRed);     // photo 96 x 64 from (52, 68)
  EXPECT_EQ(withPhoto.At(51, 67), Sys(COLOR_BTNSHADOW));
  const browse::CellMetrics thin{96, 96, 3};
  PaintedCell thinBorder(thin, thumbnail.dib(), 0);
  EXPECT_EQ(thinBorder.At(51, 67), Sys(COLOR_BTNFACE));
}

TEST(PaintCell, SmallThumbnailKeepsItsSize) {
  const browse::CellMetrics big{150, 150, 4};
  SolidThumbnail thumbnail(96, 64, kRed);
  PaintedCell painted(big, thumbnail.dib(), 0);
  EXPECT_EQ(painted.At(52, 68), kRed);  // 96 x 64 centred on (100, 100)
  EXPECT_EQ(painted.At(147, 131), kRed);
  EXPECT_NE(painted.At(148, 100), kRed);
  EXPECT_NE(painted.At(100, 132), kRed);
}

}  // namespace
