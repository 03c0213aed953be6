#include "imaging/dib_ops.h"

#include "imaging/dib_format.h"
#include "imaging/gdi_backend.h"
#include "imaging/pixel_ops.h"

namespace imaging {

PaletteHandle createPalette(const DibHeader& header, const RgbQuad* colourTable, int count) {
  if (header.bitCount > 8 || !colourTable || count <= 0 || count > 256) return nullptr;
  RgbTriple entries[256];
  for (int i = 0; i < count; ++i)
    entries[i] = RgbTriple{colourTable[i].red, colourTable[i].green, colourTable[i].blue};
  return createLogicalPalette(entries, count);
}

BitmapHandle rotate(BitmapHandle bitmap, QuarterTurns turn) {
  if (turn.none()) return nullptr;
  DibSectionInfo source;
  if (!describeDibSection(bitmap, source)) return nullptr;
  bool masks = source.header.compression == kBiBitfields;
  if (source.header.compression != kBiRgb && !masks) return nullptr;
  DibHeader header = source.header;
  if (turn.swapsSides()) {
    int height = absHeight(source.header);
    header.height = source.header.height < 0 ? -source.header.width : source.header.width;
    header.width = height;
  }
  header.size = 40;
  header.sizeImage = 0;
  // The source's own colour table keeps every index meaning what it meant.
  const RgbQuad* colourBlock = masks ? reinterpret_cast<const RgbQuad*>(source.masks)
                                     : source.colourCount ? source.colours : nullptr;
  BitmapHandle result = createDibSection(header, colourBlock);
  DibSectionInfo target;
  if (!result || !describeDibSection(result, target)) {
    deleteBitmap(result);
    return nullptr;
  }
  rotatePixels(makeView(source.header, source.bits), makeView(target.header, target.bits), turn);
  return result;
}

BitmapHandle crop(BitmapHandle bitmap, int x, int y, int width, int height) {
  return cropBitmap(bitmap, x, y, width, height);
}

}  // namespace imaging
