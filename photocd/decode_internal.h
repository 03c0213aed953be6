// What the decoder of one image pack keeps between PcdReadRect calls, and
// the steps that PcdReadRect is made of.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base_rows.h"
#include "bit_reader.h"
#include "damage_report.h"
#include "image_pack.h"
#include "residual_prefetch.h"
#include "row_sync_index.h"
#include "pcd_layout.h"
#include "row_writer.h"

// One plane of one level's residual rows: the last row decoded (bands share
// their edge rows) and where its codes ended, so the next row is found by
// reading on instead of through the row table.
struct ResidualStream {
  int row = -1;
  std::vector<std::int8_t> values;
  std::uint64_t end = 0;  // file bit offset after the row's last code
  int file = -1;          // extension data file the row was read from
  PcdStatus damage = kPcdOk;  // why the row's codes were damaged (row_recovery.h)
};

struct ExtensionComponent {
  int plane = 0;  // 0 luma, 1 chroma 1, 2 chroma 2
  int type = 0;   // 2 residuals on the enlarged level below, 3 another kind
  int coding = 0; // 1 Huffman
  int width = 0;
  int height = 0;
  int tileRows = 0;
  int tileCount = 0;
  std::uint32_t codeTable = 0;  // positions in INFO.IC
  std::uint32_t tileIndex = 0;
  const HuffmanTable* table = nullptr;  // shared, taken on first use
  ResidualStream stream;
};

struct ExtensionDataFile {
  PcdFile* file = nullptr;  // opened on first use, through the extension file table
  SectorReader reader{};
  RowSyncIndex index;  // every row of the file by its sync, once one is not where its tile says
};

struct ExtensionLevel {
  bool opened = false;
  std::string folder;               // the level folder
  std::vector<std::uint8_t> info;   // INFO.IC as read
  std::vector<ExtensionComponent> components;
  std::vector<std::string> names;   // data file names by file number
  std::vector<ExtensionDataFile> files;
};

constexpr int kPcdExtensionLevels = 9;  // folders for levels 1 to 8

// Row buffers of the decode above BASE (high_levels.cpp).
struct DecodeBuffers;
void PcdFreeDecodeBuffers(DecodeBuffers* buffers);

// Rows [top, bottom) of a level, whose residual rows the second thread has
// decoded and handed over.
struct PrefetchedRows {
  int level = -1;
  bool withChroma = false;
  int top = 0, bottom = 0;
};

// The sectors of a base level that were filled, and why some were lost.
struct LevelSectors {
  std::vector<std::uint32_t> sectors;  // every lost sector, by number within the level
  int unreadable = 0;                  // of them, did not read
  int pastEnd = 0;                     // of them, lie past the end of the file
};

struct DecodeState {
  // Code tables of the pack: 4BASE luma, 16BASE luma, chroma 1, chroma 2.
  const HuffmanTable* packTables[4] = {};
  ResidualStream pack4Base;
  ResidualStream pack16Base[3];
  // Every row of 4BASE and 16BASE by its sync, once a row is not where it
  // should be.
  RowSyncIndex syncIndex[2];
  ExtensionLevel extension[kPcdExtensionLevels];
  // Decoding threads for levels above BASE (PcdSetDecodeThreads); with two,
  // the second thread's handle, the rows it has handed over, and where the
  // last rectangle lay, to tell which way the reader walks.
  int threads = 1;
  DecodeBuffers* buffers = nullptr;
  std::unique_ptr<ResidualPrefetcher> prefetcher;
  PrefetchedRows prefetched;  // what the rows taken from the second thread cover
  OutputRect lastStored{};
  int lastLevel = -1;
  // Damage met so far, and which rows of each level (by plane) it names.
  PcdDamageReport damage;
  std::vector<std::uint8_t> damagedRows[pcd::kMaxLevel + 1];
  // Going around damage: a lost row as filled from its neighbours (row_fill.h)
  // and those neighbours, the pack's tables known to be unusable (4BASE,
  // 16BASE for row tables; as packTables for code tables), the pack's size in
  // sectors (0 until read).
  std::vector<std::int8_t> filledRow, rowAbove, rowBelow;
  bool rowTableUnusable[2] = {};
  bool codeTableUnusable[4] = {};
  std::uint32_t fileSectors = 0;
  // Whole base levels (BASE/16, BASE/4, BASE) as stored, their lost
  // sectors filled from the level below; read on first use.
  std::vector<std::uint8_t> baseLevels[pcd::kLevelBase + 1];
  LevelSectors baseLost[pcd::kLevelBase + 1];
};

// Notes damage a residual row met: a row left out, a level unreadable or a
// row table replaced, by the status PcdResidualRow gave.
void PcdRecordRowDamage(DecodeState& state, int level, int plane, int row, PcdStatus cause);

// Frees the decoder's state of a pack; called when the pack closes.
void PcdFreeDecodeState(ImagePack& pack);
// The state, made on first use. 3016.
PcdStatus PcdGetDecodeState(ImagePack& pack, DecodeState*& state);

// 0 when the pack can decode the level; 3001 when a level above its own is
// missing from the extension, 3012 when the extension holds it in a form
// this decoder does not read, and the statuses of opening extension levels.
PcdStatus PcdCheckLevelAvailable(ImagePack& pack, int level);

// The rectangle in stored coordinates through the writer, for levels 0-3 and 4-6.
PcdStatus PcdDecodeBaseLevel(ImagePack& pack, const OutputRect& stored, RowWriter& writer);
PcdStatus PcdDecodeHighLevel(ImagePack& pack, const OutputRect& stored, RowWriter& writer);

// Residual row `row` of a plane (0 luma, 1 chroma 1, 2 chroma 2) of level 4, 5
// or 6, all its samples; from the pack or from the extension. A damaged row
// still gives values (the codes most likely right, or for a row that could
// not be decoded, a fill from the rows around it) with a damage status
// (PcdIsDamage) saying why; kPcdRowTableUnreadable comes with a whole row
// found by its sync.
PcdStatus PcdResidualRow(ImagePack& pack, int level, int plane, int row, const std::int8_t*& values);
// The same without the fill: values null for a row that could not be decoded.
PcdStatus PcdStoredResidualRow(ImagePack& pack, DecodeState& state, int level, int plane, int row,
                               const std::int8_t*& values);

// Reads row headers until the wanted row, with the wanted plane code (0, 2, 3)
// unless any plane will do. Smaller rows and other planes of the wanted row
// are passed; a larger row fails with 3000 unless it is a luma row passed on
// the way to a chroma row; so does a search that passes maxHeaders headers or
// whose sync would end at or after bit `before`. 5 at the end of the file.
PcdStatus PcdFindRow(BitReader& bits, int row, int planeCode, bool anyPlane, int maxHeaders, std::uint64_t before);
// Decodes one row of width codes into the stream's values. A row whose codes
// ran into the next row's sync is left out (kPcdRowOverrun).
PcdStatus PcdDecodeRow(BitReader& bits, const HuffmanTable& table, int width, ResidualStream& stream, int row);
// Whether codes from codesStart to codesEnd (where bits stand) ran into a
// sync: fill bits may end a row early, but its codes never reach the next
// row's sync. Leaves bits at codesEnd.
bool PcdRanIntoSync(BitReader& bits, std::uint64_t codesStart, std::uint64_t codesEnd);

// Extension levels: reading INFO.IC of a level, and a residual row from its files.
// Opening reads INFO.IC and checks that every data file it names opens and
// holds its furthest tile (3015 otherwise).
PcdStatus PcdOpenExtensionLevel(ImagePack& pack, int level, ExtensionLevel*& opened);
// Releases a level's code tables and files and empties it.
void PcdCloseExtensionLevel(ExtensionLevel& level);
PcdStatus PcdExtensionResidualRow(ImagePack& pack, int level, int plane, int row, const std::int8_t*& values);
// Row tables are read when needed and freed at the end of each decode.
void PcdFreeRowTables(ImagePack& pack);
