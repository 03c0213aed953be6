#include "pcd_upsample.h"

#include <algorithm>
#include <vector>

#include "sample_kernels.h"

namespace {

// Sample (row, column) of a window, in plane coordinates.
inline const std::uint8_t* RowOf(const PcdPlaneWindow& w, int row) {
  return w.samples + static_cast<std::ptrdiff_t>(row - w.top) * w.stride;
}

// Columns x0 .. x1 - 1 of a source row enlarged 2x; s[0] is source column
// j0, and columns past width - 1 repeat the last one.
void WidenRange(const std::uint8_t* s, int j0, int width, int x0, int x1, std::uint8_t* out) {
  int x = x0;
  if (x & 1) {
    const int j = x >> 1;
    const int j1 = std::min(j + 1, width - 1);
    *out++ = static_cast<std::uint8_t>((s[j - j0] + s[j1 - j0] + 1) >> 1);
    ++x;
  }
  // Pairs whose right neighbour exists.
  const int pairEnd = std::min(x1 - 1, 2 * (width - 1));
  if (x < pairEnd) {
    const int pairs = (pairEnd - x + 1) / 2;
    PcdKernels().widenPairs(s + (x >> 1) - j0, pairs, out);
    out += 2 * pairs;
    x += 2 * pairs;
  }
  for (; x < x1; ++x) {
    const int j = x >> 1;
    const int j1 = std::min(j + 1, width - 1);
    *out++ = static_cast<std::uint8_t>((x & 1) ? (s[j - j0] + s[j1 - j0] + 1) >> 1 : s[j - j0]);
  }
}

// The same columns of the row between source rows p and q.
void BlendRange(const std::uint8_t* p, const std::uint8_t* q, int j0, int width, int x0, int x1,
                std::uint8_t* out) {
  int x = x0;
  if (x & 1) {
    const int j = (x >> 1) - j0, j1 = std::min((x >> 1) + 1, width - 1) - j0;
    *out++ = static_cast<std::uint8_t>((p[j] + p[j1] + q[j] + q[j1] + 2) >> 2);
    ++x;
  }
  const int pairEnd = std::min(x1 - 1, 2 * (width - 1));
  if (x < pairEnd) {
    const int pairs = (pairEnd - x + 1) / 2;
    PcdKernels().blendPairs(p + (x >> 1) - j0, q + (x >> 1) - j0, pairs, out);
    out += 2 * pairs;
    x += 2 * pairs;
  }
  for (; x < x1; ++x) {
    const int j = (x >> 1) - j0, j1 = std::min((x >> 1) + 1, width - 1) - j0;
    *out++ = static_cast<std::uint8_t>((x & 1) ? (p[j] + p[j1] + q[j] + q[j1] + 2) >> 2 : (p[j] + q[j] + 1) >> 1);
  }
}

}  // namespace

void PcdWidenRow2x(const std::uint8_t* src, int n, std::uint8_t* dst) { WidenRange(src, 0, n, 0, 2 * n, dst); }

void PcdBlendRows2x(const std::uint8_t* p, const std::uint8_t* q, int width2n, std::uint8_t* dst) {
  for (int x = 0; x + 2 < width2n; x += 2) {
    dst[x] = static_cast<std::uint8_t>((p[x] + q[x] + 1) >> 1);
    dst[x + 1] = static_cast<std::uint8_t>((p[x] + q[x] + p[x + 2] + q[x + 2] + 2) >> 2);
  }
  const int last = width2n - 2;
  dst[last] = static_cast<std::uint8_t>((p[last] + q[last] + 1) >> 1);
  dst[last + 1] = dst[last];
}

PcdPlaneWindow PcdSourceWindow(const PcdPlaneWindow& enlarged, int factor, int width, int height) {
  const int top = enlarged.top / factor;
  const int left = enlarged.left / factor;
  const int bottom = std::min(height, (enlarged.top + enlarged.rows - 1) / factor + 2);
  const int right = std::min(width, (enlarged.left + enlarged.columns - 1) / factor + 2);
  return {nullptr, 0, top, left, bottom - top, right - left};
}

void PcdEnlargeWindow2x(const PcdPlaneWindow& src, int width, int height, const PcdPlaneWindow& dst) {
  const int x0 = dst.left, x1 = dst.left + dst.columns;
  for (int r = 0; r < dst.rows; ++r) {
    const int y = dst.top + r;
    const int i = y >> 1;
    std::uint8_t* out = dst.samples + static_cast<std::ptrdiff_t>(r) * dst.stride;
    if (y & 1)
      BlendRange(RowOf(src, i), RowOf(src, std::min(i + 1, height - 1)), src.left, width, x0, x1, out);
    else
      WidenRange(RowOf(src, i), src.left, width, x0, x1, out);
  }
}

void PcdEnlargeWindow4x(const PcdPlaneWindow& src, int width, int height, const PcdPlaneWindow& dst) {
  // Each output row first blends its two source rows vertically (weights
  // 4 - i and i), then interpolates along the row (weights 4 - j and j).
  std::vector<std::int16_t> blended(static_cast<std::size_t>(src.columns));
  for (int r = 0; r < dst.rows; ++r) {
    const int y = dst.top + r;
    const int i = y & 3;
    const std::uint8_t* a = RowOf(src, y >> 2);
    const std::uint8_t* c = RowOf(src, std::min((y >> 2) + 1, height - 1));
    for (int k = 0; k < src.columns; ++k) blended[k] = static_cast<std::int16_t>((4 - i) * a[k] + i * c[k]);
    std::uint8_t* out = dst.samples + static_cast<std::ptrdiff_t>(r) * dst.stride;
    const int end = dst.left + dst.columns;
    const auto one = [&](int x) {
      const int j = x & 3;
      const int k = (x >> 2) - src.left;
      const int k1 = std::min((x >> 2) + 1, width - 1) - src.left;
      *out++ = static_cast<std::uint8_t>(((4 - j) * blended[k] + j * blended[k1] + 8) >> 4);
    };
    int x = dst.left;
    for (; x < end && (x & 3); ++x) one(x);
    // Whole groups of four whose right-hand source sample exists.
    const int groups = std::min((end - x) / 4, width - 1 - (x >> 2));
    if (groups > 0) {
      PcdKernels().quarterGroups(blended.data() + (x >> 2) - src.left, groups, out);
      out += 4 * groups;
      x += 4 * groups;
    }
    for (; x < end; ++x) one(x);
  }
}

void PcdEnlarge2x(const std::uint8_t* src, int w, int h, std::uint8_t* dst) {
  const PcdPlaneWindow from{const_cast<std::uint8_t*>(src), w, 0, 0, h, w};
  PcdEnlargeWindow2x(from, w, h, {dst, 2 * w, 0, 0, 2 * h, 2 * w});
}

void PcdEnlarge4x(const std::uint8_t* src, int w, int h, std::uint8_t* dst) {
  const PcdPlaneWindow from{const_cast<std::uint8_t*>(src), w, 0, 0, h, w};
  PcdEnlargeWindow4x(from, w, h, {dst, 4 * w, 0, 0, 4 * h, 4 * w});
}
