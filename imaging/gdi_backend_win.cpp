// GDI implementation of the bitmap primitives: real DIB sections, logical
// palettes and device-dependent bitmaps.
#include <windows.h>

#include <cstring>

#include "imaging/dib_format.h"
#include "imaging/gdi_backend.h"

namespace imaging {

namespace {

HBITMAP hbm(BitmapHandle b) { return reinterpret_cast<HBITMAP>(b); }
BitmapHandle wrap(HBITMAP b) { return reinterpret_cast<BitmapHandle>(b); }
HPALETTE hpal(PaletteHandle p) { return reinterpret_cast<HPALETTE>(p); }

// A BITMAPINFO with room for a 256-entry colour table.
struct InfoBlock {
  BITMAPINFOHEADER header;
  RGBQUAD colours[256];
};

void fillHeader(InfoBlock& block, const DibHeader& header) {
  std::memset(&block, 0, sizeof block);
  std::memcpy(&block.header, &header, sizeof header);
}

// GetObject reports a top-down DIB section with a positive height (under
// Wine at least), so its row order could not be told afterwards: every
// section is made bottom-up and described as such.
void makeBottomUp(InfoBlock& block) {
  if (block.header.biHeight < 0) block.header.biHeight = -block.header.biHeight;
}

// The screen DC with a palette selected and realised; restores both on exit.
class ScreenDc {
 public:
  explicit ScreenDc(HPALETTE palette) : dc_(GetDC(nullptr)) {
    if (dc_ && palette) {
      old_ = SelectPalette(dc_, palette, FALSE);
      RealizePalette(dc_);
    }
  }
  ~ScreenDc() {
    if (old_) SelectPalette(dc_, old_, FALSE);
    if (dc_) ReleaseDC(nullptr, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HDC dc_;
  HPALETTE old_ = nullptr;
};

// A memory DC with a bitmap selected; restores it on exit.
class SelectedBitmap {
 public:
  explicit SelectedBitmap(HBITMAP bitmap) : dc_(CreateCompatibleDC(nullptr)) {
    if (dc_) old_ = SelectObject(dc_, bitmap);
  }
  ~SelectedBitmap() {
    if (dc_) {
      SelectObject(dc_, old_);
      DeleteDC(dc_);
    }
  }
  HDC get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_ = nullptr;
};

}  // namespace

BitmapHandle createDibSection(const DibHeader& header, const RgbQuad* colours) {
  InfoBlock block;
  fillHeader(block, header);
  if (colours) std::memcpy(block.colours, colours, colourBlockSize(header));
  makeBottomUp(block);
  ScreenDc screen(nullptr);
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen.get(), reinterpret_cast<BITMAPINFO*>(&block), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
  return wrap(bitmap);
}

BitmapHandle createDibSectionFromPalette(const DibHeader& header, PaletteHandle palette,
                                         const std::uint16_t* indices) {
  if (!palette || header.bitCount > 8) return nullptr;
  InfoBlock block;
  fillHeader(block, header);
  std::memcpy(block.colours, indices, sizeof(std::uint16_t) * colourTableEntries(header));
  makeBottomUp(block);
  ScreenDc screen(hpal(palette));
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen.get(), reinterpret_cast<BITMAPINFO*>(&block), DIB_PAL_COLORS,
                                    &bits, nullptr, 0);
  return wrap(bitmap);
}

bool describeDibSection(BitmapHandle bitmap, DibSectionInfo& info) {
  DIBSECTION section;
  if (!bitmap || GetObjectA(hbm(bitmap), sizeof section, &section) != sizeof section) return false;
  std::memcpy(static_cast<void*>(&info.header), &section.dsBmih, sizeof info.header);
  info.bits = static_cast<std::uint8_t*>(section.dsBm.bmBits);
  info.colourCount = 0;
  if (info.header.compression == kBiBitfields) {
    std::memcpy(info.masks, section.dsBitfields, sizeof info.masks);
  } else if (info.header.bitCount <= 8) {
    SelectedBitmap selected(hbm(bitmap));
    UINT n = selected.get() ? GetDIBColorTable(selected.get(), 0, colourTableEntries(info.header),
                                               reinterpret_cast<RGBQUAD*>(info.colours))
                            : 0;
    if (n == 0) return false;
    info.colourCount = static_cast<int>(n);
  }
  return info.bits != nullptr;
}

bool setDibColourTable(BitmapHandle bitmap, const RgbQuad* colours, int count) {
  SelectedBitmap selected(hbm(bitmap));
  return selected.get() &&
         SetDIBColorTable(selected.get(), 0, count, reinterpret_cast<const RGBQUAD*>(colours)) > 0;
}

BitmapHandle createDeviceBitmap(const DibHeader& header) {
  InfoBlock block;
  fillHeader(block, header);
  ScreenDc screen(nullptr);
  if (!screen.get()) return nullptr;
  return wrap(CreateDIBitmap(screen.get(), &block.header, 0, nullptr, nullptr, DIB_RGB_COLORS));
}

DeviceContext createMemoryDc(PaletteHandle palette) {
  ScreenDc screen(nullptr);
  HDC dc = screen.get() ? CreateCompatibleDC(screen.get()) : nullptr;
  if (dc && palette) {
    SelectPalette(dc, hpal(palette), FALSE);
    RealizePalette(dc);
  }
  return reinterpret_cast<DeviceContext>(dc);
}

void deleteMemoryDc(DeviceContext dc) {
  if (!dc) return;
  HDC hdc = reinterpret_cast<HDC>(dc);
  SelectPalette(hdc, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
  DeleteDC(hdc);
}

bool setDeviceBitmapRow(DeviceContext dc, BitmapHandle bitmap, int scanLine, const DibHeader& header,
                        const std::uint16_t* palIndices, const std::uint8_t* row) {
  BITMAP target;
  if (!bitmap || !GetObjectA(hbm(bitmap), sizeof target, &target)) return false;
  InfoBlock block;
  fillHeader(block, header);
  if (palIndices) std::memcpy(block.colours, palIndices, sizeof(std::uint16_t) * colourTableEntries(header));
  // Scan lines count from the bottom of a DIB as tall as the bitmap; the bits
  // handed in are those of the one line set.
  block.header.biHeight = target.bmHeight;
  return SetDIBits(reinterpret_cast<HDC>(dc), hbm(bitmap), scanLine, 1, row,
                   reinterpret_cast<BITMAPINFO*>(&block), palIndices ? DIB_PAL_COLORS : DIB_RGB_COLORS) == 1;
}

void clearBitmap(BitmapHandle bitmap) {
  BITMAP info;
  if (!bitmap || !GetObjectA(hbm(bitmap), sizeof info, &info)) return;
  SelectedBitmap selected(hbm(bitmap));
  if (selected.get()) PatBlt(selected.get(), 0, 0, info.bmWidth, info.bmHeight, BLACKNESS);
}

BitmapHandle cropBitmap(BitmapHandle bitmap, int x, int y, int width, int height) {
  if (!bitmap || width <= 0 || height <= 0) return nullptr;
  SelectedBitmap source(hbm(bitmap));
  if (!source.get()) return nullptr;
  // Compatible with a DC holding a DIB section, this is a DIB section of the same format.
  HBITMAP result = CreateCompatibleBitmap(source.get(), width, height);
  if (!result) return nullptr;
  bool copied = false;
  {
    SelectedBitmap target(result);  // deselected before a failed copy is deleted
    copied = target.get() && BitBlt(target.get(), 0, 0, width, height, source.get(), x, y, SRCCOPY);
  }
  if (!copied) {
    DeleteObject(result);
    return nullptr;
  }
  return wrap(result);
}

void deleteBitmap(BitmapHandle bitmap) {
  if (bitmap) DeleteObject(hbm(bitmap));
}

PaletteHandle createLogicalPalette(const RgbTriple* entries, int count) {
  if (!entries || count <= 0 || count > 256) return nullptr;
  struct {
    WORD version, count;
    PALETTEENTRY entries[256];
  } block = {0x300, static_cast<WORD>(count), {}};
  for (int i = 0; i < count; ++i)
    block.entries[i] = PALETTEENTRY{entries[i].red, entries[i].green, entries[i].blue, 0};
  return reinterpret_cast<PaletteHandle>(CreatePalette(reinterpret_cast<LOGPALETTE*>(&block)));
}

int paletteEntries(PaletteHandle palette, RgbTriple* out, int max) {
  PALETTEENTRY entries[256];
  if (!palette) return 0;
  int n = static_cast<int>(GetPaletteEntries(hpal(palette), 0, max < 256 ? max : 256, entries));
  for (int i = 0; i < n; ++i) out[i] = RgbTriple{entries[i].peRed, entries[i].peGreen, entries[i].peBlue};
  return n;
}

void deletePalette(PaletteHandle palette) {
  if (palette) DeleteObject(hpal(palette));
}

int screenDepth() {
  ScreenDc screen(nullptr);
  if (!screen.get()) return 24;
  return GetDeviceCaps(screen.get(), BITSPIXEL) * GetDeviceCaps(screen.get(), PLANES);
}

}  // namespace imaging
