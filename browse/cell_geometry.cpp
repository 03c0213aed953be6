#include "browse/cell_geometry.h"

#include <algorithm>
#include <cstdlib>

namespace browse {

namespace {

int CentreX(const imaging::PixelRect& r) { return (r.left + r.right) / 2; }
int CentreY(const imaging::PixelRect& r) { return (r.top + r.bottom) / 2; }

}  // namespace

imaging::PixelRect CellRect(const CellMetrics& metrics, const imaging::PixelRect& icon) {
  imaging::PixelRect cell;
  cell.left = CentreX(icon) - metrics.cellWidth() / 2;
  cell.top = CentreY(icon) - metrics.cellHeight() / 2;
  cell.right = cell.left + metrics.cellWidth();
  cell.bottom = cell.top + metrics.cellHeight();
  return cell;
}

imaging::PixelRect PhotoRect(const CellMetrics& metrics, const imaging::PixelRect& icon, int imageWidth, int imageHeight) {
  int w = std::abs(imageWidth), h = std::abs(imageHeight);
  imaging::PixelRect photo;
  if (w == 0 || h == 0) return photo;
  float scale = std::min(static_cast<float>(metrics.thumbWidth) / static_cast<float>(w),
                         static_cast<float>(metrics.thumbHeight) / static_cast<float>(h));
  scale = std::min(scale, 1.0f);
  int drawnWidth = static_cast<int>(scale * static_cast<float>(w) + 0.5f);
  int drawnHeight = static_cast<int>(scale * static_cast<float>(h) + 0.5f);
  photo.left = CentreX(icon) - drawnWidth / 2;
  photo.top = CentreY(icon) - drawnHeight / 2;
  photo.right = photo.left + drawnWidth;
  photo.bottom = photo.top + drawnHeight;
  return photo;
}

CellBitmapLayout LayoutCellBitmap(const CellMetrics& metrics, int photoWidth, int photoHeight) {
  const int cellWidth = metrics.cellWidth(), cellHeight = metrics.cellHeight();
  CellBitmapLayout layout;
  layout.width = std::min(photoWidth, cellWidth + 1);
  layout.height = std::min(photoHeight, cellHeight + 1);
  layout.sourceX = (photoWidth - layout.width) / 2;
  layout.sourceY = (photoHeight - layout.height) / 2;
  layout.destX = (cellWidth - layout.width + 1) / 2;
  layout.destY = (cellHeight - layout.height + 1) / 2;
  return layout;
}

}  // namespace browse
