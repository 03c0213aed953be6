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

namespace {

constexpr int kPlaneCode[3] = {0, 2, 3};  // plane numbers in row headers

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

// The image sector a row table entry names: entries count disc sectors from a
// base, so the base goes to disc sectors and the sum back to image sectors.
std::uint32_t EntrySector(const ImagePack& pack, std::uint32_t discBase, std::uint16_t entry) {
  return PcdDiscToImageSector(discBase + entry, pack.interleaveImage, pack.interleaveAudio);
}

// Reads the count-th code table (0, 1, 2) stored one after another from a
// sector, each skipped by its stored length.
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
  return PcdAcquireCodeTable(stored, sizeof stored, table);
}

bool Before(int rowA, int planeA, int rowB, int planeB) { return rowA < rowB || (rowA == rowB && planeA < planeB); }

}  // namespace

PcdStatus PcdFindRow(BitReader& bits, int row, int planeCode, bool anyPlane, DecodeState* learn) {
  for (int headers = 0; headers < pcd::kMaxSyncHeaders; ++headers) {
    RowHeader header{};
    PcdStatus status = bits.NextHeader(header);
    if (status != kPcdOk) return status == kPcdEndOfFile ? PcdStatus{kPcdBadSignature} : status;
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
  if (status != kPcdOk) return status;
  stream.row = row;
  stream.end = bits.Position();
  return kPcdOk;
}

namespace {

PcdStatus Row4Base(ImagePack& pack, DecodeState& state, int row) {
  ResidualStream& stream = state.pack4Base;
  PcdStatus status = ReadCodeTable(pack, pcd::k4BaseCodeTableOffset / pcd::kSectorSize, 0, state.packTables[0]);
  if (status != kPcdOk) return status;
  BitReader bits(pack.reader);
  if (stream.row >= 0 && stream.row + 1 == row) {
    status = bits.Seek(stream.end);
  } else {
    status = ReadRowTable(pack, pcd::k4BaseRowTableSector, pcd::k4BaseRowTableEntries, pack.rowTable4Base);
    if (status != kPcdOk) return status;
    const std::uint32_t base = PcdImageToDiscSector(pcd::k4BaseRowBaseSector, pack.interleaveImage, pack.interleaveAudio);
    status = bits.SeekSector(EntrySector(pack, base, pack.rowTable4Base[row / pcd::k4BaseRowsPerEntry]));
  }
  if (status == kPcdOk) status = PcdFindRow(bits, row, 0, true, nullptr);
  if (status != kPcdOk) return status;
  return PcdDecodeRow(bits, *state.packTables[0], pcd::LevelWidth(pcd::kLevel4Base), stream, row);
}

PcdStatus Row16BaseLuma(ImagePack& pack, DecodeState& state, int row) {
  ResidualStream& stream = state.pack16Base[0];
  const std::uint32_t tableSector = pack.tableSector16Base + pcd::k16BaseCodeTableSectorDelta;
  PcdStatus status = ReadCodeTable(pack, tableSector, 0, state.packTables[1]);
  if (status != kPcdOk) return status;
  BitReader bits(pack.reader);
  if (stream.row >= 0 && stream.row + 1 == row) {
    status = bits.Seek(stream.end);
  } else {
    status = ReadRowTable(pack, pack.tableSector16Base + pcd::k16BaseRowTableSectorDelta,
                          pcd::k16BaseRowTableEntries, pack.rowTable16Base);
    if (status != kPcdOk) return status;
    // Rows are located in pairs: odd entries may point at the chroma rows.
    status = bits.SeekSector(EntrySector(pack, pack.entryOffset16Base, pack.rowTable16Base[row & ~1]));
  }
  if (status == kPcdOk) status = PcdFindRow(bits, row, 0, false, nullptr);
  if (status != kPcdOk) return status;
  return PcdDecodeRow(bits, *state.packTables[1], pcd::LevelWidth(pcd::kLevel16Base), stream, row);
}

// Chroma row `chromaRow` (0..1023) of plane 1 or 2; its header carries the
// number of the 16BASE luma row it goes with, 2 * chromaRow.
PcdStatus Row16BaseChroma(ImagePack& pack, DecodeState& state, int plane, int chromaRow) {
  ResidualStream& stream = state.pack16Base[plane];
  const std::uint32_t tableSector = pack.tableSector16Base + pcd::k16BaseCodeTableSectorDelta;
  PcdStatus status = ReadCodeTable(pack, tableSector, plane, state.packTables[1 + plane]);
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
  if (starts[chromaRow]) {
    status = bits.Seek(starts[chromaRow]);
  } else {
    status = ReadRowTable(pack, pack.tableSector16Base + pcd::k16BaseRowTableSectorDelta,
                          pcd::k16BaseRowTableEntries, pack.rowTable16Base);
    if (status != kPcdOk) return status;
    const auto entryBit = [&](int entry) {
      return std::uint64_t{EntrySector(pack, pack.entryOffset16Base, pack.rowTable16Base[entry])} * pcd::kSectorSize * 8;
    };
    // Packs mostly store every chroma row after the last luma row: look there
    // first, once, rather than search through all the luma rows.
    bool found = false;
    if (state.chromaCursorRow < 0 && !state.chromaAfterLumaTried) {
      state.chromaAfterLumaTried = true;
      found = bits.Seek(entryBit(pcd::k16BaseRowTableEntries - 1)) == kPcdOk &&
              PcdFindRow(bits, headerRow, planeCode, false, &state) == kPcdOk;
    }
    if (!found) {
      // From the sector of the odd luma row after it, or from where the last
      // chroma row ended when that is further on and still before this row.
      std::uint64_t start = entryBit(headerRow | 1);
      if (state.chromaCursorRow >= 0 && Before(state.chromaCursorRow, state.chromaCursorPlane, headerRow, planeCode))
        start = std::max(start, state.chromaCursorEnd);
      status = bits.Seek(start);
      if (status == kPcdOk) status = PcdFindRow(bits, headerRow, planeCode, false, &state);
    }
  }
  if (status != kPcdOk) return status;
  status = PcdDecodeRow(bits, *state.packTables[1 + plane], pcd::LevelWidth(pcd::kLevel4Base), stream, chromaRow);
  if (status != kPcdOk) return status;
  state.chromaCursorRow = headerRow;
  state.chromaCursorPlane = planeCode;
  state.chromaCursorEnd = stream.end;
  return kPcdOk;
}

}  // namespace

void PcdFreeRowTables(ImagePack& pack) {
  std::free(pack.rowTable4Base);
  std::free(pack.rowTable16Base);
  pack.rowTable4Base = nullptr;
  pack.rowTable16Base = nullptr;
}

PcdStatus PcdResidualRow(ImagePack& pack, int level, int plane, int row, const std::int8_t*& values) {
  values = nullptr;
  const std::uint8_t flags = pack.extension ? pack.extension->levelFlags : 0;
  if (flags & pcd::ExtensionLevelFlag(level))
    return PcdExtensionResidualRow(pack, level, plane, row, values);
  DecodeState* state = nullptr;
  PcdStatus status = PcdGetDecodeState(pack, state);
  if (status != kPcdOk) return status;
  ResidualStream* stream = nullptr;
  if (level == pcd::kLevel4Base && plane == 0) {
    stream = &state->pack4Base;
    if (stream->row != row) status = Row4Base(pack, *state, row);
  } else if (level == pcd::kLevel16Base && pack.tableSector16Base != 0) {
    stream = &state->pack16Base[plane];
    if (stream->row != row)
      status = plane == 0 ? Row16BaseLuma(pack, *state, row) : Row16BaseChroma(pack, *state, plane, row);
  } else {
    return kPcdInvalidArgument;
  }
  if (status != kPcdOk) return status;
  values = stream->values.data();
  return kPcdOk;
}
