// Plain-memory bitmaps and palettes for the native build.
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "imaging/dib_format.h"
#include "imaging/gdi_backend.h"
#include "imaging/pixel_ops.h"

namespace imaging {

struct BitmapObject {
  DibSectionInfo info;
  bool deviceDependent = false;
  ~BitmapObject() { std::free(info.bits); }
};

struct PaletteObject {
  std::vector<RgbTriple> entries;
};

struct DeviceContextObject {
  PaletteHandle palette = nullptr;
};

namespace {

BitmapObject* allocateBitmap(const DibHeader& header) {
  if (header.width <= 0 || header.height == 0 || header.planes != 1) return nullptr;
  switch (header.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return nullptr;
  }
  std::size_t bytes = dibImageSize(header);
  if (bytes == 0) return nullptr;
  auto* object = new (std::nothrow) BitmapObject;
  if (!object) return nullptr;
  object->info.header = header;
  object->info.bits = static_cast<std::uint8_t*>(std::calloc(bytes, 1));
  if (!object->info.bits) {
    delete object;
    return nullptr;
  }
  object->info.colourCount = colourTableEntries(header);
  return object;
}

}  // namespace

BitmapHandle createDibSection(const DibHeader& header, const RgbQuad* colours) {
  BitmapObject* object = allocateBitmap(header);
  if (object && colours) {
    if (header.compression == kBiBitfields)
      std::memcpy(object->info.masks, colours, sizeof object->info.masks);
    else
      std::memcpy(object->info.colours, colours, sizeof(RgbQuad) * object->info.colourCount);
  }
  return object;
}

BitmapHandle createDibSectionFromPalette(const DibHeader& header, PaletteHandle palette,
                                         const std::uint16_t* indices) {
  if (!palette || header.bitCount > 8) return nullptr;
  BitmapObject* object = allocateBitmap(header);
  if (!object) return nullptr;
  for (int i = 0; i < object->info.colourCount; ++i) {
    std::size_t k = indices[i];
    // GDI maps an index beyond the palette to its first entry.
    const RgbTriple& c = k < palette->entries.size() ? palette->entries[k] : palette->entries[0];
    object->info.colours[i] = RgbQuad{c.blue, c.green, c.red, 0};
  }
  return object;
}

bool describeDibSection(BitmapHandle bitmap, DibSectionInfo& info) {
  if (!bitmap || bitmap->deviceDependent) return false;
  info = bitmap->info;
  return true;
}

bool setDibColourTable(BitmapHandle bitmap, const RgbQuad* colours, int count) {
  if (!bitmap || bitmap->info.header.bitCount > 8) return false;
  int n = count < bitmap->info.colourCount ? count : bitmap->info.colourCount;
  std::memcpy(bitmap->info.colours, colours, sizeof(RgbQuad) * n);
  return true;
}

BitmapHandle createDeviceBitmap(const DibHeader& header) {
  // Stored bottom-up like a SetDIBits target.
  DibHeader bottomUp = header;
  bottomUp.height = absHeight(header);
  BitmapObject* object = allocateBitmap(bottomUp);
  if (object) object->deviceDependent = true;
  return object;
}

DeviceContext createMemoryDc(PaletteHandle palette) {
  auto* dc = new (std::nothrow) DeviceContextObject;
  if (dc) dc->palette = palette;
  return dc;
}

void deleteMemoryDc(DeviceContext dc) { delete dc; }

bool setDeviceBitmapRow(DeviceContext dc, BitmapHandle bitmap, int scanLine, const DibHeader& header,
                        const std::uint16_t* palIndices, const std::uint8_t* row) {
  if (!dc || !bitmap || !bitmap->deviceDependent) return false;
  const DibHeader& target = bitmap->info.header;
  if (header.bitCount != target.bitCount || header.width != target.width) return false;
  if (scanLine < 0 || scanLine >= target.height) return false;
  std::size_t stride = dibStride(target.width, target.bitCount);
  // Scan line 0 is the bottom row, which is memory row 0 of a bottom-up store.
  std::memcpy(bitmap->info.bits + stride * static_cast<std::size_t>(scanLine), row, stride);
  if (palIndices && dc->palette && target.bitCount <= 8) {
    RgbQuad colours[256];
    int n = colourTableEntries(header);
    for (int i = 0; i < n; ++i) {
      std::size_t k = palIndices[i] < dc->palette->entries.size() ? palIndices[i] : 0;
      const RgbTriple& c = dc->palette->entries[k];
      colours[i] = RgbQuad{c.blue, c.green, c.red, 0};
    }
    std::memcpy(bitmap->info.colours, colours, sizeof(RgbQuad) * n);
  }
  return true;
}

void clearBitmap(BitmapHandle bitmap) {
  if (bitmap) std::memset(bitmap->info.bits, 0, dibImageSize(bitmap->info.header));
}

BitmapHandle cropBitmap(BitmapHandle bitmap, int x, int y, int width, int height) {
  if (!bitmap || width <= 0 || height <= 0) return nullptr;
  const DibSectionInfo& src = bitmap->info;
  DibHeader header = src.header;
  header.width = width;
  header.height = src.header.height < 0 ? -height : height;
  header.sizeImage = 0;
  BitmapObject* out = allocateBitmap(header);
  if (!out) return nullptr;
  out->deviceDependent = bitmap->deviceDependent;
  std::memcpy(out->info.colours, src.colours, sizeof src.colours);
  std::memcpy(out->info.masks, src.masks, sizeof src.masks);
  copyPixelRect(makeView(src.header, src.bits), x, y, makeView(header, out->info.bits));
  return out;
}

void deleteBitmap(BitmapHandle bitmap) { delete bitmap; }

PaletteHandle createLogicalPalette(const RgbTriple* entries, int count) {
  if (!entries || count <= 0 || count > 256) return nullptr;
  auto* palette = new (std::nothrow) PaletteObject;
  if (palette) palette->entries.assign(entries, entries + count);
  return palette;
}

int paletteEntries(PaletteHandle palette, RgbTriple* out, int max) {
  if (!palette) return 0;
  int n = static_cast<int>(palette->entries.size());
  if (n > max) n = max;
  for (int i = 0; i < n; ++i) out[i] = palette->entries[i];
  return n;
}

void deletePalette(PaletteHandle palette) { delete palette; }

int screenDepth() { return 24; }

}  // namespace imaging
