// Byte layout of the image pack extension files (INFO.IPE and the INFO.IC of
// each level folder) as this project writes and reads them. The format is
// described in docs/photo-cd-extension.md; every offset lives here.
#pragma once
#include <cstdint>

namespace pcd {

// INFO.IPE: one 2048-byte sector in the extension folder (PHOTO_CD/IPE/IMGnnnn).
constexpr char kIpeSignature[] = "PCD_IPE";           // 7 bytes at offset 0
constexpr std::uint32_t kIpeVersionOffset = 7;        // major, minor
constexpr std::uint32_t kIpeHighestLevelOffset = 18;  // byte: highest level held
// Byte 20: level flags (kIpeLevelFlagsOffset); 22, 26: record positions (pcd_layout.h).
constexpr std::uint32_t kIpeLevelRecordPos = 32;      // where the writer puts the level record
constexpr std::uint32_t kIpeLevelRecType3Flags = 0;   // bit 1 << L: level L has type 3 components
constexpr std::uint32_t kIpeLevelRecType2Flags = 1;   // bit 1 << L: level L has type 2 components
constexpr std::uint32_t kIpeLevelRecHighest = 2;      // byte: highest level
constexpr std::uint32_t kIpeLevelRecWidth = 4;        // big-endian 32-bit luma width of that level
constexpr std::uint32_t kIpeLevelRecHeight = 8;       // big-endian 32-bit luma height
constexpr std::uint32_t kIpeTextRecordPos = 64;       // text record: 16-bit length, then characters
constexpr std::uint32_t kIpeFileSize = 2048;

// INFO.IC: one per level folder ("64BASE" for level 6).
constexpr char kIcSignature[] = "KODAK_PIW  ";         // 11 bytes at offset 0
constexpr std::uint32_t kIcSignatureSize = 11;
constexpr std::uint32_t kIcLevelOffset = 12;           // byte
constexpr std::uint32_t kIcComponentCountOffset = 13;  // byte
constexpr std::uint32_t kIcWidthOffset = 16;           // big-endian 32-bit luma width
constexpr std::uint32_t kIcHeightOffset = 20;          // big-endian 32-bit luma height
constexpr std::uint32_t kIcComponentListOffset = 24;   // big-endian 32-bit position
constexpr std::uint32_t kIcNameTableOffset = 28;       // big-endian 32-bit position
constexpr std::uint32_t kIcNameCountOffset = 32;       // big-endian 16-bit count
constexpr std::uint32_t kIcVersionOffset = 40;         // big-endian 16-bit
constexpr std::uint16_t kIcMinVersion = 785;           // older files are refused
constexpr std::uint32_t kIcComponentListPos = 64;      // where the writer puts the list

// Component record, kIcComponentSize bytes each.
constexpr std::uint32_t kIcComponentSize = 32;
constexpr std::uint32_t kIcCompPlane = 0;        // 0 luma, 1 chroma 1, 2 chroma 2
constexpr std::uint32_t kIcCompType = 1;         // 2 residuals onto the enlarged level below
constexpr std::uint32_t kIcCompCoding = 2;       // 1 Huffman
constexpr std::uint32_t kIcCompWidth = 4;        // big-endian 32-bit plane width
constexpr std::uint32_t kIcCompHeight = 8;       // big-endian 32-bit plane height
constexpr std::uint32_t kIcCompTileRows = 12;    // big-endian 32-bit rows per tile (tiles are full width)
constexpr std::uint32_t kIcCompTileCount = 16;   // big-endian 32-bit
constexpr std::uint32_t kIcCompCodeTable = 20;   // big-endian 32-bit position of the code table
constexpr std::uint32_t kIcCompTileIndex = 24;   // big-endian 32-bit position of the tile index
constexpr std::uint8_t kIcTypeResidual = 2;
constexpr std::uint8_t kIcCodingHuffman = 1;

constexpr std::uint32_t kIcTileEntrySize = 6;    // 16-bit file number, 32-bit byte position
constexpr std::uint32_t kIcNameEntrySize = 16;   // name in the first 12 bytes, NUL padded
constexpr std::uint32_t kIcNameLength = 12;

}  // namespace pcd
