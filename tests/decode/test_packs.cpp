#include "test_packs.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>

#include "image_attributes.h"
#include "pcd_layout.h"
#include "pcd_upsample.h"

namespace {

constexpr int kNonZero[15] = {-8, -7, -6, -5, -4, -3, -2, -1, 1, 2, 3, 4, 5, 6, 7};

void PutBe16(Bytes& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v >> 8);
  b[at + 1] = static_cast<std::uint8_t>(v);
}

Bytes RandomBytes(std::size_t n, std::mt19937& rng) {
  Bytes b(n);
  for (auto& v : b) v = static_cast<std::uint8_t>(rng());
  return b;
}

void AppendSectors(Bytes& file, const Bits& bits) {
  file.insert(file.end(), bits.bytes().begin(), bits.bytes().end());
  file.resize((file.size() + pcd::kSectorSize - 1) / pcd::kSectorSize * pcd::kSectorSize);
}

std::uint32_t Disc(std::uint32_t sector, const PackRecipe& s) {
  return PcdImageToDiscSector(sector, s.imageSectors, s.audioSectors);
}

Bytes AddClamped(const Bytes& plane, const Residuals& r) {
  Bytes out(plane.size());
  for (std::size_t i = 0; i < plane.size(); ++i) out[i] = static_cast<std::uint8_t>(std::clamp(plane[i] + r[i], 0, 255));
  return out;
}

Bytes Enlarge(const Bytes& plane, int w, int h, int factor) {
  Bytes out(plane.size() * factor * factor);
  if (factor == 2)
    PcdEnlarge2x(plane.data(), w, h, out.data());
  else
    PcdEnlarge4x(plane.data(), w, h, out.data());
  return out;
}

}  // namespace

void Bits::Put(std::uint32_t value, int count) {
  for (int i = count - 1; i >= 0; --i) {
    if (bits_ % 8 == 0) bytes_.push_back(0);
    if ((value >> i) & 1) bytes_.back() |= static_cast<std::uint8_t>(0x80 >> (bits_ % 8));
    ++bits_;
  }
}

void Bits::Sync(int ones) {
  for (int i = 0; i < ones; ++i) Put(1, 1);
  Put(0, 1);
}

void Bits::Residual(std::int8_t value) {
  if (value == 0) return Put(0, 1);
  const int index = static_cast<int>(std::find(kNonZero, kNonZero + 15, value) - kNonZero);
  Put(static_cast<std::uint32_t>(0x10 | index), 5);
}

void Bits::Pad() {
  while (bits_ % 8) Put(0, 1);
}

Bytes TestCodeTable() {
  Bytes t{15};  // 16 entries
  t.insert(t.end(), {0, 0x00, 0x00, 0});
  for (int i = 0; i < 15; ++i) {
    const std::uint32_t aligned = static_cast<std::uint32_t>(0x10 | i) << 11;
    t.insert(t.end(), {4, static_cast<std::uint8_t>(aligned >> 8), static_cast<std::uint8_t>(aligned),
                       static_cast<std::uint8_t>(kNonZero[i])});
  }
  return t;
}

Residuals RandomResiduals(std::size_t count, unsigned seed) {
  std::mt19937 rng(seed);
  Residuals r(count);
  for (auto& v : r) v = (rng() & 1) ? 0 : static_cast<std::int8_t>(kNonZero[rng() % 15]);
  return r;
}

BuiltPack BuildPack(const PackRecipe& recipe) {
  BuiltPack p;
  std::mt19937 rng(recipe.seed);
  p.baseY = RandomBytes(768 * 512, rng);
  p.baseC1 = RandomBytes(384 * 256, rng);
  p.baseC2 = RandomBytes(384 * 256, rng);
  Bytes& f = p.file;
  f.assign(pcd::kBaseOffset, 0);
  std::copy_n(pcd::kIpiSignature, 7, f.begin() + pcd::kIpiOffset);
  PutBe16(f, pcd::kIpiOffset + pcd::kIpiVersionOffset, 0x0100);
  // Lower levels get plain random data; their tests build their own packs.
  for (std::uint32_t at = pcd::kBase16Offset; at < pcd::kBaseOffset; ++at) f[at] = static_cast<std::uint8_t>(rng());
  for (int k = 0; k < 256; ++k) {
    f.insert(f.end(), p.baseY.begin() + 768 * 2 * k, p.baseY.begin() + 768 * (2 * k + 2));
    f.insert(f.end(), p.baseC1.begin() + 384 * k, p.baseC1.begin() + 384 * (k + 1));
    f.insert(f.end(), p.baseC2.begin() + 384 * k, p.baseC2.begin() + 384 * (k + 1));
  }
  f.resize(std::size_t{pcd::k4BaseRowTableSector + 2} * pcd::kSectorSize, 0);
  const Bytes table = TestCodeTable();
  for (int i = 0; i < 3; ++i) std::copy(table.begin(), table.end(), f.begin() + pcd::k4BaseCodeTableOffset + i * table.size());

  p.r4 = RandomResiduals(1536 * 1024, recipe.seed + 1);
  const std::uint32_t first4 = static_cast<std::uint32_t>(f.size() / pcd::kSectorSize);
  Bits rows4;
  std::vector<std::size_t> starts4;
  for (int row = 0; row < 1024; ++row) {
    if (row % 4 == 0) starts4.push_back(rows4.BitCount());
    if (recipe.fillEvery && row % recipe.fillEvery == recipe.fillEvery - 1) rows4.Put(0, 8);
    rows4.Sync();
    rows4.Header(0, row);
    for (int x = 0; x < 1536; ++x) rows4.Residual(p.r4[row * 1536 + x]);
  }
  rows4.Sync();
  rows4.Header(0, 1024);
  AppendSectors(f, rows4);
  const std::uint32_t base4 = Disc(pcd::k4BaseRowBaseSector, recipe);
  for (std::size_t k = 0; k < starts4.size(); ++k)
    PutBe16(f, pcd::k4BaseRowTableOffset + 2 * k, Disc(first4 + static_cast<std::uint32_t>(starts4[k] / 8 / 2048), recipe) - base4);
  p.rows4Sector = first4;

  std::uint32_t k = 0, n = 0;
  if (recipe.topLevel >= 5) {
    const std::uint32_t t = static_cast<std::uint32_t>(f.size() / pcd::kSectorSize);
    p.sector16 = t;
    f.resize(std::size_t{t + pcd::k16BaseCodeTableSectorDelta + 1} * pcd::kSectorSize, 0);
    for (int i = 0; i < 3; ++i)
      std::copy(table.begin(), table.end(), f.begin() + (t + pcd::k16BaseCodeTableSectorDelta) * pcd::kSectorSize + i * table.size());
    p.r16 = RandomResiduals(3072 * 2048, recipe.seed + 2);
    p.c16[0] = RandomResiduals(1536 * 1024, recipe.seed + 3);
    p.c16[1] = RandomResiduals(1536 * 1024, recipe.seed + 4);
    Bits rows;
    std::vector<std::size_t> starts;
    auto chroma = [&](int c) {
      for (int plane = 0; plane < 2; ++plane) {
        rows.Sync();
        rows.Header(plane + 2, 2 * c);
        for (int x = 0; x < 1536; ++x) rows.Residual(p.c16[plane][c * 1536 + x]);
      }
    };
    for (int row = 0; row < 2048; ++row) {
      starts.push_back(rows.BitCount());
      rows.Sync(23 + row % 3);  // longer runs are syncs too
      rows.Header(0, row);
      for (int x = 0; x < 3072; ++x) rows.Residual(p.r16[row * 3072 + x]);
      if (!recipe.chromaAfterLuma && (row & 1)) chroma(row / 2);
    }
    rows.Sync();
    rows.Header(0, 2048);
    if (recipe.chromaAfterLuma)
      for (int c = 0; c < 1024; ++c) chroma(c);
    const std::uint32_t first = static_cast<std::uint32_t>(f.size() / pcd::kSectorSize);
    AppendSectors(f, rows);
    for (std::size_t r = 0; r < starts.size(); ++r)
      PutBe16(f, (t + pcd::k16BaseRowTableSectorDelta) * pcd::kSectorSize + 2 * r,
              Disc(first + static_cast<std::uint32_t>(starts[r] / 8 / 2048), recipe) - Disc(t, recipe));
    k = Disc(t, recipe);
    n = Disc(static_cast<std::uint32_t>(f.size() / pcd::kSectorSize), recipe);
  }
  const std::size_t attr = pcd::kAttributeOffset;
  f[attr + pcd::kAttrRotationByte] = static_cast<std::uint8_t>(recipe.rotation | (recipe.topLevel - 3) << 2);
  PutBe16(f, attr + pcd::kAttrKOffset, k);
  PutBe16(f, attr + pcd::kAttrNOffset, n);
  f[attr + pcd::kAttrInterleaveByte] = static_cast<std::uint8_t>(recipe.imageSectors | recipe.audioSectors << 4);
  return p;
}

Ycc ReferenceImage(const BuiltPack& p, int level) {
  Ycc out;
  Bytes luma = AddClamped(Enlarge(p.baseY, 768, 512, 2), p.r4);
  if (level == 4) {
    out = {1536, 1024, luma, Enlarge(p.baseC1, 384, 256, 4), Enlarge(p.baseC2, 384, 256, 4)};
    return out;
  }
  luma = AddClamped(Enlarge(luma, 1536, 1024, 2), p.r16);
  Bytes c1 = AddClamped(Enlarge(p.baseC1, 384, 256, 4), p.c16[0]);
  Bytes c2 = AddClamped(Enlarge(p.baseC2, 384, 256, 4), p.c16[1]);
  out = {3072, 2048, luma, Enlarge(c1, 1536, 1024, 2), Enlarge(c2, 1536, 1024, 2)};
  return out;
}

Bytes OverviewBytes(int count, const Bytes& attributes, std::uint8_t major, std::uint8_t minor) {
  Bytes f(pcd::kOverviewThumbOffset + pcd::kOverviewThumbStride * std::size_t(std::max(count, 0)), 0);
  std::copy_n(pcd::kOverviewSignature, 7, f.begin());
  f[pcd::kOverviewVersionOffset] = major;
  f[pcd::kOverviewVersionOffset + 1] = minor;
  PutBe16(f, pcd::kOverviewCountOffset, static_cast<std::uint32_t>(count));
  std::copy(attributes.begin(), attributes.end(), f.begin() + pcd::kOverviewAttrBase + 1);
  std::mt19937 rng(7);
  for (std::size_t at = pcd::kOverviewThumbOffset; at < f.size(); ++at) f[at] = static_cast<std::uint8_t>(rng());
  return f;
}

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
