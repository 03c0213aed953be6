// Printing end to end under Wine: the pages the PostScript printer writes,
// rendered back into pictures, show the photos where the layout puts them.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>

#include "imagefile/image_reader.h"
#include "imaging/gdi_backend.h"
#include "resources/resource_ids.h"
#include "tests/support/png_file.h"
#include "tests/print/print_test_support_win.h"
#include "tests/support/screenshot_win.h"

namespace test_print {
namespace {

constexpr int kRenderDpi = 50;

// What the printer reports about its paper, in its pixels.
struct Paper {
  int ppi = 0;
  int offsetX = 0, offsetY = 0;  // of the printable page on the sheet
};

Paper PaperOfTestPrinter() {
  Paper paper;
  HDC dc = CreateDCA(nullptr, kPrinterName, nullptr, nullptr);
  paper.ppi = GetDeviceCaps(dc, LOGPIXELSX);
  paper.offsetX = GetDeviceCaps(dc, PHYSICALOFFSETX);
  paper.offsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
  DeleteDC(dc);
  return paper;
}

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
};

bool Inked(const std::uint8_t* p) { return p[0] < 235 || p[1] < 235 || p[2] < 235; }

// The smallest box holding every pixel that is not paper white.
Box InkedBox(const Picture& page) {
  Box box{page.width, page.height, 0, 0};
  for (int y = 0; y < page.height; ++y)
    for (int x = 0; x < page.width; ++x)
      if (Inked(page.at(x, y))) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x + 1);
        box.bottom = std::max(box.bottom, y + 1);
      }
  return box;
}

// A rectangle in printer pixels as it lands on the rendered sheet.
Box OnSheet(const Paper& paper, int left, int top, int right, int bottom) {
  auto x = [&](int v) { return (v + paper.offsetX) * kRenderDpi / paper.ppi; };
  auto y = [&](int v) { return (v + paper.offsetY) * kRenderDpi / paper.ppi; };
  return {x(left), y(top), x(right), y(bottom)};
}

void ExpectNear(const Box& got, const Box& want, int tolerance) {
  EXPECT_NEAR(got.left, want.left, tolerance);
  EXPECT_NEAR(got.top, want.top, tolerance);
  EXPECT_NEAR(got.right, want.right, tolerance);
  EXPECT_NEAR(got.bottom, want.bottom, tolerance);
}

// Mean difference per colour value between the printed box and the photo
// decoded to the box's size, over 6 x 6 blocks so that the printer's and our
// resampling of fine detail do not count.
double DifferenceFromPhoto(const Picture& page, const Box& box, const std::string& path) {
  imagefile::ImageReader reader;
  reader.open(path);
  imagefile::DecodeRequest request;
  request.targetWidth = box.right - box.left;
  request.targetHeight = box.bottom - box.top;
  request.displayDepth = 24;
  request.makeDisplayBitmap = false;
  request.keepFullBitmap = true;
  if (!reader.beginDecode(request)) return 255;
  while (reader.progress() < 10000)
    if (!reader.step(64)) return 255;
  reader.finish(false);
  imaging::DibSectionInfo info;
  if (!imaging::describeDibSection(reader.dibSection(), info)) return 255;
  const int width = std::min<int>(info.header.width, box.right - box.left);
  const int height = std::min<int>(std::abs(info.header.height), box.bottom - box.top);
  const int stride = (info.header.width * 3 + 3) & ~3;
  auto decoded = [&](int x, int y, int c) {
    int row = info.header.height > 0 ? std::abs(info.header.height) - 1 - y : y;
    return info.bits[static_cast<std::size_t>(row) * stride + x * 3 + 2 - c];
  };
  constexpr int kBlock = 6;
  long long sum = 0, count = 0;
  for (int by = 0; by + kBlock <= height; by += kBlock)
    for (int bx = 0; bx + kBlock <= width; bx += kBlock)
      for (int c = 0; c < 3; ++c) {
        int printed = 0, photo = 0;
        for (int y = by; y < by + kBlock; ++y)
          for (int x = bx; x < bx + kBlock; ++x) {
            printed += page.at(box.left + x, box.top + y)[c];
            photo += decoded(x, y, c);
          }
        sum += std::abs(printed - photo) / (kBlock * kBlock);
        ++count;
      }
  return count ? static_cast<double>(sum) / count : 255;
}

TEST_F(PrintTest, TwoPhotosFitToPagePrintOnTwoPagesInsideTheMargins) {
  print::PrintRequest request = Request();
  PrintDialogs dialogs([](HWND setup) { PostMessageA(setup, WM_COMMAND, IDOK, 0); });
  ASSERT_EQ(print::Print(request, {DiscPhoto(1), DiscPhoto(2)}), 1);
  EXPECT_EQ(dialogs.printDialogs(), 1);
  EXPECT_EQ(dialogs.messages(), 0);

  RenderedJob job = RenderPostScript(output_, kRenderDpi);
  ASSERT_TRUE(job.error.empty()) << job.error;
  ASSERT_EQ(job.pages.size(), 2u);
  const Paper paper = PaperOfTestPrinter();
  HDC dc = CreateDCA(nullptr, kPrinterName, nullptr, nullptr);
  const int pageWidth = GetDeviceCaps(dc, HORZRES);
  DeleteDC(dc);
  for (int n = 1; n <= 2; ++n) {
    // Default options: 1-inch margins, top centre, aspect kept: the full
    // printable width, two thirds of it high.
    const print::PrintPhoto photo = DiscPhoto(n);
    const int width = pageWidth - 2 * paper.ppi, height = width * photo.height / photo.width;
    const Box want = OnSheet(paper, paper.ppi, paper.ppi, paper.ppi + width, paper.ppi + height);
    const Picture& page = job.pages[static_cast<std::size_t>(n - 1)];
    const Box got = InkedBox(page);
    ExpectNear(got, want, 2);
    // About 10 for the photo itself, above 60 for the other one.
    EXPECT_LT(DifferenceFromPhoto(page, got, photo.path), 20.0) << "page " << n;
  }
  const Picture& first = job.pages[0];
  WritePng(ScreenshotFolder() + "\\print-page.png", first.width, first.height, first.rgb);
}

}  // namespace
}  // namespace test_print
