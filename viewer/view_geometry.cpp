#include "viewer/view_geometry.h"

#include <algorithm>
#include <cmath>

namespace viewer {

namespace {
constexpr int kOne = 10000;  // fixed-point 1.0 of the display factor

int CeilDiv(long long a, long long b) { return static_cast<int>((a + b - 1) / b); }
}  // namespace

double DecodeScale(int decodedWidth, int decodedHeight, int sourceWidth, int sourceHeight) {
  if (sourceWidth <= 0 || sourceHeight <= 0) return 1.0;
  if (sourceHeight < sourceWidth) return static_cast<double>(decodedWidth) / sourceWidth;
  return static_cast<double>(decodedHeight) / sourceHeight;
}

int DisplayFactor(double zoom, double decodeScale) {
  if (decodeScale <= 0) return kOne;
  return std::max(1, static_cast<int>(std::lround(zoom / decodeScale * kOne)));
}

PixelRect DecodedToDisplay(const PixelRect& decoded, int factor) {
  const long long e = factor;
  PixelRect out;
  out.left = static_cast<int>(e * decoded.left / kOne);
  out.top = static_cast<int>(e * decoded.top / kOne);
  // An enlarged pixel reaches up to where the next one starts.
  if (e <= kOne) {
    out.right = CeilDiv(e * decoded.right, kOne);
    out.bottom = CeilDiv(e * decoded.bottom, kOne);
  } else {
    out.right = static_cast<int>(e * (decoded.right + 1) / kOne);
    out.bottom = static_cast<int>(e * (decoded.bottom + 1) / kOne);
  }
  return out;
}

PaintRects PaintRectsFor(const PixelRect& paint, int scrollX, int scrollY, int factor, int decodedWidth,
                         int decodedHeight) {
  const long long d = factor;
  PaintRects r;
  r.source.left = std::max(0, static_cast<int>((paint.left + scrollX) * kOne / d));
  r.source.top = std::max(0, static_cast<int>((paint.top + scrollY) * kOne / d));
  r.source.right = std::min(decodedWidth, CeilDiv(static_cast<long long>(paint.right + scrollX) * kOne, d));
  r.source.bottom = std::min(decodedHeight, CeilDiv(static_cast<long long>(paint.bottom + scrollY) * kOne, d));
  r.target.left = static_cast<int>(d * r.source.left / kOne) - scrollX;
  r.target.top = static_cast<int>(d * r.source.top / kOne) - scrollY;
  r.target.right = CeilDiv(d * r.source.right, kOne) - scrollX;
  r.target.bottom = CeilDiv(d * r.source.bottom, kOne) - scrollY;
  return r;
}

bool ZoomNeedsRedecode(double decodeScale, double zoom) { return decodeScale < 1.0 && zoom > decodeScale * 1.01; }

int DisplayLength(int sourceLength, double zoom) { return static_cast<int>(std::lround(sourceLength * zoom)); }

int ScrollLimit(int sourceLength, double zoom, int controlLength) {
  return std::max(0, DisplayLength(sourceLength, zoom) - controlLength);
}

int ClampScroll(int scroll, int limit) { return std::clamp(scroll, 0, std::max(0, limit)); }

int ScrollKeepingCentre(int scroll, int controlLength, double oldZoom, double newZoom) {
  if (oldZoom <= 0) return scroll;
  double half = controlLength / 2.0;
  return static_cast<int>(std::lround((scroll + half) * newZoom / oldZoom - half));
}

}  // namespace viewer
