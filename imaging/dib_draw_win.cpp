#include <windows.h>

#include "imaging/dib_draw.h"
#include "imaging/dib_format.h"

namespace imaging {

bool drawPackedDib(DeviceContext dc, const PackedDib& dib, const PixelRect& destination) {
  int width = destination.right - destination.left, height = destination.bottom - destination.top;
  DrawPath path = dib.drawPathFor(width, height);
  if (path == DrawPath::None) return false;
  HDC hdc = reinterpret_cast<HDC>(dc);
  const auto* info = reinterpret_cast<const BITMAPINFO*>(dib.info());
  const DibHeader& h = *dib.header();
  if (path == DrawPath::Unscaled)
    return SetDIBitsToDevice(hdc, destination.left, destination.top, width, height, 0, 0, 0, absHeight(h),
                             dib.bits(), info, DIB_RGB_COLORS) != 0;
  int lines = StretchDIBits(hdc, destination.left, destination.top, width, height, 0, 0, h.width, absHeight(h),
                            dib.bits(), info, DIB_RGB_COLORS, SRCCOPY);
  return lines > 0;
}

}  // namespace imaging
