// Writes the seed inputs of fuzz_residual_rows and fuzz_reader_levels: the
// attribute block and the residual sections of a pack with the first rows of
// each level (enough for the first bands), laid out as pcdmake lays out a
// whole pack; and small disc images for fuzz_disc_image.
// Run by hand: fuzz_seed_writer CORPUS_FOLDER.
#include <algorithm>
#include <filesystem>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "disc_image_writer.h"
#include "huffman.h"
#include "pcd_layout.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr std::uint32_t kFirstSector = pcd::k4BaseRowTableSector;  // the tail starts here
constexpr int kRows4 = 72, kRows16 = 72;

struct SeedShape {
  bool longCodes = false;
  bool oddEntriesToChroma = false;  // as real discs: odd 16BASE entries lead to the chroma rows
  int rotation = 0;
};

void PutBe16(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v >> 8);
  b[at + 1] = static_cast<std::uint8_t>(v);
}

std::vector<std::int8_t> Residuals(std::size_t count, std::mt19937& rng) {
  std::normal_distribution<> spread(0, 3);
  std::vector<std::int8_t> r(count);
  for (auto& v : r) v = rng() % 3 ? 0 : static_cast<std::int8_t>(std::lround(spread(rng)));
  return r;
}

// Sector (from the file start) of a bit position in a section starting at a sector.
std::uint32_t SectorOf(std::uint32_t section, std::uint64_t bit) { return section + static_cast<std::uint32_t>(bit / 8 / pcd::kSectorSize); }

void Append(Bytes& tail, const pcdmake::BitWriter& w) {
  tail.insert(tail.end(), w.Bytes().begin(), w.Bytes().end());
  tail.resize((tail.size() + pcd::kSectorSize - 1) / pcd::kSectorSize * pcd::kSectorSize);
}

// The tail from sector 387 on, and the attribute block that points into it.
Bytes Seed(const SeedShape& shape) {
  std::mt19937 rng(7);
  const auto table4 = pcdmake::BuildHuffmanTable(pcdmake::CountResiduals(Residuals(1 << 16, rng)), shape.longCodes);
  Bytes tail(2 * pcd::kSectorSize, 0);  // row table, code tables
  pcdmake::BitWriter rows4;
  std::vector<std::uint64_t> starts4;
  for (int row = 0; row < kRows4; ++row) {
    if (row % 4 == 0) starts4.push_back(rows4.BitPosition());
    const auto r = Residuals(1536, rng);
    rows4.PutRow(table4, 0, row, r.data(), 1536);
  }
  const std::uint64_t end4 = rows4.BitPosition();
  rows4.PutRow(table4, 0, 1024, nullptr, 0);
  rows4.PadToByte();
  const pcdmake::HuffmanTable zero = pcdmake::BuildHuffmanTable({{1}});
  Bytes tables = table4.stored;
  tables.insert(tables.end(), zero.stored.begin(), zero.stored.end());
  tables.insert(tables.end(), zero.stored.begin(), zero.stored.end());
  std::copy(tables.begin(), tables.end(), tail.begin() + pcd::kSectorSize);
  const std::uint32_t first4 = pcd::k4BaseFirstRowSector;
  for (int k = 0; k < 256; ++k)
    PutBe16(tail, 2 * k, SectorOf(first4, k < static_cast<int>(starts4.size()) ? starts4[k] : end4) - pcd::k4BaseRowBaseSector);
  Append(tail, rows4);

  const std::uint32_t t = kFirstSector + static_cast<std::uint32_t>(tail.size() / pcd::kSectorSize);
  tail.resize(tail.size() + pcd::k16BaseFirstRowSectorDelta * pcd::kSectorSize, 0);
  const auto table16 = pcdmake::BuildHuffmanTable(pcdmake::CountResiduals(Residuals(1 << 16, rng)), shape.longCodes);
  tables = table16.stored;
  for (int plane = 0; plane < 2; ++plane) tables.insert(tables.end(), table16.stored.begin(), table16.stored.end());
  std::copy(tables.begin(), tables.end(), tail.begin() + (t + pcd::k16BaseCodeTableSectorDelta - kFirstSector) * pcd::kSectorSize);
  pcdmake::BitWriter rows;
  std::vector<std::uint64_t> starts;
  for (int row = 0; row < kRows16; ++row) {
    starts.push_back(rows.BitPosition());
    const auto r = Residuals(3072, rng);
    rows.PutRow(table16, 0, row, r.data(), 3072);
  }
  const std::uint64_t end16 = rows.BitPosition();
  rows.PutRow(table16, 0, 2048, nullptr, 0);
  const std::uint64_t chroma = rows.BitPosition();
  for (int c = 0; c < kRows16 / 2; ++c)
    for (int plane : {2, 3}) {
      const auto r = Residuals(1536, rng);
      rows.PutRow(table16, plane, 2 * c, r.data(), 1536);
    }
  rows.PadToByte();
  const std::uint32_t first16 = t + pcd::k16BaseFirstRowSectorDelta;
  const std::size_t rowTable = (t + pcd::k16BaseRowTableSectorDelta - kFirstSector) * pcd::kSectorSize;
  for (int row = 0; row < 2048; ++row) {
    std::uint64_t bit = row < kRows16 ? starts[row] : end16;
    if (shape.oddEntriesToChroma && (row & 1)) bit = chroma;
    PutBe16(tail, rowTable + 2 * row, SectorOf(first16, bit) - t);
  }
  Append(tail, rows);
  const std::uint32_t n = kFirstSector + static_cast<std::uint32_t>(tail.size() / pcd::kSectorSize);

  Bytes seed(pcd::kAttrBlockSize + tail.size(), 0);
  seed[pcd::kAttrRotationByte] = static_cast<std::uint8_t>(shape.rotation | 2 << pcd::kAttrClassShift);
  PutBe16(seed, pcd::kAttrKOffset, t);
  PutBe16(seed, pcd::kAttrNOffset, n);
  seed[pcd::kAttrInterleaveByte] = 0x01;
  std::copy(tail.begin(), tail.end(), seed.begin() + pcd::kAttrBlockSize);
  return seed;
}

void Write(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

// A small tree (INFO.PCD and one short pack) as an .iso and as a raw image
// with a Form 2 sector after every file sector, each in fuzz_disc_image's
// input form: a mode byte, then the image (raw: the cue sheet, a zero byte, the .bin).
void WriteImageSeeds(const std::string& corpus) {
  namespace fs = std::filesystem;
  const fs::path tree = fs::temp_directory_path() / "lumivexa-image-seed";
  fs::remove_all(tree);
  fs::create_directories(tree / "PHOTO_CD" / "IMAGES");
  fs::create_directories(corpus + "/fuzz_disc_image");
  Bytes info(pcd::kSectorSize, 0), pack(3 * pcd::kSectorSize);
  std::copy_n("PHOTO_CD", 8, info.begin());
  for (std::size_t i = 0; i < pack.size(); ++i) pack[i] = static_cast<std::uint8_t>(i * 13);
  Write((tree / "PHOTO_CD" / "INFO.PCD").string(), info);
  Write((tree / "PHOTO_CD" / "IMAGES" / "IMG0001.PCD").string(), pack);
  const auto read = [](const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  pcdmake::WriteDiscImage(tree, tree.string() + ".iso", {});
  Bytes iso{0};
  const Bytes isoBytes = read(tree.string() + ".iso");
  iso.insert(iso.end(), isoBytes.begin(), isoBytes.end());
  Write(corpus + "/fuzz_disc_image/iso", iso);
  pcdmake::WriteDiscImage(tree, tree.string() + ".bin", {true, 1, 1});
  Bytes raw{1};
  const std::string cue = "FILE \"disc.bin\" BINARY\n  TRACK 01 MODE2/2352\n    INDEX 01 00:00:00\n";
  raw.insert(raw.end(), cue.begin(), cue.end());
  raw.push_back(0);
  const Bytes bin = read(tree.string() + ".bin");
  raw.insert(raw.end(), bin.begin(), bin.end());
  Write(corpus + "/fuzz_disc_image/raw-form2", raw);
  for (const char* tail : {"", ".iso", ".bin", ".cue"}) fs::remove_all(tree.string() + tail);
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: fuzz_seed_writer CORPUS_FOLDER\n");
    return 2;
  }
  const std::string corpus = argv[1];
  const Bytes plain = Seed({}), realLayout = Seed({true, true, 0}), turned = Seed({false, false, 1});
  Write(corpus + "/fuzz_residual_rows/first-rows", plain);
  Write(corpus + "/fuzz_residual_rows/long-codes-odd-entries-to-chroma", realLayout);
  const struct {
    const char* name;
    std::uint8_t control;
    const Bytes& tail;
  } reader[] = {{"4base-bands", 0, plain}, {"16base-bands-long-codes", 1, realLayout}, {"16base-strips", 1, turned},
                {"4base-strips", 0, turned}};
  for (const auto& r : reader) {
    Bytes seed{r.control};
    seed.insert(seed.end(), r.tail.begin(), r.tail.end());
    Write(corpus + "/fuzz_reader_levels/" + r.name, seed);
  }
  WriteImageSeeds(corpus);
  return 0;
}
