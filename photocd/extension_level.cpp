// Image pack extension levels: INFO.IC of a level folder, its components and
// the residual rows in its tiled data files.
#include <algorithm>
#include <cctype>
#include <new>

#include "code_table_cache.h"
#include "decode_internal.h"
#include "extension_files.h"
#include "pcd_bytes.h"
#include "pcd_extension_layout.h"
#include "pcd_layout.h"
#include "pcd_path.h"

namespace {

constexpr std::uint32_t kMaxInfoIcSize = 1u << 20;
constexpr const char* kLevelFolders[kPcdExtensionLevels] = {"",       "BASE16", "BASE4",  "BASE",    "4BASE",
                                                            "16BASE", "64BASE", "256BASE", "1024BASE"};
constexpr int kPlaneCode[3] = {0, 2, 3};

// Names take the case of the extension folder's own name.
bool UpperCaseNames(const char* folder) {
  const char* name = folder;
  for (const char* p = folder; *p; ++p)
    if (PcdIsSeparator(*p)) name = p + 1;
  return *name >= 'A' && *name <= 'Z';
}

std::string Cased(const char* name, bool upper) {
  std::string out(name);
  if (!upper)
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::tolower(c); });
  return out;
}

PcdStatus ReadWholeFile(const std::string& path, std::vector<std::uint8_t>& bytes) {
  PcdFile* file = nullptr;
  PcdStatus status = PcdOpenExtensionFile(path.c_str(), file);
  if (status != kPcdOk) return status;
  try {
    bytes.resize(kMaxInfoIcSize);
  } catch (const std::bad_alloc&) {
    PcdCloseExtensionFile(file);
    return kPcdOutOfMemory;
  }
  std::uint32_t got = 0;
  status = PcdFileRead(file, bytes.data(), kMaxInfoIcSize, got);
  bytes.resize(got);
  PcdCloseExtensionFile(file);
  return status;
}

bool Inside(const std::vector<std::uint8_t>& bytes, std::uint64_t offset, std::uint64_t size) {
  return offset <= bytes.size() && size <= bytes.size() - offset;
}

std::uint32_t Be32(const std::vector<std::uint8_t>& b, std::size_t at) { return PcdBigEndian32(b.data() + at); }

// Every count, size and position is checked against the file and the level
// before anything is built from it.
PcdStatus ParseInfoIc(ExtensionLevel& level, int levelNumber) {
  const std::vector<std::uint8_t>& b = level.info;
  if (!Inside(b, 0, pcd::kIcComponentListPos)) return kPcdExtensionMismatch;
  // Only a file with the signature and a version below 785 is refused
  // outright; any other file is judged by whether its records fit.
  if (std::equal(b.begin(), b.begin() + pcd::kIcSignatureSize, pcd::kIcSignature) &&
      PcdBigEndian16(b.data() + pcd::kIcVersionOffset) < pcd::kIcMinVersion)
    return kPcdBadSignature;

  const int count = b[pcd::kIcComponentCountOffset];
  const std::uint32_t list = Be32(b, pcd::kIcComponentListOffset);
  const std::uint32_t names = Be32(b, pcd::kIcNameTableOffset);
  const int nameCount = PcdBigEndian16(b.data() + pcd::kIcNameCountOffset);
  if (!Inside(b, list, std::uint64_t{pcd::kIcComponentSize} * count) ||
      !Inside(b, names, std::uint64_t{pcd::kIcNameEntrySize} * nameCount))
    return kPcdExtensionMismatch;

  const int width = pcd::LevelWidth(levelNumber), height = pcd::LevelHeight(levelNumber);
  for (int i = 0; i < count; ++i) {
    const std::size_t at = list + std::size_t{pcd::kIcComponentSize} * i;
    ExtensionComponent c;
    c.plane = b[at + pcd::kIcCompPlane];
    c.type = b[at + pcd::kIcCompType];
    c.coding = b[at + pcd::kIcCompCoding];
    if (c.plane > 2 || (c.type != 2 && c.type != 3)) return kPcdExtensionMismatch;
    const std::uint32_t w = Be32(b, at + pcd::kIcCompWidth), h = Be32(b, at + pcd::kIcCompHeight);
    const std::uint32_t tileRows = Be32(b, at + pcd::kIcCompTileRows), tiles = Be32(b, at + pcd::kIcCompTileCount);
    c.codeTable = Be32(b, at + pcd::kIcCompCodeTable);
    c.tileIndex = Be32(b, at + pcd::kIcCompTileIndex);
    const std::uint32_t wantW = c.plane ? width / 2 : width, wantH = c.plane ? height / 2 : height;
    if (w != wantW || h != wantH || tileRows == 0 || tileRows > h || tiles != (h + tileRows - 1) / tileRows ||
        !Inside(b, c.codeTable, 1) || !Inside(b, c.tileIndex, std::uint64_t{pcd::kIcTileEntrySize} * tiles))
      return kPcdExtensionMismatch;
    c.width = static_cast<int>(w);
    c.height = static_cast<int>(h);
    c.tileRows = static_cast<int>(tileRows);
    c.tileCount = static_cast<int>(tiles);
    level.components.push_back(std::move(c));
  }
  for (int n = 0; n < nameCount; ++n) {
    const char* name = reinterpret_cast<const char*>(b.data() + names + std::size_t{pcd::kIcNameEntrySize} * n);
    std::string text(name, std::find(name, name + pcd::kIcNameLength, '\0'));
    for (char& ch : text) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    level.names.push_back(text);
  }
  level.files.resize(level.names.size());
  return kPcdOk;
}

PcdStatus DataFile(ExtensionLevel& level, int number, ExtensionDataFile*& data) {
  if (number < 0 || number >= static_cast<int>(level.files.size()) || level.names[number].empty() ||
      level.names[number].find_first_of("\\/:") != std::string::npos)
    return kPcdExtensionMismatch;
  data = &level.files[number];
  if (data->file) return kPcdOk;
  PcdPathBuilder path;
  path.Add(level.folder.c_str()).Add("\\").Add(level.names[number].c_str());
  if (!path.ok()) return kPcdOpenFailed;
  PcdStatus status = PcdOpenExtensionFile(path.text, data->file);
  if (status != kPcdOk) return status;
  status = PcdSectorReaderInit(data->reader, data->file);
  if (status != kPcdOk) {
    PcdCloseExtensionFile(data->file);
    data->file = nullptr;
  }
  return status;
}

// Every data file the tile indexes name must open and hold its furthest
// tile, so that a level that opens can be decoded to its last row.
PcdStatus CheckDataFiles(ExtensionLevel& level) {
  std::vector<std::int64_t> furthest(level.files.size(), -1);
  for (const ExtensionComponent& c : level.components) {
    if (c.type != pcd::kIcTypeResidual) continue;
    for (int t = 0; t < c.tileCount; ++t) {
      const std::uint8_t* entry = level.info.data() + c.tileIndex + std::size_t{pcd::kIcTileEntrySize} * t;
      const std::size_t number = PcdBigEndian16(entry);
      if (number >= furthest.size()) return kPcdExtensionMismatch;
      furthest[number] = std::max<std::int64_t>(furthest[number], PcdBigEndian32(entry + 2));
    }
  }
  for (std::size_t n = 0; n < furthest.size(); ++n) {
    if (furthest[n] < 0) continue;
    ExtensionDataFile* data = nullptr;
    PcdStatus status = DataFile(level, static_cast<int>(n), data);
    const auto position = static_cast<std::uint32_t>(furthest[n]);
    std::uint8_t byte = 0;
    if (status == kPcdOk) status = PcdSectorSeek(data->reader, position / pcd::kSectorSize);
    if (status == kPcdOk) status = PcdSectorSkip(data->reader, position % pcd::kSectorSize);
    if (status == kPcdOk) status = PcdSectorRead(data->reader, &byte, 1);
    if (status == kPcdEndOfFile) return kPcdExtensionMismatch;
    if (status != kPcdOk) return status;
  }
  return kPcdOk;
}

ExtensionComponent* FindComponent(ExtensionLevel& level, int plane) {
  for (ExtensionComponent& c : level.components)
    if (c.plane == plane && c.type == pcd::kIcTypeResidual) return &c;
  return nullptr;
}

// Every row of every plane of the level, for the index of one data file.
RowSyncLayout LevelLayout(const ExtensionLevel& level) {
  RowSyncLayout layout;
  for (const ExtensionComponent& c : level.components)
    if (c.plane >= 0 && c.plane < 3) layout.rows[c.plane] = std::max(layout.rows[c.plane], c.height);
  return layout;
}

// Puts bits after the row's header: right after the row before it in the
// same tile (past fill bits), else searched from the start of its tile past
// the tile's earlier rows; once that fails in a file, through the index of
// every sync of the file, read in one pass and used from then on. 3000 when
// no header fits.
PcdStatus LocateExtensionRow(const ExtensionLevel& level, const ExtensionComponent& c, ExtensionDataFile& data,
                             BitReader& bits, int plane, int row, int fileNumber, std::uint32_t tileStart) {
  const ResidualStream& stream = c.stream;
  if (!data.index.built()) {
    RowHeader h{};
    const bool follows = stream.row >= 0 && stream.row + 1 == row && stream.file == fileNumber && row % c.tileRows &&
                         stream.damage == kPcdOk;
    if (follows && bits.Seek(stream.end) == kPcdOk && bits.NextHeader(h, stream.end + kPcdMaxFillBits) == kPcdOk &&
        h.row == row && h.plane == kPlaneCode[plane])
      return kPcdOk;
    // At most the tile's rows before this one, each at most 16 bits a code.
    const std::uint64_t from = std::uint64_t{tileStart} * 8;
    const int passed = row % c.tileRows + 2;
    const std::uint64_t bound = from + std::uint64_t(passed) * static_cast<std::uint64_t>(c.width) * 16;
    if (bits.Seek(from) == kPcdOk && PcdFindRow(bits, row, kPlaneCode[plane], false, passed, bound) == kPcdOk)
      return kPcdOk;
    const PcdStatus status = data.index.Build(bits, 0, BitReader::kNoLimit, LevelLayout(level));
    if (status != kPcdOk) return status;
  }
  const std::uint64_t at = data.index.Find(plane, row);
  return at ? bits.Seek(at) : PcdStatus{kPcdBadSignature};
}

}  // namespace

void PcdCloseExtensionLevel(ExtensionLevel& level) {
  for (ExtensionComponent& c : level.components) PcdReleaseCodeTable(c.table);
  for (ExtensionDataFile& data : level.files) {
    PcdSectorReaderFree(data.reader);
    PcdCloseExtensionFile(data.file);
  }
  level = ExtensionLevel{};
}

PcdStatus PcdOpenExtensionLevel(ImagePack& pack, int levelNumber, ExtensionLevel*& opened) {
  opened = nullptr;
  if (!pack.extension || levelNumber < 1 || levelNumber >= kPcdExtensionLevels) return kPcdInvalidArgument;
  DecodeState* state = nullptr;
  PcdStatus status = PcdGetDecodeState(pack, state);
  if (status != kPcdOk) return status;
  ExtensionLevel& level = state->extension[levelNumber];
  if (!level.opened) {
    PcdCloseExtensionLevel(level);
    const bool upper = UpperCaseNames(pack.extension->folder);
    level.folder = std::string(pack.extension->folder) + "\\" + Cased(kLevelFolders[levelNumber], upper);
    status = ReadWholeFile(level.folder + "\\" + Cased("INFO.IC", upper), level.info);
    if (status == kPcdOk) status = ParseInfoIc(level, levelNumber);
    if (status == kPcdOk) status = CheckDataFiles(level);
    if (status != kPcdOk) {
      PcdCloseExtensionLevel(level);
      return status;
    }
    level.opened = true;
    for (const ExtensionComponent& c : level.components) {
      if (c.type == 3) pack.extension->levelsWithType3 |= static_cast<std::uint8_t>(1u << levelNumber);
      if (c.type == 2) pack.extension->levelsWithType2 |= static_cast<std::uint8_t>(1u << levelNumber);
    }
  }
  opened = &level;
  return kPcdOk;
}

PcdStatus PcdExtensionResidualRow(ImagePack& pack, int levelNumber, int plane, int row, const std::int8_t*& values) {
  values = nullptr;
  ExtensionLevel* level = nullptr;
  PcdStatus status = PcdOpenExtensionLevel(pack, levelNumber, level);
  if (status != kPcdOk) return status;
  ExtensionComponent* c = FindComponent(*level, plane);
  if (!c || row < 0 || row >= c->height) return kPcdExtensionMismatch;
  if (c->coding != pcd::kIcCodingHuffman) return kPcdInvalidArgument;
  ResidualStream& stream = c->stream;
  if (stream.row == row) {
    values = stream.values.data();
    return stream.damage;
  }
  if (!c->table) {
    const std::vector<std::uint8_t>& b = level->info;
    const std::size_t available = std::min(b.size() - c->codeTable, kPcdMaxStoredTableSize);
    status = PcdAcquireCodeTable(b.data() + c->codeTable, available, c->table);
    if (status != kPcdOk) return status == kPcdBadSignature ? PcdStatus{kPcdExtensionMismatch} : status;
  }
  const std::uint8_t* entry = level->info.data() + c->tileIndex + std::size_t{pcd::kIcTileEntrySize} * (row / c->tileRows);
  const int fileNumber = PcdBigEndian16(entry);
  ExtensionDataFile* data = nullptr;
  status = DataFile(*level, fileNumber, data);
  if (status != kPcdOk) return status;

  BitReader bits(data->reader);
  status = LocateExtensionRow(*level, *c, *data, bits, plane, row, fileNumber, PcdBigEndian32(entry + 2));
  if (status == kPcdOk) status = PcdDecodeRow(bits, *c->table, c->width, stream, row);
  if (status != kPcdOk && status != kPcdRowBadCode) return status;
  stream.file = fileNumber;
  values = stream.values.data();
  return status;
}
