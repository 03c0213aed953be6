// What decoding an image pack found damaged and went around, level by level:
// residual rows left out (their pixels keep the enlarged level below), levels
// whose residuals cannot be decoded at all, row tables replaced by finding the
// rows by their syncs, and base-level sectors filled from the level below.
#pragma once
#include <string>
#include <vector>

#include "image_pack.h"
#include "pcd_status.h"

struct PcdDamagedRow {
  int plane;  // 0 luma, 1 chroma 1, 2 chroma 2
  int row;
  PcdStatus cause;
};

struct PcdLevelDamage {
  int rowsLeftOut = 0;                  // distinct rows of every plane
  std::vector<PcdDamagedRow> firstRows; // the first few, in the order met
  PcdStatus unreadable = kPcdOk;        // why the level's residuals were all left out
  bool rowTableReplaced = false;
  int sectorsFilled = 0;                // base levels: lost sectors filled from the level below
  int sectorsUnreadable = 0;            // of them, sectors that did not read
  int sectorsPastEnd = 0;               // of them, sectors past the end of the file
  bool Any() const { return rowsLeftOut || unreadable || rowTableReplaced || sectorsFilled; }
};

struct PcdDamageReport {
  PcdLevelDamage levels[7];  // by level, 0 (BASE/64) to 6 (64BASE)
  bool fileCutShort = false;  // the pack lies partly past the end of its disc image
  bool headerDamaged = false; // the header sector was lost: levels found, shown unturned
  std::uint32_t cutMidSector = 0;  // bytes of the last sector when the file ends inside one
  bool readsGivenUp = false;  // read errors took so long that sectors were lost untried
  bool Any() const {
    if (fileCutShort || headerDamaged || cutMidSector || readsGivenUp) return true;
    for (const PcdLevelDamage& level : levels)
      if (level.Any()) return true;
    return false;
  }
};

// How many damaged rows a level's report lists.
constexpr int kPcdListedRows = 8;

// The damage every decode of the pack met since it was opened or cleared.
// 3001 without a handle.
PcdStatus PcdGetDamage(const ImagePack* pack, PcdDamageReport& report);
void PcdClearDamage(ImagePack* pack);

// "BASE/16" to "64BASE".
const char* PcdLevelName(int level);
// One short line per damaged level, after one for a pack that lies partly
// past the end of its disc image: "16BASE row table unreadable",
// "4BASE row 812: no sync", "16BASE: 35 rows left out, first row 812: no sync".
std::vector<std::string> PcdDamageTexts(const PcdDamageReport& report);
