#include "pack_writer.h"

#include <array>
#include <stdexcept>

#include "image_attributes.h"
#include "pcd_layout.h"
#include "bytes.h"
#include "huffman.h"

namespace pcdmake {
namespace {

using pcd::kSectorSize;

constexpr int kPlaneLuma = 0, kPlaneChroma1 = 2, kPlaneChroma2 = 3;

// A valid table for planes that carry no residuals.
HuffmanTable ZeroTable() {
  std::array<std::uint64_t, 256> counts{};
  counts[0] = 1;
  return BuildHuffmanTable(counts);
}

std::uint32_t SectorCount(std::size_t bytes) { return static_cast<std::uint32_t>((bytes + kSectorSize - 1) / kSectorSize); }

void PadToSector(std::vector<std::uint8_t>& file) { file.resize(SectorCount(file.size()) * std::size_t{kSectorSize}); }

// Places the three code tables at offset; they must share one sector.
void PutTables(std::vector<std::uint8_t>& file, std::size_t at, const HuffmanTable& t1, const HuffmanTable& t2,
               const HuffmanTable& t3) {
  if (t1.stored.size() + t2.stored.size() + t3.stored.size() > pcd::kCodeTableMaxBytes)
    throw std::runtime_error("code tables do not fit one sector");
  PutBytes(file, at, t1.stored);
  PutBytes(file, at + t1.stored.size(), t2.stored);
  PutBytes(file, at + t1.stored.size() + t2.stored.size(), t3.stored);
}

// Appends the bit stream at the (sector-aligned) end of the file and turns the
// bit positions of row starts into row table entries relative to tableBase.
void AppendRows(std::vector<std::uint8_t>& file, BitWriter& w, const std::vector<std::uint64_t>& rowStarts,
                std::uint32_t tableBase, std::size_t tableOffset, const PackOptions& o) {
  const std::uint32_t firstSector = SectorCount(file.size());
  w.PadToByte();
  file.insert(file.end(), w.Bytes().begin(), w.Bytes().end());
  PadToSector(file);
  const std::uint32_t baseDisc = PcdImageToDiscSector(tableBase, o.imageSectors, o.audioSectors);
  for (std::size_t k = 0; k < rowStarts.size(); ++k) {
    const std::uint32_t sector = firstSector + static_cast<std::uint32_t>(rowStarts[k] / 8 / kSectorSize);
    const std::uint32_t entry = PcdImageToDiscSector(sector, o.imageSectors, o.audioSectors) - baseDisc;
    if (entry > 0xFFFF) throw std::runtime_error("row table entry does not fit 16 bits");
    PutBe16(file, tableOffset + 2 * k, entry);
  }
}

void Write4Base(std::vector<std::uint8_t>& file, const PhotoLevels& levels, const PackOptions& o) {
  file.resize(std::size_t{pcd::k4BaseFirstRowSector} * kSectorSize);
  const HuffmanTable luma = BuildHuffmanTable(CountResiduals(levels.luma4.values), o.longCodes);
  const HuffmanTable none = ZeroTable();
  PutTables(file, pcd::k4BaseCodeTableOffset, luma, none, none);

  const Residuals& r = levels.luma4;
  BitWriter w;
  std::vector<std::uint64_t> starts;  // one entry per four rows
  for (int row = 0; row < r.height; ++row) {
    if (row % 4 == 0) starts.push_back(w.BitPosition());
    w.PutRow(luma, kPlaneLuma, row, &r.values[static_cast<std::size_t>(row) * r.width], r.width);
  }
  w.PutRow(luma, kPlaneLuma, r.height, nullptr, 0);  // end marker
  AppendRows(file, w, starts, pcd::k4BaseRowBaseSector, pcd::k4BaseRowTableOffset, o);
}

// Returns the image sector T of the 16BASE section.
std::uint32_t Write16Base(std::vector<std::uint8_t>& file, const PhotoLevels& levels, const PackOptions& o) {
  const std::uint32_t t = SectorCount(file.size());
  file.resize((std::size_t{t} + pcd::k16BaseFirstRowSectorDelta) * kSectorSize);
  const HuffmanTable luma = BuildHuffmanTable(CountResiduals(levels.luma16.values), o.longCodes);
  const HuffmanTable c1 = BuildHuffmanTable(CountResiduals(levels.c1of16.values), o.longCodes);
  const HuffmanTable c2 = BuildHuffmanTable(CountResiduals(levels.c2of16.values), o.longCodes);
  PutTables(file, (std::size_t{t} + pcd::k16BaseCodeTableSectorDelta) * kSectorSize, luma, c1, c2);

  // All luma rows, the end marker, then chroma 1 and chroma 2 of each even row.
  const Residuals& y = levels.luma16;
  BitWriter w;
  std::vector<std::uint64_t> starts;
  for (int row = 0; row < y.height; ++row) {
    starts.push_back(w.BitPosition());
    w.PutRow(luma, kPlaneLuma, row, &y.values[static_cast<std::size_t>(row) * y.width], y.width);
  }
  w.PutRow(luma, kPlaneLuma, y.height, nullptr, 0);
  const Residuals& u = levels.c1of16;
  const Residuals& v = levels.c2of16;
  for (int row = 0; row < u.height; ++row) {
    const std::size_t at = static_cast<std::size_t>(row) * u.width;
    w.PutRow(c1, kPlaneChroma1, 2 * row, &u.values[at], u.width);
    w.PutRow(c2, kPlaneChroma2, 2 * row, &v.values[at], v.width);
  }
  AppendRows(file, w, starts, t, (std::size_t{t} + pcd::k16BaseRowTableSectorDelta) * kSectorSize, o);
  return t;
}

void WriteImageInfo(std::vector<std::uint8_t>& file, const ImageInfoFields& f) {
  using namespace pcd;
  const std::size_t at = kIpiOffset;
  PutText(file, at, 7, kIpiSignature);
  PutBe16(file, at + kIpiVersionOffset, f.ipiVersion);
  PutBe16(file, at + kIpiWorkstationVersionOffset, f.workstationVersion);
  PutBe16(file, at + kIpiMagnificationOffset, f.magnification);
  PutBe32(file, at + kIpiScanTimeOffset, f.scanTime);
  PutBe32(file, at + kIpiModificationTimeOffset, f.modifiedTime);
  file[at + kIpiMediaTypeOffset] = static_cast<std::uint8_t>(f.mediaType);
  PutText(file, at + kIpiMediaInfoOffset, 20, f.mediaText);
  PutText(file, at + kIpiScannerVendorOffset, 20, f.scannerVendor);
  PutText(file, at + kIpiScannerProductOffset, 16, f.scannerProduct);
  PutText(file, at + kIpiFirmwareVersionOffset, 4, f.scannerFirmware);
  PutText(file, at + kIpiFirmwareDateOffset, 8, f.scannerFirmwareDate);
  PutText(file, at + kIpiScannerSerialOffset, 20, f.scannerSerial);
  PutBe16(file, at + kIpiPixelSizeOffset, f.scannerPixelSize);
  PutText(file, at + kIpiWorkstationMakerOffset, 20, f.workstation);
  PutText(file, at + kIpiPhotofinisherOffset, 60, f.photofinisher);
  if (f.photofinisher.empty()) file[at + kIpiPhotofinisherOffset] = 0xFF;
  file[at + kIpiRightsStatusOffset] = f.rightsStatus;
  PutText(file, at + kIpiRightsFileOffset, 28, f.rightsName);
}

}  // namespace

std::uint8_t AttributeByte(int rotation, int topLevel) {
  const int resolutionClass = topLevel <= 3 ? 0 : topLevel == 4 ? 1 : 2;
  return static_cast<std::uint8_t>((rotation & 3) | resolutionClass << 2);
}

std::vector<std::uint8_t> RowPairs(const BaseLevel& level) {
  std::vector<std::uint8_t> out;
  const int w = level.luma.width;
  out.reserve(static_cast<std::size_t>(pcd::RowPairBytes(w)) * level.luma.height / 2);
  for (int k = 0; k < level.luma.height / 2; ++k) {
    out.insert(out.end(), level.luma.Row(2 * k), level.luma.Row(2 * k) + w);
    out.insert(out.end(), level.luma.Row(2 * k + 1), level.luma.Row(2 * k + 1) + w);
    out.insert(out.end(), level.c1.Row(k), level.c1.Row(k) + w / 2);
    out.insert(out.end(), level.c2.Row(k), level.c2.Row(k) + w / 2);
  }
  return out;
}

std::vector<std::uint8_t> WriteImagePack(const PhotoLevels& levels, const PackOptions& o) {
  std::vector<std::uint8_t> file(pcd::kBaseOffset);
  WriteImageInfo(file, o.info);
  PutBytes(file, pcd::kBase16Offset, RowPairs(levels.base16));
  PutBytes(file, pcd::kBase4Offset, RowPairs(levels.base4));
  const std::vector<std::uint8_t> base = RowPairs(levels.base);
  file.insert(file.end(), base.begin(), base.end());

  std::uint32_t k = 0, n = 0;
  if (levels.topLevel >= 4) Write4Base(file, levels, o);
  if (levels.topLevel >= 5) {
    k = PcdImageToDiscSector(Write16Base(file, levels, o), o.imageSectors, o.audioSectors);
    n = PcdImageToDiscSector(SectorCount(file.size()), o.imageSectors, o.audioSectors);
    if (n > 0xFFFF) throw std::runtime_error("16BASE section ends beyond sector 65535");
  }
  const std::size_t attr = pcd::kAttributeOffset;
  file[attr + pcd::kAttrRotationByte] = AttributeByte(o.rotation, levels.topLevel);
  PutBe16(file, attr + pcd::kAttrKOffset, k);
  PutBe16(file, attr + pcd::kAttrNOffset, n);
  file[attr + pcd::kAttrInterleaveByte] = static_cast<std::uint8_t>(o.imageSectors | o.audioSectors << 4);
  return file;
}

}  // namespace pcdmake
