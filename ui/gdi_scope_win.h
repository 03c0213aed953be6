// GDI objects held for a scope, so that what is selected is selected back and
// what is made is deleted on every way out, in the right order (an object is
// deselected before it is deleted when the scopes are declared in that order).
#pragma once
#include <windows.h>

// Selects object into dc; the earlier object goes back at the end of the scope.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
  ~SelectedObject() {
    if (old_) SelectObject(dc_, old_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  bool selected() const { return old_ != nullptr; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// Selects palette into dc and realises it; the earlier palette goes back (as a
// background palette) at the end of the scope, before the palette can be deleted.
class SelectedPalette {
 public:
  SelectedPalette(HDC dc, HPALETTE palette, bool background = false)
      : dc_(dc), old_(dc && palette ? SelectPalette(dc, palette, background ? TRUE : FALSE) : nullptr),
        changed_(old_ ? RealizePalette(dc) : 0) {}
  ~SelectedPalette() {
    if (old_) SelectPalette(dc_, old_, TRUE);
  }
  SelectedPalette(const SelectedPalette&) = delete;
  SelectedPalette& operator=(const SelectedPalette&) = delete;
  // How many entries of the system palette realising it changed.
  UINT changed() const { return changed_ == GDI_ERROR ? 0 : changed_; }

 private:
  HDC dc_;
  HPALETTE old_;
  UINT changed_;
};

// Realises palette in window's DC (WM_QUERYNEWPALETTE, WM_PALETTECHANGED);
// how many entries of the system palette changed.
inline UINT RealisePaletteIn(HWND window, HPALETTE palette) {
  HDC dc = GetDC(window);
  UINT changed = 0;
  {
    SelectedPalette selected(dc, palette);
    changed = selected.changed();
  }
  ReleaseDC(window, dc);
  return changed;
}

// A handle made for the scope and freed by Free at its end.
template <typename Handle, typename Free>
class ScopedHandle {
 public:
  explicit ScopedHandle(Handle handle) : handle_(handle) {}
  ~ScopedHandle() {
    if (handle_) Free()(handle_);
  }
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  Handle get() const { return handle_; }

 private:
  Handle handle_;
};

struct DeleteGdiObject {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct DeleteDeviceContext {
  void operator()(HDC dc) const { DeleteDC(dc); }
};

// A pen, brush, bitmap, font or region made for the scope.
template <typename Handle>
using ScopedGdiObject = ScopedHandle<Handle, DeleteGdiObject>;

// A memory device context compatible with dc (null: the screen).
class MemoryDc : public ScopedHandle<HDC, DeleteDeviceContext> {
 public:
  explicit MemoryDc(HDC dc) : ScopedHandle(CreateCompatibleDC(dc)) {}
};
