#include "viewer/image_view.h"

#include <commctrl.h>

#include <algorithm>

#include "resources/resource_ids.h"
#include "viewer/view_geometry.h"
#include "ui/window_object_win.h"
#include "ui/gdi_scope_win.h"

namespace viewer {

namespace {


RECT ToRect(const PixelRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

ImageView::~ImageView() {
  StopWorker();
  if (readyEvent_) CloseHandle(readyEvent_);
  if (window_) DestroyWindow(window_);
  for (HCURSOR cursor : {panReady_, panHeld_})
    if (cursor) DestroyCursor(cursor);
  if (image_) {
    image_->finish(true);
    image_->releaseAll();
    if (ownsImage_) delete image_;
  }
  if (background_) DeleteObject(background_);
}

bool ImageView::RegisterWindowClass(HINSTANCE instance) {
  WNDCLASSA existing;
  if (GetClassInfoA(instance, kImageViewClass, &existing)) return true;
  WNDCLASSA wc = {};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = WindowProc;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.lpszClassName = kImageViewClass;
  return RegisterClassA(&wc) != 0;
}

bool ImageView::Create(HINSTANCE instance, HWND parent, int id) {
  if (!RegisterWindowClass(instance)) return false;
  parent_ = parent;
  background_ = CreateSolidBrush(RGB(0, 0, 0));
  readyEvent_ = CreateEventA(nullptr, FALSE, TRUE, nullptr);
  panHeld_ = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_PAN_HELD));
  panReady_ = LoadCursorA(instance, MAKEINTRESOURCEA(IDC_PAN_READY));
  RECT client;
  GetClientRect(parent, &client);
  CreateWindowExA(0, kImageViewClass, "", WS_CHILD | WS_VISIBLE, 0, 0, client.right, client.bottom, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
  return window_ != nullptr;
}

void ImageView::SetNotify(HWND window, UINT message) {
  notifyWindow_ = window;
  notifyMessage_ = message;
}

void ImageView::SetFullScreen(bool fullScreen) {
  fullScreen_ = fullScreen;
  UpdateCursor();
}

void ImageView::SetRequestedSize(int width, int height) {
  requestedWidth_ = width;
  requestedHeight_ = height;
}

int ImageView::PageCount() const { return image_ ? std::max(1, image_->pageCount()) : 0; }

bool ImageView::Decoding() const { return image_ && image_->decoding(); }

double ImageView::DecodeScale() const {
  const imaging::DibImage* frame = image_ ? image_->frame(frameIndex_) : nullptr;
  if (!frame || !frame->width) return 1.0;
  return viewer::DecodeScale(frame->width, frame->height, frame->sourceWidth, frame->sourceHeight);
}

SIZE ImageView::DisplaySize() const {
  if (!image_) return SIZE{0, 0};
  return SIZE{DisplayLength(image_->width(frameIndex_), zoom_), DisplayLength(image_->height(frameIndex_), zoom_)};
}

void ImageView::ReleaseImage(imagefile::ImageReader* old, unsigned flags) {
  if (!old) return;
  if (KillTimer(window_, kFrameTimer) && old->pageCount() > 1) {
    // The animation stops on its first frame; a decode of a later frame goes.
    old->finish(true);
    frameIndex_ = 0;
  }
  if (!(flags & kKeepOldImageData)) {
    old->finish(true);
    old->releaseAll();
  }
  if (ownsImage_) delete old;
}

void ImageView::ShowImage(imagefile::ImageReader* image, unsigned flags) {
  StopWorker();
  if (image == image_) {
    ownsImage_ = (flags & kOwnImage) != 0;
    return;
  }
  imagefile::ImageReader* old = image_;
  const bool oldHadPalette = old && old->palette(frameIndex_);
  ReleaseImage(old, flags);
  image_ = image;
  ownsImage_ = (flags & kOwnImage) != 0;
  frameIndex_ = 0;
  failed_ = false;
  advancePending_ = false;
  scrollX_ = scrollY_ = 0;
  if (panning_) ReleaseCapture();
  panning_ = false;
  if (image_ && (flags & kFreshDecode)) {
    image_->finish(true);
    image_->releaseAll();
  }
  shownDone_ = !image_ || image_->isComplete(frameIndex_);
  if (oldHadPalette && window_) {
    // Give the screen its default colours back before the next picture realises its own.
    RealisePaletteIn(window_, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)));
    lastPalette_ = nullptr;
  }
  RecomputeScrollLimits();
  UpdateCursor();
  if (image_ && animate_ && PageCount() > 1) SetTimer(window_, kFrameTimer, kUnknownFrameDelay, nullptr);
  // Without a window (it is gone) there is nothing to repaint; a null window
  // would repaint the whole desktop.
  if (!(flags & kNoRepaint) && window_) {
    InvalidateRect(window_, nullptr, TRUE);
    UpdateWindow(window_);
  }
}

void ImageView::SetZoom(double zoom) {
  const double old = zoom_;
  explicitZoom_ = true;
  zoom_ = zoom;
  RECT client;
  GetClientRect(window_, &client);
  scrollX_ = ScrollKeepingCentre(scrollX_, client.right, old, zoom);
  scrollY_ = ScrollKeepingCentre(scrollY_, client.bottom, old, zoom);
  RecomputeScrollLimits();
  InvalidateRect(window_, nullptr, TRUE);
}

bool ImageView::ZoomRedecodes(double zoom) const {
  return image_ && (image_->isComplete(frameIndex_) || image_->decoding()) && ZoomNeedsRedecode(DecodeScale(), zoom);
}

void ImageView::FreeDecodedData() {
  StopWorker();
  if (!image_) return;
  image_->finish(true);
  image_->releaseAll();
  shownDone_ = false;
  failed_ = false;
}

void ImageView::RecomputeScrollLimits() {
  RECT client = {};
  if (window_) GetClientRect(window_, &client);
  SIZE shown = DisplaySize();
  maxScrollX_ = std::max(0, static_cast<int>(shown.cx - client.right));
  maxScrollY_ = std::max(0, static_cast<int>(shown.cy - client.bottom));
  scrollX_ = ClampScroll(scrollX_, maxScrollX_);
  scrollY_ = ClampScroll(scrollY_, maxScrollY_);
}

POINT ImageView::ScrollBy(int dx, int dy) {
  const int x = ClampScroll(scrollX_ + dx, maxScrollX_);
  const int y = ClampScroll(scrollY_ + dy, maxScrollY_);
  POINT moved = {x - scrollX_, y - scrollY_};
  if (!moved.x && !moved.y) return moved;
  scrollX_ = x;
  scrollY_ = y;
  ScrollWindowEx(window_, -moved.x, -moved.y, nullptr, nullptr, nullptr, nullptr, SW_INVALIDATE);
  UpdateWindow(window_);
  return moved;
}

void ImageView::Place(int x, int y, int width, int height) {
  SetWindowPos(window_, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
  InvalidateRect(window_, nullptr, FALSE);
  RecomputeScrollLimits();
}

void ImageView::CentreIn(const RECT& area) {
  if (!image_ || image_->width(frameIndex_) <= 0) {
    Place(0, 0, 0, 0);
    return;
  }
  const SIZE shown = DisplaySize();
  const LONG width = area.right - area.left, height = area.bottom - area.top;
  Place(area.left + std::max<LONG>(0, (width - shown.cx) / 2), area.top + std::max<LONG>(0, (height - shown.cy) / 2),
        std::min(shown.cx, width), std::min(shown.cy, height));
}

void ImageView::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window_, &ps);
  PaintFrame(dc, ps.rcPaint);
  EndPaint(window_, &ps);
}

void ImageView::PaintFrame(HDC dc, const RECT& paint) {
  HBITMAP bitmap = image_ ? reinterpret_cast<HBITMAP>(image_->firstBitmap(frameIndex_)) : nullptr;
  const imaging::DibImage* frame = image_ ? image_->frame(frameIndex_) : nullptr;
  if (!bitmap || !frame || frame->width <= 0 || frame->height <= 0) {
    FillRect(dc, &paint, background_);
    return;
  }
  auto palette = reinterpret_cast<HPALETTE>(image_->palette(frameIndex_));
  if (palette) {
    if (palette != lastPalette_ && GetDeviceCaps(dc, BITSPIXEL) == 8 && PageCount() <= 1) {
      RECT client;
      GetClientRect(window_, &client);
      FillRect(dc, &client, background_);
    }
    lastPalette_ = palette;
  }
  SelectedPalette screenPalette(dc, palette);

  const int factor = DisplayFactor(zoom_, DecodeScale());
  const PaintRects rects = PaintRectsFor(PixelRect{paint.left, paint.top, paint.right, paint.bottom}, scrollX_,
                                         scrollY_, factor, frame->width, frame->height);
  PixelRect valid = DecodedToDisplay(image_->validRect(frameIndex_), factor);
  RECT shown = ToRect(valid);
  OffsetRect(&shown, -scrollX_, -scrollY_);

  // What has not arrived yet (and what lies beyond the picture) shows black.
  SaveDC(dc);
  ExcludeClipRect(dc, shown.left, shown.top, shown.right, shown.bottom);
  FillRect(dc, &paint, background_);
  RestoreDC(dc, -1);

  MemoryDc memoryDc(dc);
  const HDC memory = memoryDc.get();
  SelectedObject selectedBitmap(memory, bitmap);
  SelectedPalette memoryPalette(memory, palette, true);
  SaveDC(dc);
  IntersectClipRect(dc, shown.left, shown.top, shown.right, shown.bottom);
  const PixelRect& s = rects.source;
  const PixelRect& t = rects.target;
  if (s.right - s.left == t.right - t.left && s.bottom - s.top == t.bottom - t.top) {
    BitBlt(dc, t.left, t.top, t.right - t.left, t.bottom - t.top, memory, s.left, s.top, SRCCOPY);
  } else {
    int oldMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, t.left, t.top, t.right - t.left, t.bottom - t.top, memory, s.left, s.top, s.right - s.left,
               s.bottom - s.top, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
  }
  RestoreDC(dc, -1);
}

void ImageView::UpdateCursor() {
  if (!window_) return;
  POINT at;
  GetCursorPos(&at);
  ScreenToClient(window_, &at);
  RECT client;
  GetClientRect(window_, &client);
  if (!PtInRect(&client, at)) return;
  const bool anyButton = (GetKeyState(VK_LBUTTON) | GetKeyState(VK_RBUTTON) | GetKeyState(VK_MBUTTON)) < 0;
  HCURSOR cursor;
  if (fullScreen_ && !anyButton && GetKeyState(VK_CONTROL) >= 0)
    cursor = nullptr;
  else if (maxScrollX_ > 0 || maxScrollY_ > 0)
    cursor = panning_ ? panHeld_ : Decoding() ? LoadCursor(nullptr, IDC_APPSTARTING) : panReady_;
  else
    cursor = LoadCursor(nullptr, Decoding() ? IDC_APPSTARTING : IDC_ARROW);
  SetCursor(cursor);
}

void ImageView::OnMouseMove(WPARAM, int x, int y) {
  if (panning_) ScrollBy(last_.x - x, last_.y - y);
  last_ = POINT{x, y};
  UpdateCursor();
}

void ImageView::OnLeftButtonDown(WPARAM keys, int x, int y) {
  last_ = POINT{x, y};
  if ((maxScrollX_ > 0 || maxScrollY_ > 0) && !(keys & MK_SHIFT)) {
    SetCapture(window_);
    panning_ = true;
  }
  SendMessageA(window_, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y));
}

void ImageView::OnLeftButtonUp() {
  if (!panning_) return;
  panning_ = false;
  ReleaseCapture();
  SendMessageA(window_, WM_MOUSEMOVE, 0, MAKELPARAM(last_.x, last_.y));
}

void ImageView::NotifyParent(UINT code) {
  NMHDR header = {};
  header.hwndFrom = window_;
  header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID(window_));
  header.code = code;
  SendMessageA(parent_, WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void ImageView::AdvanceFrame() {
  const int pages = PageCount();
  const int next = (frameIndex_ + 1) % std::max(1, pages);
  if (pages > 1 && (image_->isComplete(next) || (shownDone_ && !image_->decoding()))) {
    advancePending_ = false;
    frameIndex_ = next;
    InvalidateRect(window_, nullptr, FALSE);
    UpdateWindow(window_);
    SetTimer(window_, kFrameTimer, 10 * kUnknownFrameDelay, nullptr);
  } else {
    advancePending_ = true;
    KillTimer(window_, kFrameTimer);
  }
}

LRESULT CALLBACK ImageView::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = WindowObject<ImageView>(hwnd, message, lParam, 0);
  if (!self) return DefWindowProcA(hwnd, message, wParam, lParam);
  if (message == WM_NCCREATE) self->window_ = hwnd;
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT ImageView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND hwnd = window_;
  const int x = static_cast<short>(LOWORD(lParam));
  const int y = static_cast<short>(HIWORD(lParam));
  switch (message) {
    case WM_SIZE:
      if (wParam != SIZE_MINIMIZED) {
        RecomputeScrollLimits();
        if (image_) InvalidateRect(hwnd, nullptr, FALSE);
      }
      return 0;
    case WM_QUERYNEWPALETTE:
    case WM_PALETTECHANGED:
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_TIMER:
      if (wParam == kFrameTimer && image_) AdvanceFrame();
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        UpdateCursor();
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE:
      OnMouseMove(wParam, x, y);
      return 0;
    case WM_LBUTTONDOWN:
      OnLeftButtonDown(wParam, x, y);
      return 0;
    case WM_LBUTTONUP:
      OnLeftButtonUp();
      return 0;
    case WM_CAPTURECHANGED:
      panning_ = false;
      return 0;
    case WM_LBUTTONDBLCLK:
      NotifyParent(NM_DBLCLK);
      return 0;
    case WM_RBUTTONDOWN:
      NotifyParent(NM_RCLICK);
      SendMessageA(hwnd, WM_MOUSEMOVE, wParam, lParam);
      return 0;
    case WM_RBUTTONUP: {
      POINT at = {x, y};
      ClientToScreen(hwnd, &at);
      SendMessageA(parent_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(at.x, at.y));
      return 0;
    }
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      SendMessageA(hwnd, WM_MOUSEMOVE, wParam, lParam);
      return 0;
    case kDecodeStepMessage:
      OnStepMessage(wParam, lParam);
      return 0;
    case kDecodeEndedMessage:
      if (notifyWindow_) SendMessageA(notifyWindow_, notifyMessage_, wParam, lParam);
      return 0;
    case WM_NCDESTROY:
      window_ = nullptr;
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace viewer
