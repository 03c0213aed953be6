#include "print/print_preview_win.h"

#include "ui/ui_utils_win.h"
#include "imaging/dib_draw.h"
#include "print/print_setup_dialog_win.h"
#include "resources/resource_ids.h"
#include "ui/window_object_win.h"
#include "ui/gdi_scope_win.h"

namespace print {

namespace {

constexpr char kPreviewClass[] = "PrintPreviewWndClass";
constexpr COLORREF kOutsideColour = RGB(255, 0, 0);
constexpr COLORREF kMarginColour = RGB(127, 127, 127);
constexpr COLORREF kNoThumbnailColour = RGB(192, 192, 192);

bool Inside(const imaging::PixelRect& r, const imaging::PixelRect& bounds) {
  return r.left >= bounds.left && r.top >= bounds.top && r.right <= bounds.right && r.bottom <= bounds.bottom;
}

void Fill(HDC dc, const imaging::PixelRect& r, COLORREF colour) {
  RECT rect = {r.left, r.top, r.right, r.bottom};
  ScopedGdiObject<HBRUSH> brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, brush.get());
}

}  // namespace

PrintPreview* PrintPreview::Create(HINSTANCE instance, HWND dialog, const RECT& place, PrintSetupDialog& owner) {
  static bool registered = false;  // once per process
  if (!registered) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = &PrintPreview::WindowProc;
    wc.cbWndExtra = sizeof(PrintPreview*);
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kPreviewClass;
    registered = RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    if (!registered) return nullptr;
  }
  auto* preview = new PrintPreview(owner);
  if (!CreateWindowExA(WS_EX_CLIENTEDGE, kPreviewClass, "Print preview", WS_CHILD | WS_VISIBLE, place.left,
                       place.top, place.right - place.left, place.bottom - place.top, dialog,
                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_PRINT_PREVIEW)), instance, preview)) {
    delete preview;
    return nullptr;
  }
  return preview;
}

LRESULT CALLBACK PrintPreview::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = WindowObject<PrintPreview>(window, message, lParam, 0);
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCCREATE) self->window_ = window;
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT PrintPreview::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // painting covers everything
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      RECT client;
      GetClientRect(window_, &client);
      // Off screen first, so the page never flickers while it is redrawn.
      {
        MemoryDc memory(dc);
        ScopedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
        SelectedObject selected(memory.get(), bitmap.get());
        Paint(memory.get(), client);
        BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
      }
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_NCDESTROY: {
      LRESULT result = DefWindowProcA(window_, message, wParam, lParam);
      delete this;
      return result;
    }
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}

void PrintPreview::Paint(HDC dc, const RECT& client) {
  FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  if (!owner_.ValidateSilently()) {
    std::string text = LoadStringText(owner_.state().request->instance, IDS_PRINT_INVALID);
    SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT box = client;
    InflateRect(&box, -4, 0);
    RECT measured = box;
    DrawTextA(dc, text.c_str(), -1, &measured, DT_CALCRECT | DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
    OffsetRect(&box, 0, (client.bottom - (measured.bottom - measured.top)) / 2);
    DrawTextA(dc, text.c_str(), -1, &box, DT_WORDBREAK | DT_CENTER | DT_NOPREFIX);
    return;
  }
  PaintPage(dc, client);
}

void PrintPreview::PaintPage(HDC dc, const RECT& client) {
  const PrintState& s = owner_.state();
  int saved = SaveDC(dc);
  SetMapMode(dc, MM_ANISOTROPIC);
  SetWindowExtEx(dc, s.page.width, s.page.height, nullptr);
  SetViewportExtEx(dc, client.right, client.bottom, nullptr);
  const imaging::PixelRect printable = s.Printable();
  SetStretchBltMode(dc, COLORONCOLOR);
  SelectObject(dc, s.screenFont);
  SetBkMode(dc, TRANSPARENT);

  int page = owner_.PaintablePage();
  if (page >= 0) {
    for (const PlacedItem& item : s.pages.page(page).items) {
      if (item.photo < 0 || static_cast<std::size_t>(item.photo) >= s.readers.size()) break;
      const PrintPhoto& photo = s.photos[static_cast<std::size_t>(item.photo)];
      // A photo reaching beyond the margins shows red there.
      if (!Inside(item.place, printable)) Fill(dc, item.place, kOutsideColour);
      int clip = SaveDC(dc);
      IntersectClipRect(dc, printable.left, printable.top, printable.right, printable.bottom);
      if (!photo.thumbnail || !imaging::drawPackedDib(reinterpret_cast<imaging::DeviceContext>(dc),
                                                      *photo.thumbnail, item.place))
        Fill(dc, item.place, kNoThumbnailColour);
      if (!item.info.empty()) {
        RECT r = {item.infoPlace.left, item.infoPlace.top, item.infoPlace.right, item.infoPlace.bottom};
        DrawTextA(dc, item.info.c_str(), -1, &r, kInfoTextFlags);
      }
      RestoreDC(dc, clip);
    }
  }
  {
    ScopedGdiObject<HPEN> pen(CreatePen(PS_DOT, 1, kMarginColour));
    SelectedObject selectedPen(dc, pen.get());
    SelectedObject selectedBrush(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, printable.left, printable.top, printable.right, printable.bottom);
  }
  RestoreDC(dc, saved);
}

}  // namespace print
