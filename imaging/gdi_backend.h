// The few bitmap, palette and device-context primitives the imaging core
// needs from the platform. gdi_backend_win.cpp implements them with GDI
// (DIB sections, logical palettes, device-dependent bitmaps); natively
// gdi_backend_posix.cpp keeps the same objects in plain memory.
#pragma once
#include "imaging/dib_types.h"

namespace imaging {

// What GetObject and GetDIBColorTable report for a DIB section.
struct DibSectionInfo {
  DibHeader header;
  std::uint8_t* bits = nullptr;
  int colourCount = 0;  // entries in colours (0 above 8 bits)
  RgbQuad colours[256];
  std::uint32_t masks[3] = {0, 0, 0};  // for BI_BITFIELDS
};

// A DIB section from a header and its colour table (colourTableEntries entries,
// or three masks for BI_BITFIELDS; may be null for true colour). Pixels start zeroed.
BitmapHandle createDibSection(const DibHeader& header, const RgbQuad* colours);
// A DIB section of 8 bits or fewer whose colour table entry i is palette
// entry indices[i] (the DIB_PAL_COLORS creation).
BitmapHandle createDibSectionFromPalette(const DibHeader& header, PaletteHandle palette,
                                         const std::uint16_t* indices);
// False for null handles and for device-dependent bitmaps.
bool describeDibSection(BitmapHandle bitmap, DibSectionInfo& info);
bool setDibColourTable(BitmapHandle bitmap, const RgbQuad* colours, int count);

// A device-dependent bitmap compatible with the screen, of header's size.
BitmapHandle createDeviceBitmap(const DibHeader& header);
// A memory DC compatible with the screen with the palette (may be null) realised.
DeviceContext createMemoryDc(PaletteHandle palette);
void deleteMemoryDc(DeviceContext dc);
// SetDIBits of one row into a device-dependent bitmap. header describes the
// row (height 1); with palIndices the row holds indices into the DC's palette.
bool setDeviceBitmapRow(DeviceContext dc, BitmapHandle bitmap, int scanLine, const DibHeader& header,
                        const std::uint16_t* palIndices, const std::uint8_t* row);

// Fills a bitmap with black (zero pixels for DIB sections).
void clearBitmap(BitmapHandle bitmap);
// A bitmap of width x height compatible with bitmap's format holding the
// rectangle at (x, y); null on failure. The caller owns the result.
BitmapHandle cropBitmap(BitmapHandle bitmap, int x, int y, int width, int height);
void deleteBitmap(BitmapHandle bitmap);

// A logical palette (version 0x300, flags 0) of count entries.
PaletteHandle createLogicalPalette(const RgbTriple* entries, int count);
int paletteEntries(PaletteHandle palette, RgbTriple* out, int max);
void deletePalette(PaletteHandle palette);

// Bits per pixel of the screen.
int screenDepth();

}  // namespace imaging
