#include "imagefile/photocd_levels.h"

namespace imagefile {

int PcdTopEntry(std::uint16_t resolutionMask, int requestedLevel) {
  if (requestedLevel > kPcdEntryCount) requestedLevel = kPcdEntryCount;
  for (int entry = requestedLevel - 1; entry >= 0; --entry)
    if (resolutionMask & (1u << PcdEntryLevel(entry))) return entry;
  return 0;
}

int PcdDecodeEntry(int lastEntry, bool quarterTurn, int outWidth, int outHeight) {
  for (int entry = 0; entry < lastEntry; ++entry) {
    const int w = quarterTurn ? PcdEntryHeight(entry) : PcdEntryWidth(entry);
    const int h = quarterTurn ? PcdEntryWidth(entry) : PcdEntryHeight(entry);
    // The output stage only reduces, so the level must cover the output both ways.
    if (w >= outWidth && h >= outHeight) return entry;
  }
  return lastEntry;
}

}  // namespace imagefile
