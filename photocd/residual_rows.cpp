// Residual rows stored in the image pack itself: 4BASE luma, 16BASE luma and
// chroma, found through the row tables and by row syncs.
#include <algorithm>
#include <cstdlib>
#include <new>

#include "code_table_cache.h"
#include "decode_internal.h"
#include "image_attributes.h"
#include "pcd_bytes.h"
#include "pcd_layout.h"
#include "row_fill.h"
#include "row_recovery.h"

namespace {

constexpr int kPlaneCode[3] = {0, 2, 3};  // plane numbers in row headers
// A search from a row table entry passes at most this many headers and bits;
// a row not found that way is looked up in the index of the level's syncs.
constexpr int kEntrySearchHeaders = 8;
constexpr std::uint64_t kEntrySearchBits = 8 * pcd::kSectorSize * 8;

PcdStatus ReadRowTable(ImagePack& pack, std::uint32_t sector, std::uint32_t entries, std::uint16_t*& table) {
  auto* bytes = static_cast<std::uint8_t*>(std::malloc(entries * 2));
  if (!bytes) return kPcdOutOfMemory;
  PcdStatus status = PcdSectorSeek(pack.reader, sector);
  if (status == kPcdOk) status = PcdSectorRead(pack.reader, bytes, entries * 2);
  if (status != kPcdOk) {
    std::free(bytes);
    return status;
  }
  table = static_cast<std::uint16_t*>(std::malloc(entries * sizeof(std::uint16_t)));
  if (table)
    for (std::uint32_t k = 0; k < entries; ++k) table[k] = PcdBigEndian16(bytes + 2 * k);
  std::free(bytes);
  return table ? kPcdOk : kPcdOutOfMemory;
}

// Entries of rows stored in order never go back, and a table whose first and
// last entries are equal (a zeroed one) locates nothing. 16BASE entries are
// checked in steps of two: odd ones may point at the chroma rows.
bool RowTableUsable(const std::uint16_t* table, std::uint32_t entries, std::uint32_t step) {
  for (std::uint32_t k = step; k < entries; k += step)
    if (table[k] < table[k - step]) return false;
  return table[entries - step] != table[0];
}

// The image sector a row table entry names: entries count disc sectors from a
// base, so the base goes to disc sectors and the sum back to image sectors.
std::uint32_t EntrySector(const ImagePack& pack, std::uint32_t discBase, std::uint16_t entry) {
  return PcdDiscToImageSector(discBase + entry, pack.interleaveImage, pack.interleaveAudio);
}

// Where one level's rows are: its row table, the sectors its rows lie in and
// which headers are its rows.
struct LevelRows {
  int which;                 // 0 4BASE, 1 16BASE
  std::uint32_t tableSector;
  std::uint32_t entries;
  std::uint32_t step;        // entries checked for order
  std::uint32_t discBase;    // entries count disc sectors from here
  std::uint32_t firstRowSector;
  std::uint32_t endSector;   // the sector after its rows; 0: they run to the end of the file
  RowSyncLayout layout;
};

constexpr std::uint64_t SectorBit(std::uint32_t sector) { return std::uint64_t{sector} * pcd::kSectorSize * 8; }

LevelRows Rows4Base(const ImagePack& pack) {
  // 4BASE rows end where the 16BASE tables begin.
  const std::uint32_t end = pack.tableSector16Base > pcd::k4BaseFirstRowSector ? pack.tableSector16Base : 0;
  return {0, pcd::k4BaseRowTableSector, pcd::k4BaseRowTableEntries, 1,
          PcdImageToDiscSector(pcd::k4BaseRowBaseSector, pack.interleaveImage, pack.interleaveAudio),
          pcd::k4BaseFirstRowSector, end, RowSyncLayout{{pcd::LevelHeight(pcd::kLevel4Base), 0, 0}, 1, true}};
}

LevelRows Rows16Base(const ImagePack& pack) {
  const int chromaRows = pcd::LevelHeight(pcd::kLevel4Base);
  return {1, pack.tableSector16Base + pcd::k16BaseRowTableSectorDelta, pcd::k16BaseRowTableEntries, 2,
          pack.entryOffset16Base, pack.tableSector16Base + pcd::k16BaseFirstRowSectorDelta, 0,
          RowSyncLayout{{pcd::LevelHeight(pcd::kLevel16Base), chromaRows, chromaRows}, 2, false}};
}

// The level's row table; kPcdRowTableUnreadable (table null) when it cannot
// be read or makes no sense, and the rows are found by their syncs instead.
PcdStatus GetRowTable(ImagePack& pack, DecodeState& state, const LevelRows& rows, const std::uint16_t*& table) {
  table = nullptr;
  if (state.rowTableUnusable[rows.which]) return kPcdRowTableUnreadable;
  std::uint16_t*& held = rows.which == 0 ? pack.rowTable4Base : pack.rowTable16Base;
  if (held) {
    table = held;
    return kPcdOk;
  }
  const PcdStatus status = ReadRowTable(pack, rows.tableSector, rows.entries, held);
  if (status == kPcdOutOfMemory) return status;
  if (status != kPcdOk || !RowTableUsable(held, rows.entries, rows.step)) {
    state.rowTableUnusable[rows.which] = true;
    return kPcdRowTableUnreadable;
  }
  table = held;
  return kPcdOk;
}

std::uint32_t FileSectors(ImagePack& pack, DecodeState& state) {
  std::uint32_t size = 0;
  if (!state.fileSectors && PcdFileSize(pack.file, size) == kPcdOk) state.fileSectors = (size + pcd::kSectorSize - 1) / pcd::kSectorSize;
  return state.fileSectors;
}

// The sector a row table entry names: kPcdRowTableUnreadable when the table
// cannot be used, kPcdRowPastData when the entry lies past the end of the pack.
PcdStatus EntrySectorOf(ImagePack& pack, DecodeState& state, const LevelRows& rows, int entry, std::uint32_t& sector) {
  const std::uint16_t* table = nullptr;
  const PcdStatus status = GetRowTable(pack, state, rows, table);
  if (status != kPcdOk) return status;
  sector = EntrySector(pack, rows.discBase, table[entry]);
  return sector < FileSectors(pack, state) ? kPcdOk : kPcdRowPastData;
}

// A failed read as the damage it means.
PcdStatus SearchDamage(PcdStatus status) {
  switch (status) {
    case kPcdOutOfMemory: return status;
    case kPcdEndOfFile: return kPcdRowPastData;
    case kPcdReadFailed:
    case kPcdSeekFailed: return kPcdRowUnreadable;
    default: return kPcdRowNoSync;
  }
}

// One row to find: its place in the level's index, its header, its row table
// entry, and the row stored just before it, after which it may follow.
struct WantedRow {
  int slot;            // 0 luma, 1 chroma 1, 2 chroma 2
  int row;
  int headerRow;       // the row number its header carries
  bool anyPlane;       // 4BASE: a header of any plane will do
  int entry;           // row table entry to search from
  bool entryFirst;     // the entry names the sector of this row's own sync
  const ResidualStream* previous;
  int previousRow;
};

// Whether the row's header comes right after the row before it, past fill bits.
bool FollowsPrevious(BitReader& bits, const WantedRow& w) {
  const ResidualStream& p = *w.previous;
  if (p.row != w.previousRow || p.damage != kPcdOk) return false;
  RowHeader h{};
  return bits.Seek(p.end) == kPcdOk && bits.NextHeader(h, p.end + kPcdMaxFillBits) == kPcdOk && h.row == w.headerRow &&
         (w.anyPlane || h.plane == kPlaneCode[w.slot]);
}

// What a row found at a place says of the row table: kPcdRowTableUnreadable
// when the table cannot be used, or when checkEntry is set and the row's
// entry does not lead there; else 0. Chroma rows and rows found right after
// the row before them are not located by their entries, so only an unusable
// table counts for them.
PcdStatus TableAgrees(ImagePack& pack, DecodeState& state, const LevelRows& rows, const WantedRow& w,
                      std::uint64_t afterHeader, bool checkEntry) {
  std::uint32_t entrySector = 0;
  const PcdStatus status = EntrySectorOf(pack, state, rows, w.entry, entrySector);
  if (status == kPcdOutOfMemory || status == kPcdRowTableUnreadable) return status;
  if (w.slot > 0 || !checkEntry) return kPcdOk;
  if (status != kPcdOk) return kPcdRowTableUnreadable;
  const std::uint64_t syncBits = pcd::kSyncOnes + 1 + kPcdRowHeaderBits;
  const std::uint64_t syncSector = (afterHeader - std::min(afterHeader, syncBits)) / SectorBit(1);
  const bool leads = entrySector <= syncSector && (!w.entryFirst || syncSector <= entrySector + 1);
  return leads ? kPcdOk : kPcdRowTableUnreadable;
}

// Whether a search from the row table entry finds the row within a few rows.
bool FoundFromEntry(ImagePack& pack, DecodeState& state, BitReader& bits, const LevelRows& rows, const WantedRow& w,
                    int entry) {
  std::uint32_t sector = 0;
  if (EntrySectorOf(pack, state, rows, entry, sector) != kPcdOk) return false;
  const std::uint64_t from = SectorBit(sector);
  return bits.Seek(from) == kPcdOk && PcdFindRow(bits, w.headerRow, kPlaneCode[w.slot], w.anyPlane,
                                                 kEntrySearchHeaders, from + kEntrySearchBits) == kPcdOk;
}

// Why a row the index has no place for is missing.
PcdStatus MissingRow(ImagePack& pack, DecodeState& state, const LevelRows& rows, const RowSyncIndex& index,
                     const WantedRow& w) {
  if (index.scanStatus() != kPcdOk) return SearchDamage(index.scanStatus());
  std::uint32_t sector = 0;
  const PcdStatus status = EntrySectorOf(pack, state, rows, w.entry, sector);
  if (status == kPcdOutOfMemory) return status;
  // Rows after the last one found in data that runs to the end of the file
  // lie past the end of what the file holds.
  const bool afterLast = rows.endSector == 0 && w.row > index.lastRow(w.slot);
  return status == kPcdRowPastData || afterLast ? kPcdRowPastData : kPcdRowNoSync;
}

// Puts bits just after the row's header. Tried in turn: right after the row
// stored before it, from its row table entry (for chroma also from the last
// luma row's entry, which they mostly follow), and, once either fails, through
// the index of every sync of the level, read in one pass and used for every
// row from then on: so no input makes a row cost more than a few sectors of
// searching. 0 or kPcdRowTableUnreadable (TableAgrees) when found;
// kPcdRowNoSync, kPcdRowPastData or kPcdRowUnreadable when no header fits.
PcdStatus LocateRow(ImagePack& pack, DecodeState& state, BitReader& bits, const LevelRows& rows, const WantedRow& w) {
  // The row table is read first: reading it moves the sector reader.
  const std::uint16_t* table = nullptr;
  if (GetRowTable(pack, state, rows, table) == kPcdOutOfMemory) return kPcdOutOfMemory;
  RowSyncIndex& index = state.syncIndex[rows.which];
  if (!index.built()) {
    if (FollowsPrevious(bits, w)) return TableAgrees(pack, state, rows, w, bits.Position(), false);
    if (FoundFromEntry(pack, state, bits, rows, w, w.entry)) return kPcdOk;
    if (w.slot > 0 && FoundFromEntry(pack, state, bits, rows, w, static_cast<int>(rows.entries) - 1))
      return kPcdOk;
    const std::uint64_t end = rows.endSector ? SectorBit(rows.endSector) : BitReader::kNoLimit;
    const PcdStatus status = index.Build(bits, SectorBit(rows.firstRowSector), end, rows.layout);
    if (status != kPcdOk) return status;
  }
  const std::uint64_t at = index.Find(w.slot, w.row);
  if (!at) return MissingRow(pack, state, rows, index, w);
  const PcdStatus status = bits.Seek(at);
  if (status != kPcdOk) return SearchDamage(status);
  return TableAgrees(pack, state, rows, w, at, true);
}

// Reads the count-th code table (0, 1, 2) stored one after another from a
// sector, each skipped by its stored length. 3000 for a table of one code,
// which no real row can be coded with (a zeroed table reads as one).
PcdStatus ReadCodeTable(ImagePack& pack, std::uint32_t sector, int index, const HuffmanTable*& table) {
  if (table) return kPcdOk;
  std::uint8_t stored[kPcdMaxStoredTableSize];
  PcdStatus status = PcdSectorSeek(pack.reader, sector);
  for (int i = 0; status == kPcdOk && i <= index; ++i) {
    status = PcdSectorRead(pack.reader, stored, 1);
    if (status != kPcdOk) break;
    const std::uint32_t rest = static_cast<std::uint32_t>(PcdStoredTableSize(stored[0]) - 1);
    status = i < index ? PcdSectorSkip(pack.reader, rest) : PcdSectorRead(pack.reader, stored + 1, rest);
  }
  if (status != kPcdOk) return status;
  if (stored[0] == 0) return kPcdBadSignature;
  return PcdAcquireCodeTable(stored, sizeof stored, table);
}

// The code table of a level, or kPcdCodeTableUnreadable, remembered for the pack.
PcdStatus GetCodeTable(ImagePack& pack, DecodeState& state, std::uint32_t sector, int index, int slot) {
  if (state.codeTableUnusable[slot]) return kPcdCodeTableUnreadable;
  const PcdStatus status = ReadCodeTable(pack, sector, index, state.packTables[slot]);
  if (status == kPcdOk || status == kPcdOutOfMemory) return status;
  state.codeTableUnusable[slot] = true;
  return kPcdCodeTableUnreadable;
}

}  // namespace

PcdStatus PcdFindRow(BitReader& bits, int row, int planeCode, bool anyPlane, int maxHeaders, std::uint64_t before) {
  for (int headers = 0; headers < maxHeaders; ++headers) {
    RowHeader header{};
    PcdStatus status = bits.NextHeader(header, before);
    if (status != kPcdOk) return status;
    if (header.row == row && (anyPlane || header.plane == planeCode)) return kPcdOk;
    if (header.row > row && !(planeCode != 0 && header.plane == 0)) return kPcdBadSignature;
  }
  return kPcdBadSignature;
}

PcdStatus PcdDecodeRow(BitReader& bits, const HuffmanTable& table, int width, ResidualStream& stream, int row) {
  try {
    stream.values.resize(static_cast<std::size_t>(width));
  } catch (const std::bad_alloc&) {
    return kPcdOutOfMemory;
  }
  stream.row = -1;
  const std::uint64_t codesStart = bits.Position();
  PcdStatus status = bits.Decode(table, width, stream.values.data());
  if (status != kPcdOk && status != kPcdRowBadCode) return status == kPcdEndOfFile ? PcdStatus{kPcdRowPastData} : status;
  stream.row = row;
  stream.end = bits.Position();
  if (status == kPcdOk && PcdRanIntoSync(bits, codesStart, stream.end)) {
    // Where the damage began is not known here: the row is left out (rows of
    // the pack itself are read again by DecodeFound, which keeps what decodes).
    std::fill(stream.values.begin(), stream.values.end(), 0);
    status = kPcdRowOverrun;
  }
  stream.damage = status;
  return status;
}

bool PcdRanIntoSync(BitReader& bits, std::uint64_t codesStart, std::uint64_t codesEnd) {
  if (bits.AtSync()) return false;
  // A sync ends with a zero after 23 ones: codes ending after its first one
  // bit ran into it. Only the bits up to there are searched.
  RowHeader header{};
  const std::uint64_t zeroLimit = codesEnd + pcd::kSyncOnes;
  const bool ran = bits.Seek(codesStart) == kPcdOk && bits.NextHeader(header, zeroLimit) == kPcdOk &&
                   bits.Position() - kPcdRowHeaderBits - 1 < zeroLimit;
  bits.Seek(codesEnd);
  return ran;
}

namespace {

// A damaged row keeps the codes most likely right (row_recovery.h), and
// still counts as damaged; the stream reads on from the next row's sync.
PcdStatus KeepWhatDecodes(BitReader& bits, const HuffmanTable& table, std::uint64_t start, int width,
                          const RecoveryRow& place, ResidualStream& stream, PcdStatus damage) {
  const PcdStatus status = PcdRecoverRow(bits, table, start, width, place, stream.values.data());
  if (status == kPcdOutOfMemory) return status;
  stream.end = bits.Position();
  return stream.damage = damage;
}

// Decodes the row found at bits into the stream; a row found without the row
// table keeps that status unless its codes are damaged, and a damaged row
// keeps what still decodes. A row whose codes end before bits other than fill
// bits (but the last of its plane, which nothing need follow) is damaged too:
// a wrong bit made fewer codes of it.
PcdStatus DecodeFound(BitReader& bits, const HuffmanTable& table, int width, ResidualStream& stream, int row,
                      PcdStatus found, const RecoveryRow& place, bool lastRow) {
  const std::uint64_t start = bits.Position();
  PcdStatus status = PcdDecodeRow(bits, table, width, stream, row);
  if (status == kPcdOk && !lastRow && !bits.AtFillOrSync()) status = kPcdRowOverrun;
  if (status == kPcdRowBadCode || status == kPcdRowOverrun)
    return KeepWhatDecodes(bits, table, start, width, place, stream, status);
  if (status == kPcdOk && found != kPcdOk) stream.damage = status = found;
  return status;
}

// A row found, or the damage that hid it, as PcdResidualRow passes it on.
bool Located(PcdStatus found) { return found == kPcdOk || found == kPcdRowTableUnreadable; }

PcdStatus Row4Base(ImagePack& pack, DecodeState& state, int row) {
  ResidualStream& stream = state.pack4Base;
  PcdStatus status = GetCodeTable(pack, state, pcd::k4BaseCodeTableOffset / pcd::kSectorSize, 0, 0);
  if (status != kPcdOk) return status;
  BitReader bits(pack.reader);
  const WantedRow wanted{0, row, row, true, row / pcd::k4BaseRowsPerEntry, row % pcd::k4BaseRowsPerEntry == 0,
                         &stream, row - 1};
  const PcdStatus found = LocateRow(pack, state, bits, Rows4Base(pack), wanted);
  if (!Located(found)) return found;
  return DecodeFound(bits, *state.packTables[0], pcd::LevelWidth(pcd::kLevel4Base), stream, row, found,
                     {0, row + 1}, row == pcd::LevelHeight(pcd::kLevel4Base) - 1);
}

PcdStatus Row16BaseLuma(ImagePack& pack, DecodeState& state, int row) {
  ResidualStream& stream = state.pack16Base[0];
  const std::uint32_t tableSector = pack.tableSector16Base + pcd::k16BaseCodeTableSectorDelta;
  PcdStatus status = GetCodeTable(pack, state, tableSector, 0, 1);
  if (status != kPcdOk) return status;
  BitReader bits(pack.reader);
  // Rows are located in pairs: odd entries may point at the chroma rows.
  const WantedRow wanted{0, row, row, false, row & ~1, (row & 1) == 0, &stream, row - 1};
  const PcdStatus found = LocateRow(pack, state, bits, Rows16Base(pack), wanted);
  if (!Located(found)) return found;
  return DecodeFound(bits, *state.packTables[1], pcd::LevelWidth(pcd::kLevel16Base), stream, row, found,
                     {0, row + 1}, row == pcd::LevelHeight(pcd::kLevel16Base) - 1);
}

// Chroma row `chromaRow` (0..1023) of plane 1 or 2; its header carries the
// number of the 16BASE luma row it goes with, 2 * chromaRow. Chroma 1 and 2
// of each row are stored in turn, so each follows the other plane's last row.
PcdStatus Row16BaseChroma(ImagePack& pack, DecodeState& state, int plane, int chromaRow) {
  ResidualStream& stream = state.pack16Base[plane];
  const std::uint32_t tableSector = pack.tableSector16Base + pcd::k16BaseCodeTableSectorDelta;
  PcdStatus status = GetCodeTable(pack, state, tableSector, plane, 1 + plane);
  if (status != kPcdOk) return status;
  const int headerRow = 2 * chromaRow;
  const ResidualStream& other = state.pack16Base[3 - plane];
  const WantedRow wanted{plane, chromaRow, headerRow, false, headerRow | 1, false,
                         &other, plane == 1 ? chromaRow - 1 : chromaRow};
  BitReader bits(pack.reader);
  const PcdStatus found = LocateRow(pack, state, bits, Rows16Base(pack), wanted);
  if (!Located(found)) return found;
  return DecodeFound(bits, *state.packTables[1 + plane], pcd::LevelWidth(pcd::kLevel4Base), stream, chromaRow, found,
                     {kPlaneCode[plane], headerRow + 2}, chromaRow == pcd::LevelHeight(pcd::kLevel4Base) - 1);
}

// The damage a row that gave no values stands for; 0 for real failures.
PcdStatus RowDamage(PcdStatus status) {
  if (PcdIsDamage(status)) return status;
  switch (status) {
    case kPcdBadSignature: return kPcdRowNoSync;
    case kPcdEndOfFile: return kPcdRowPastData;
    case kPcdReadFailed:
    case kPcdSeekFailed: return kPcdRowUnreadable;
    default: return kPcdOk;
  }
}

}  // namespace

void PcdFreeRowTables(ImagePack& pack) {
  std::free(pack.rowTable4Base);
  std::free(pack.rowTable16Base);
  pack.rowTable4Base = nullptr;
  pack.rowTable16Base = nullptr;
}

PcdStatus PcdStoredResidualRow(ImagePack& pack, DecodeState& state, int level, int plane, int row,
                               const std::int8_t*& values) {
  values = nullptr;
  const std::uint8_t flags = pack.extension ? pack.extension->levelFlags : 0;
  if (flags & pcd::ExtensionLevelFlag(level)) return PcdExtensionResidualRow(pack, level, plane, row, values);
  ResidualStream* stream = nullptr;
  PcdStatus status = kPcdOk;
  if (level == pcd::kLevel4Base && plane == 0) {
    stream = &state.pack4Base;
    status = stream->row != row ? Row4Base(pack, state, row) : stream->damage;
  } else if (level == pcd::kLevel16Base && pack.tableSector16Base != 0) {
    stream = &state.pack16Base[plane];
    if (stream->row != row)
      status = plane == 0 ? Row16BaseLuma(pack, state, row) : Row16BaseChroma(pack, state, plane, row);
    else
      status = stream->damage;
  } else {
    return kPcdInvalidArgument;
  }
  if (stream->row == row) values = stream->values.data();
  return status;
}

PcdStatus PcdResidualRow(ImagePack& pack, int level, int plane, int row, const std::int8_t*& values) {
  values = nullptr;
  DecodeState* state = nullptr;
  PcdStatus status = PcdGetDecodeState(pack, state);
  if (status != kPcdOk) return status;
  status = PcdStoredResidualRow(pack, *state, level, plane, row, values);
  if (values) return status;
  const PcdStatus damage = RowDamage(status);
  return damage ? PcdFillLostRow(pack, *state, level, plane, row, damage, values) : status;
}
