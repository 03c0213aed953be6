#include "damage_report.h"

#include <new>

#include "decode_internal.h"
#include "pcd_layout.h"

const char* PcdLevelName(int level) {
  static const char* const kNames[] = {"BASE/64", "BASE/16", "BASE/4", "BASE", "4BASE", "16BASE", "64BASE"};
  return level >= 0 && level <= pcd::kMaxLevel ? kNames[level] : "?";
}

PcdStatus PcdGetDamage(const ImagePack* pack, PcdDamageReport& report) {
  if (!pack) return kPcdInvalidArgument;
  report = pack->decode ? pack->decode->damage : PcdDamageReport{};
  report.fileCutShort = PcdFileCutShort(pack->file);
  report.headerDamaged = pack->headerDamaged;
  report.readsGivenUp = PcdFileGaveUp(pack->file);
  // Packs are whole sectors: a file that ends inside one was cut short.
  std::uint32_t size = 0;
  if (PcdFileSize(pack->file, size) == kPcdOk) report.cutMidSector = size % pcd::kSectorSize;
  return kPcdOk;
}

void PcdClearDamage(ImagePack* pack) {
  if (!pack || !pack->decode) return;
  pack->decode->damage = {};
  for (auto& seen : pack->decode->damagedRows) seen.clear();
}

void PcdRecordRowDamage(DecodeState& state, int level, int plane, int row, PcdStatus cause) {
  if (level < 0 || level > pcd::kMaxLevel) return;
  if (cause == kPcdRowTableUnreadable) {
    state.damage.levels[level].rowTableReplaced = true;
    return;
  }
  // A chroma table lost leaves the luma whole: its rows count as rows left out.
  if (cause == kPcdCodeTableUnreadable && plane == 0) {
    state.damage.levels[level].unreadable = cause;
    return;
  }
  std::vector<std::uint8_t>& seen = state.damagedRows[level];
  const std::size_t height = static_cast<std::size_t>(pcd::LevelHeight(level));
  const std::size_t index = static_cast<std::size_t>(plane) * height + static_cast<std::size_t>(row);
  try {
    if (seen.empty()) seen.assign(3 * height, 0);
  } catch (const std::bad_alloc&) {
    return;  // the row still decodes as zeros; only the count is lost
  }
  if (index >= seen.size() || seen[index]) return;
  seen[index] = 1;
  PcdLevelDamage& damage = state.damage.levels[level];
  ++damage.rowsLeftOut;
  if (damage.firstRows.size() < kPcdListedRows) damage.firstRows.push_back({plane, row, cause});
}

namespace {

std::string RowName(int level, const PcdDamagedRow& row) {
  static const char* const kPlanes[] = {"row ", "chroma 1 row ", "chroma 2 row "};
  return std::string(PcdLevelName(level)) + " " + kPlanes[row.plane] + std::to_string(row.row) + ": " +
         PcdStatusText(row.cause);
}

// "3 sectors unreadable, 2 sectors read as zeros, filled from BASE/4".
std::string FilledSectorsText(int level, const PcdLevelDamage& d) {
  const int zeroed = d.sectorsFilled - d.sectorsUnreadable - d.sectorsPastEnd;
  std::string text;
  const auto add = [&text](int count, const char* what) {
    if (count) text += (text.empty() ? "" : ", ") + std::to_string(count) + (count == 1 ? " sector " : " sectors ") + what;
  };
  add(d.sectorsUnreadable, "unreadable");
  add(d.sectorsPastEnd, "past the end of the file");
  add(zeroed, "read as zeros");
  return text + (level > pcd::kLevelBase16 ? std::string(", filled from ") + PcdLevelName(level - 1) : ", shown grey");
}

}  // namespace

std::vector<std::string> PcdDamageTexts(const PcdDamageReport& report) {
  std::vector<std::string> lines;
  if (report.headerDamaged) lines.push_back("header damaged; orientation unknown");
  if (report.fileCutShort) lines.push_back("the file lies partly past the end of the disc image");
  if (report.readsGivenUp) lines.push_back("read errors took too long: the sectors after them were not tried");
  if (report.cutMidSector)
    lines.push_back("the file ends " + std::to_string(report.cutMidSector) + " bytes into a sector: it was cut short");
  for (int level = 0; level <= pcd::kMaxLevel; ++level) {
    const PcdLevelDamage& d = report.levels[level];
    const std::string name = PcdLevelName(level);
    if (d.sectorsFilled) lines.push_back(name + ": " + FilledSectorsText(level, d));
    if (d.unreadable) lines.push_back(name + " " + PcdStatusText(d.unreadable));
    if (d.rowTableReplaced) lines.push_back(name + " row table unreadable");
    if (d.rowsLeftOut == 1) lines.push_back(RowName(level, d.firstRows.front()));
    if (d.rowsLeftOut > 1)
      lines.push_back(name + ": " + std::to_string(d.rowsLeftOut) + " rows left out, first " +
                      RowName(level, d.firstRows.front()).substr(name.size() + 1));
  }
  return lines;
}
