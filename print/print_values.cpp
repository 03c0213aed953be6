#include "print/print_values.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "ui/mul_div.h"
#include "ui/path_utils.h"

namespace print {

std::string FormatDecimal(double value, const std::string& separator) {
  long long hundredths = std::llround(value * 100.0);
  const char* sign = hundredths < 0 ? "-" : "";
  hundredths = std::llabs(hundredths);
  char text[64];
  std::snprintf(text, sizeof text, "%s%lld%s%02lld", sign, hundredths / 100, separator.c_str(), hundredths % 100);
  return text;
}

double ParseDecimal(const std::string& text, const std::string& separator) {
  return ParseLocaleNumber(text, separator.empty() ? std::string(".") : separator.substr(0, 1));
}

bool MarginsLeaveRoom(const PrintOptions& o, const PageMetrics& m) {
  return m.width - m.ppiX * static_cast<double>(o.rightMargin) >= m.ppiX * static_cast<double>(o.leftMargin) &&
         m.height - m.ppiY * static_cast<double>(o.bottomMargin) >= m.ppiY * static_cast<double>(o.topMargin);
}

void ReplaceZeroValues(PrintOptions& o) {
  if (o.gammaValue == 0.0f) o.gammaValue = 1.2f;
  if (o.specifiedWidth == 0.0f) o.specifiedWidth = 6.0f;
  if (o.specifiedHeight == 0.0f) o.specifiedHeight = 6.0f;
  if (o.thumbnailWidth == 0.0f) o.thumbnailWidth = 1.0f;
  if (o.thumbnailHeight == 0.0f) o.thumbnailHeight = 1.0f;
}

imaging::PixelRect FitPreview(const imaging::PixelRect& holder, int pageWidth, int pageHeight) {
  int boxWidth = holder.width(), boxHeight = holder.height();
  if (pageWidth <= 0 || pageHeight <= 0) return holder;
  int width = boxWidth;
  int height = static_cast<int>(static_cast<long long>(width) * pageHeight / pageWidth);
  if (height > boxHeight) {
    height = boxHeight;
    width = static_cast<int>(static_cast<long long>(height) * pageWidth / pageHeight);
  }
  int left = holder.left + (boxWidth - width) / 2, top = holder.top + (boxHeight - height) / 2;
  return {left, top, left + width, top + height};
}

DecodeSize PrintDecodeSize(int destWidth, int destHeight, int renderDpi, int ppiX, int ppiY, int sourceWidth,
                           int sourceHeight, int imageWidth, int imageHeight) {
  if (ppiX <= 0 || ppiY <= 0) return {};
  int neededWidth = std::max(1, MulDivRounded(destWidth, renderDpi, ppiX));
  int neededHeight = std::max(1, MulDivRounded(destHeight, renderDpi, ppiY));
  double scale = std::min(static_cast<double>(sourceWidth) / neededWidth,
                          static_cast<double>(sourceHeight) / neededHeight);
  if (scale <= 2.0) return {};
  return {static_cast<int>(imageWidth / scale + 1), static_cast<int>(imageHeight / scale + 1)};
}

imaging::PixelRect ScaleToDecoded(const imaging::PixelRect& r, int imageWidth, int imageHeight, int decodedWidth,
                                  int decodedHeight) {
  if (imageWidth <= 0 || imageHeight <= 0) return r;
  auto sx = [&](int v) { return static_cast<int>(static_cast<long long>(v) * decodedWidth / imageWidth); };
  auto sy = [&](int v) { return static_cast<int>(static_cast<long long>(v) * decodedHeight / imageHeight); };
  return {sx(r.left), sy(r.top), sx(r.right), sy(r.bottom)};
}

}  // namespace print
