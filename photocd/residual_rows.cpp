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
// A row at most this far after the last row its stream decoded is looked for
// from where that row ended, past any rows left out between them.
constexpr int kNearRows = 16;

PcdStatus ReadRowTable(ImagePack& pack, std::uint32_t sector, std::uint32_t entries, std::uint16_t*& table) {
  if (table) return kPcdOk;
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

// Where one level's rows are: its row table and the sector its rows start in.
struct LevelRows {
  int which;                 // 0 4BASE, 1 16BASE
  std::uint32_t tableSector;
  std::uint32_t entries;
  std::uint32_t step;        // entries checked for order
  std::uint32_t discBase;    // entries count disc sectors from here
  std::uint32_t firstRowSector;
};

LevelRows Rows4Base(const ImagePack& pack) {
  return {0, pcd::k4BaseRowTableSector, pcd::k4BaseRowTableEntries, 1,
          PcdImageToDiscSector(pcd::k4BaseRowBaseSector, pack.interleaveImage, pack.interleaveAudio),
          pcd::k4BaseFirstRowSector};
}

LevelRows Rows16Base(const ImagePack& pack) {
  return {1, pack.tableSector16Base + pcd::k16BaseRowTableSectorDelta, pcd::k16BaseRowTableEntries, 2,
          pack.entryOffset16Base, pack.tableSector16Base + pcd::k16BaseFirstRowSectorDelta};
}

// The level's row table; kPcdRowTableUnreadable (table null) when it cannot
// be read or makes no sense, and the rows are found by their syncs instead.
PcdStatus GetRowTable(ImagePack& pack, DecodeState& state, const LevelRows& rows, const std::uint16_t*& table) {
  table = nullptr;
  if (state.rowTableUnusable[rows.which]) return kPcdRowTableUnreadable;
  std::uint16_t*& held = rows.which == 0 ? pack.rowTable4Base : pack.rowTable16Base;
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

// The first bit to search from for a row through its row table entry; the
// level's first row sector when the table cannot be used (status
// kPcdRowTableUnreadable). kPcdRowPastData when the entry lies past the end of
// the pack: a pack cut short, whose rows are not searched for one by one.
PcdStatus EntryBit(ImagePack& pack, DecodeState& state, const LevelRows& rows, int entry, std::uint64_t& bit) {
  const std::uint16_t* table = nullptr;
  const PcdStatus status = GetRowTable(pack, state, rows, table);
  std::uint32_t sector = rows.firstRowSector;
  if (table) {
    sector = EntrySector(pack, rows.discBase, table[entry]);
    if (sector >= FileSectors(pack, state)) return kPcdRowPastData;
  }
  bit = std::uint64_t{sector} * pcd::kSectorSize * 8;
  return status;
}

// A failed row search as the damage it means.
PcdStatus SearchDamage(PcdStatus status) {
  switch (status) {
    case kPcdOutOfMemory: return status;
    case kPcdEndOfFile: return kPcdRowPastData;
    case kPcdReadFailed:
    case kPcdSeekFailed: return kPcdRowUnreadable;
    default: return kPcdRowNoSync;
  }
}

// Searches for the row from a bit, unless an earlier search from at or
// before it for an earlier row ran to the end of the file.
PcdStatus SearchFrom(BitReader& bits, ResidualStream& stream, std::uint64_t from, int row, bool anyPlane) {
  if (stream.endedRow >= 0 && row > stream.endedRow && from >= stream.endedFrom) return kPcdEndOfFile;
  PcdStatus status = bits.Seek(from);
  if (status == kPcdOk) status = PcdFindRow(bits, row, 0, anyPlane, nullptr);
  if (status == kPcdEndOfFile && (stream.endedRow < 0 || from <= stream.endedFrom)) {
    stream.endedRow = row;
    stream.endedFrom = from;
  }
  return status;
}

// Puts bits just after the row's header: found after the stream's last row
// when that lies just before, else from where the row table points (from the
// level's first row when the table is unusable). 0, or kPcdRowTableUnreadable
// when found without the table; kPcdRowNoSync, kPcdRowPastData or
// kPcdRowUnreadable when the row cannot be found.
PcdStatus LocateRow(ImagePack& pack, DecodeState& state, BitReader& bits, ResidualStream& stream,
                    const LevelRows& rows, int row, int entry, bool anyPlane) {
  if (stream.row >= 0 && stream.row < row && row - stream.row <= kNearRows &&
      SearchFrom(bits, stream, stream.end, row, anyPlane) == kPcdOk)
    return kPcdOk;
  std::uint64_t bit = 0;
  const PcdStatus tableStatus = EntryBit(pack, state, rows, entry, bit);
  if (tableStatus == kPcdOutOfMemory || tableStatus == kPcdRowPastData) return tableStatus;
  const PcdStatus status = SearchFrom(bits, stream, bit, row, anyPlane);
  return status == kPcdOk ? tableStatus : SearchDamage(status);
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

bool Before(int rowA, int planeA, int rowB, int planeB) { return rowA < rowB || (rowA == rowB && planeA < planeB); }

}  // namespace

PcdStatus PcdFindRow(BitReader& bits, int row, int planeCode, bool anyPlane, DecodeState* learn) {
  for (int headers = 0; headers < pcd::kMaxSyncHeaders; ++headers) {
    RowHeader header{};
    PcdStatus status = bits.NextHeader(header);
    if (status != kPcdOk) return status;
    if (learn && (header.plane == 2 || header.plane == 3) && !(header.row & 1) &&
        header.row / 2 < static_cast<int>(learn->chromaStarts[0].size()))
      learn->chromaStarts[header.plane - 2][header.row / 2] = bits.Position();
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
  PcdStatus status = bits.Decode(table, width, stream.values.data());
  if (status != kPcdOk && status != kPcdRowBadCode) return status == kPcdEndOfFile ? PcdStatus{kPcdRowPastData} : status;
  stream.row = row;
  stream.end = bits.Position();
  stream.damage = status;
  return status;
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

// Decodes the row at bits into the stream; a row found without the row table
// keeps that status unless its codes are damaged.
// In a stream whose rows so far all ended where the next sync begins, a row
// that ends elsewhere (but the last of its plane) ran past its end: its codes
// went on into damaged data, or some of its bits are wrong.
PcdStatus DecodeFound(BitReader& bits, const HuffmanTable& table, int width, ResidualStream& stream, int row,
                      PcdStatus found, bool lastRow, const RecoveryRow& place) {
  const std::uint64_t start = bits.Position();
  PcdStatus status = PcdDecodeRow(bits, table, width, stream, row);
  if (status == kPcdRowBadCode) return KeepWhatDecodes(bits, table, start, width, place, stream, status);
  if (status != kPcdOk) return status;
  const bool atSync = bits.AtSync();
  if (!atSync && !lastRow && stream.syncsFollow == 1)
    return KeepWhatDecodes(bits, table, start, width, place, stream, kPcdRowOverrun);
  if (!lastRow && stream.syncsFollow != 0) stream.syncsFollow = atSync ? 1 : 0;
  if (found != kPcdOk) stream.damage = status = found;
  return status;
}

PcdStatus Row4Base(ImagePack& pack, DecodeState& state, int row) {
  ResidualStream& stream = state.pack4Base;
  PcdStatus status = GetCodeTable(pack, state, pcd::k4BaseCodeTableOffset / pcd::kSectorSize, 0, 0);
  if (status != kPcdOk) return status;
  BitReader bits(pack.reader);
  const PcdStatus found = LocateRow(pack, state, bits, stream, Rows4Base(pack), row, row / pcd::k4BaseRowsPerEntry, true);
  if (found != kPcdOk && found != kPcdRowTableUnreadable) return found;
  return DecodeFound(bits, *state.packTables[0], pcd::LevelWidth(pcd::kLevel4Base), stream, row, found,
                     row == pcd::LevelHeight(pcd::kLevel4Base) - 1, {0, row + 1});
}

PcdStatus Row16BaseLuma(ImagePack& pack, DecodeState& state, int row) {
  ResidualStream& stream = state.pack16Base[0];
  const std::uint32_t tableSector = pack.tableSector16Base + pcd::k16BaseCodeTableSectorDelta;
  PcdStatus status = GetCodeTable(pack, state, tableSector, 0, 1);
  if (status != kPcdOk) return status;
  BitReader bits(pack.reader);
  // Rows are located in pairs: odd entries may point at the chroma rows.
  const PcdStatus found = LocateRow(pack, state, bits, stream, Rows16Base(pack), row, row & ~1, false);
  if (found != kPcdOk && found != kPcdRowTableUnreadable) return found;
  return DecodeFound(bits, *state.packTables[1], pcd::LevelWidth(pcd::kLevel16Base), stream, row, found,
                     row == pcd::LevelHeight(pcd::kLevel16Base) - 1, {0, row + 1});
}

// Chroma row `chromaRow` (0..1023) of plane 1 or 2; its header carries the
// number of the 16BASE luma row it goes with, 2 * chromaRow.
PcdStatus Row16BaseChroma(ImagePack& pack, DecodeState& state, int plane, int chromaRow) {
  ResidualStream& stream = state.pack16Base[plane];
  const std::uint32_t tableSector = pack.tableSector16Base + pcd::k16BaseCodeTableSectorDelta;
  PcdStatus status = GetCodeTable(pack, state, tableSector, plane, 1 + plane);
  if (status != kPcdOk) return status;
  const int headerRow = 2 * chromaRow;
  const int planeCode = kPlaneCode[plane];
  auto& starts = state.chromaStarts[plane - 1];
  if (starts.empty()) {
    try {
      for (auto& s : state.chromaStarts) s.assign(pcd::LevelHeight(pcd::kLevel16Base) / 2, 0);
    } catch (const std::bad_alloc&) {
      return kPcdOutOfMemory;
    }
  }
  BitReader bits(pack.reader);
  PcdStatus found = kPcdOk;
  if (starts[chromaRow]) {
    status = bits.Seek(starts[chromaRow]);
  } else {
    const LevelRows rows = Rows16Base(pack);
    // Packs mostly store every chroma row after the last luma row: look there
    // first, once, rather than search through all the luma rows.
    bool seen = false;
    if (state.chromaCursorRow < 0 && !state.chromaAfterLumaTried) {
      state.chromaAfterLumaTried = true;
      std::uint64_t bit = 0;
      found = EntryBit(pack, state, rows, pcd::k16BaseRowTableEntries - 1, bit);
      if (found == kPcdOutOfMemory) return found;
      seen = found != kPcdRowPastData && bits.Seek(bit) == kPcdOk &&
             PcdFindRow(bits, headerRow, planeCode, false, &state) == kPcdOk;
    }
    if (!seen) {
      // From the sector of the odd luma row after it, or from where the last
      // chroma row ended when that is further on and still before this row.
      std::uint64_t start = 0;
      found = EntryBit(pack, state, rows, headerRow | 1, start);
      if (found == kPcdOutOfMemory || found == kPcdRowPastData) return found;
      if (state.chromaCursorRow >= 0 && Before(state.chromaCursorRow, state.chromaCursorPlane, headerRow, planeCode))
        start = std::max(start, state.chromaCursorEnd);
      // A search that met the end of the data saw no later chroma row after its start.
      const ChromaSearch& ended = state.chromaSearchEnded;
      if (ended.row >= 0 && Before(ended.row, ended.plane, headerRow, planeCode) && start >= ended.start)
        return kPcdRowPastData;
      status = bits.Seek(start);
      if (status == kPcdOk) status = PcdFindRow(bits, headerRow, planeCode, false, &state);
      if (status == kPcdEndOfFile) state.chromaSearchEnded = {headerRow, planeCode, start};
    }
  }
  if (status != kPcdOk) return SearchDamage(status);
  status = DecodeFound(bits, *state.packTables[1 + plane], pcd::LevelWidth(pcd::kLevel4Base), stream, chromaRow, found,
                       chromaRow == pcd::LevelHeight(pcd::kLevel4Base) - 1, {planeCode, headerRow + 2});
  if (status != kPcdOk && !PcdIsDamage(status)) return status;
  state.chromaCursorRow = headerRow;
  state.chromaCursorPlane = planeCode;
  state.chromaCursorEnd = stream.end;
  return status;
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
