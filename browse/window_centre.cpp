#include "browse/window_centre.h"

#include "app/window_geometry.h"

namespace {

PixelRect ToPixelRect(const RECT& r) { return PixelRect{r.left, r.top, r.right, r.bottom}; }

}  // namespace

void CentreOnOwner(HWND dialog) {
  HWND owner = GetWindow(dialog, GW_OWNER);
  RECT window, ownerRect;
  GetWindowRect(dialog, &window);
  if (owner)
    GetWindowRect(owner, &ownerRect);
  else
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &ownerRect, 0);
  PixelPoint origin = CentredOrigin(ToPixelRect(window), ToPixelRect(ownerRect),
                                    GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  SetWindowPos(dialog, nullptr, origin.x, origin.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
