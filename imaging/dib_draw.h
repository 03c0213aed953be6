// Drawing a PackedDib to a device context (Win32 build only).
#pragma once
#include "imaging/dib_types.h"
#include "imaging/packed_dib.h"

namespace imaging {

// SetDIBitsToDevice when the rectangle has the bitmap's size, StretchDIBits
// (SRCCOPY) otherwise. False when there is no header or no pixels.
bool drawPackedDib(DeviceContext dc, const PackedDib& dib, const PixelRect& destination);

}  // namespace imaging
