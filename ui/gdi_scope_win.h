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

// A memory device context compatible with dc (null: the screen), deleted at the end.
class MemoryDc {
 public:
  explicit MemoryDc(HDC dc) : dc_(CreateCompatibleDC(dc)) {}
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  HDC get() const { return dc_; }

 private:
  HDC dc_;
};

// A pen, brush, bitmap, font or region made for the scope and deleted at its end.
template <typename Handle>
class ScopedGdiObject {
 public:
  explicit ScopedGdiObject(Handle handle) : handle_(handle) {}
  ~ScopedGdiObject() {
    if (handle_) DeleteObject(handle_);
  }
  ScopedGdiObject(const ScopedGdiObject&) = delete;
  ScopedGdiObject& operator=(const ScopedGdiObject&) = delete;
  Handle get() const { return handle_; }

 private:
  Handle handle_;
};
