#include "extension_writer.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "pcd_extension_layout.h"
#include "pcd_layout.h"
#include "bytes.h"
#include "huffman.h"

namespace pcdmake {
namespace {

using namespace pcd;

constexpr int kLevel = kLevel64Base;
constexpr int kRowsPerTile = 64;

struct Component {
  int plane;       // 0 luma, 1 chroma 1, 2 chroma 2
  int rowPlane;    // plane code in row headers: 0, 2, 3
  const Residuals* residuals;
  std::vector<std::string> files;
};

std::string Cased(std::string name, bool lower) {
  if (lower) std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::tolower(c); });
  return name;
}

std::vector<std::uint8_t> InfoIpe() {
  std::vector<std::uint8_t> b(kIpeFileSize);
  PutText(b, 0, 7, kIpeSignature);
  b[kIpeVersionOffset] = 1;
  b[kIpeHighestLevelOffset] = kLevel;
  b[kIpeLevelFlagsOffset] = static_cast<std::uint8_t>(1 << (kLevel - 1));
  PutBe32(b, kIpeTextRecordOffset, kIpeTextRecordPos);
  PutBe32(b, kIpeLevelRecordOffset, kIpeLevelRecordPos);
  const std::size_t rec = kIpeLevelRecordPos;
  b[rec + kIpeLevelRecType3Flags] = 0;
  b[rec + kIpeLevelRecType2Flags] = static_cast<std::uint8_t>(1 << kLevel);
  b[rec + kIpeLevelRecHighest] = kLevel;
  PutBe32(b, rec + kIpeLevelRecWidth, static_cast<std::uint32_t>(LevelWidth(kLevel)));
  PutBe32(b, rec + kIpeLevelRecHeight, static_cast<std::uint32_t>(LevelHeight(kLevel)));
  const std::string text = "Lumivexa pcdmake image pack extension";
  PutBe16(b, kIpeTextRecordPos, static_cast<std::uint32_t>(text.size()));
  PutText(b, kIpeTextRecordPos + 2, text.size(), text);
  return b;
}

}  // namespace

ExtensionFiles WriteExtension(const PhotoLevels& levels, bool lowerCase, bool longCodes) {
  std::vector<Component> components = {
      {0, 0, &levels.luma64, {"Y0001.ICR", "Y0002.ICR"}},  // luma split over two files
      {1, 2, &levels.c1of64, {"C1_0001.ICR"}},
      {2, 3, &levels.c2of64, {"C2_0001.ICR"}},
  };

  ExtensionFiles out;
  out.infoIpe = InfoIpe();
  std::vector<std::string> names;
  std::vector<std::vector<std::uint8_t>> data;
  for (const Component& c : components)
    for (const std::string& n : c.files) {
      names.push_back(n);
      data.emplace_back();
    }

  // Header, component list, then per component its code table and tile index.
  std::vector<std::uint8_t> ic(kIcComponentListPos + kIcComponentSize * components.size());
  PutText(ic, 0, kIcSignatureSize, kIcSignature);
  ic[kIcLevelOffset] = kLevel;
  ic[kIcComponentCountOffset] = static_cast<std::uint8_t>(components.size());
  PutBe32(ic, kIcWidthOffset, static_cast<std::uint32_t>(LevelWidth(kLevel)));
  PutBe32(ic, kIcHeightOffset, static_cast<std::uint32_t>(LevelHeight(kLevel)));
  PutBe32(ic, kIcComponentListOffset, kIcComponentListPos);
  PutBe16(ic, kIcVersionOffset, kIcMinVersion);

  std::size_t firstFile = 0;
  for (std::size_t i = 0; i < components.size(); ++i) {
    const Component& c = components[i];
    const Residuals& r = *c.residuals;
    const HuffmanTable table = BuildHuffmanTable(CountResiduals(r.values), longCodes);
    const int tiles = r.height / kRowsPerTile;

    const std::size_t rec = kIcComponentListPos + i * kIcComponentSize;
    ic[rec + kIcCompPlane] = static_cast<std::uint8_t>(c.plane);
    ic[rec + kIcCompType] = kIcTypeResidual;
    ic[rec + kIcCompCoding] = kIcCodingHuffman;
    PutBe32(ic, rec + kIcCompWidth, static_cast<std::uint32_t>(r.width));
    PutBe32(ic, rec + kIcCompHeight, static_cast<std::uint32_t>(r.height));
    PutBe32(ic, rec + kIcCompTileRows, kRowsPerTile);
    PutBe32(ic, rec + kIcCompTileCount, static_cast<std::uint32_t>(tiles));
    PutBe32(ic, rec + kIcCompCodeTable, static_cast<std::uint32_t>(ic.size()));
    ic.insert(ic.end(), table.stored.begin(), table.stored.end());
    const std::size_t index = ic.size();
    PutBe32(ic, rec + kIcCompTileIndex, static_cast<std::uint32_t>(index));
    ic.resize(index + tiles * kIcTileEntrySize);

    const int tilesPerFile = (tiles + static_cast<int>(c.files.size()) - 1) / static_cast<int>(c.files.size());
    for (int t = 0; t < tiles; ++t) {
      const std::size_t file = firstFile + t / tilesPerFile;
      std::vector<std::uint8_t>& bytes = data[file];
      PutBe16(ic, index + t * kIcTileEntrySize, static_cast<std::uint32_t>(file));
      PutBe32(ic, index + t * kIcTileEntrySize + 2, static_cast<std::uint32_t>(bytes.size()));
      BitWriter w;
      for (int row = t * kRowsPerTile; row < (t + 1) * kRowsPerTile; ++row)
        w.PutRow(table, c.rowPlane, row, &r.values[static_cast<std::size_t>(row) * r.width], r.width);
      w.PadToByte();
      bytes.insert(bytes.end(), w.Bytes().begin(), w.Bytes().end());
    }
    firstFile += c.files.size();
  }

  const std::size_t nameTable = ic.size();
  PutBe32(ic, kIcNameTableOffset, static_cast<std::uint32_t>(nameTable));
  PutBe16(ic, kIcNameCountOffset, static_cast<std::uint32_t>(names.size()));
  ic.resize(nameTable + names.size() * kIcNameEntrySize);
  for (std::size_t i = 0; i < names.size(); ++i)
    PutText(ic, nameTable + i * kIcNameEntrySize, kIcNameLength, Cased(names[i], lowerCase), 0);

  out.level64.push_back({"INFO.IC", std::move(ic)});
  for (std::size_t i = 0; i < names.size(); ++i) out.level64.push_back({names[i], std::move(data[i])});
  return out;
}

}  // namespace pcdmake
