// Where things live in the Photo CD files. Every offset the readers and the
// authoring tool use is named here, in one place.
#pragma once
#include <cstdint>

namespace pcd {

constexpr std::uint32_t kSectorSize = 2048;

// Resolution levels: 0 = BASE/64 ... 3 = BASE ... 6 = 64BASE.
constexpr int kLevelBase64 = 0;
constexpr int kLevelBase16 = 1;
constexpr int kLevelBase4 = 2;
constexpr int kLevelBase = 3;
constexpr int kLevel4Base = 4;
constexpr int kLevel16Base = 5;
constexpr int kLevel64Base = 6;
constexpr int kMaxLevel = 6;
constexpr int LevelWidth(int level) { return 3 << (level + 5); }
constexpr int LevelHeight(int level) { return 1 << (level + 6); }

// INFO.PCD
constexpr char kDiscSignature[] = "PHOTO_CD";
constexpr std::uint32_t kDiscInfoFileSize = 38;
constexpr std::uint32_t kDiscVersionMajorOffset = 8;
constexpr std::uint32_t kDiscVersionMinorOffset = 9;
constexpr std::uint32_t kDiscSerialOffset = 10;       // 12 characters
constexpr std::uint32_t kDiscCreationTimeOffset = 22; // big-endian seconds since 1970
constexpr std::uint32_t kDiscSecondTimeOffset = 26;   // big-endian seconds since 1970
constexpr std::uint32_t kDiscWord30Offset = 30;       // big-endian, kept but unused
constexpr std::uint32_t kDiscByte32Offset = 32;
constexpr std::uint32_t kDiscByte33Offset = 33;
constexpr std::uint32_t kDiscBytes34Offset = 34;      // three bytes
constexpr std::uint32_t kDiscByte37Offset = 37;

// Version word (major * 256 + minor) below which INFO.PCD, image packs and
// overview packs are refused.
constexpr unsigned kMinFormatVersion = 5;

// Image pack (IMGnnnn.PCD)
constexpr std::uint32_t kIpiOffset = 0x0800;         // image information block, sector 1
constexpr char kIpiSignature[] = "PCD_IPI";
constexpr std::uint32_t kIpiVersionOffset = 7;       // big-endian word, relative to the IPI block
constexpr std::uint32_t kIpiBlockSize = 2048;
constexpr std::uint32_t kIpiAttributeOffset = 0x600; // attribute block within the IPI block
constexpr std::uint32_t kAttributeOffset = 0x0E00;   // attribute block (IPI block + 0x600)
constexpr std::uint32_t kAttrRotationByte = 2;       // bits 0-1 rotation, 2-3 resolution class, 5-6 kept
constexpr std::uint32_t kAttrKOffset = 3;            // 16-bit K
constexpr std::uint32_t kAttrNOffset = 5;            // 16-bit N
constexpr std::uint32_t kAttrInterleaveByte = 9;     // low nibble image sectors, high nibble audio sectors
constexpr std::uint32_t kAttrBlockSize = 10;         // bytes of the attribute block that are read
constexpr std::uint8_t kAttrRotationMask = 0x03;
constexpr std::uint8_t kAttrClassMask = 0x0C;
constexpr int kAttrClassShift = 2;
constexpr std::uint8_t kAttrBits56Mask = 0x60;
constexpr int kAttrBits56Shift = 5;
constexpr std::uint8_t kResolutionClassInvalid = 3;

// Image information fields, relative to the IPI block (big-endian where numeric).
constexpr std::uint32_t kIpiWorkstationVersionOffset = 9;
constexpr std::uint32_t kIpiMagnificationOffset = 11;
constexpr std::uint32_t kIpiScanTimeOffset = 13;
constexpr std::uint32_t kIpiModificationTimeOffset = 17;
constexpr std::uint32_t kIpiMediaTypeOffset = 21;
constexpr std::uint32_t kIpiMediaInfoOffset = 22;          // 20 characters
constexpr std::uint32_t kIpiScannerVendorOffset = 42;      // 20 characters
constexpr std::uint32_t kIpiScannerProductOffset = 62;     // 16 characters
constexpr std::uint32_t kIpiFirmwareVersionOffset = 78;    // 4 characters
constexpr std::uint32_t kIpiFirmwareDateOffset = 82;       // 8 characters
constexpr std::uint32_t kIpiScannerSerialOffset = 90;      // 20 characters
constexpr std::uint32_t kIpiPixelSizeOffset = 110;         // micrometres, hundredths
constexpr std::uint32_t kIpiWorkstationMakerOffset = 112;  // 20 characters
constexpr std::uint32_t kIpiByte132Offset = 132;
constexpr std::uint32_t kIpiBytes133Offset = 133;          // 32 bytes
constexpr std::uint32_t kIpiPhotofinisherOffset = 165;     // 60 characters
constexpr std::uint32_t kIpiBytes225Offset = 225;          // 104 bytes
constexpr std::uint32_t kIpiWord329Offset = 329;
constexpr std::uint32_t kIpiRightsStatusOffset = 331;
constexpr std::uint32_t kIpiRightsFileOffset = 332;        // 28 characters
constexpr std::uint32_t kIpiWord360Offset = 360;
constexpr unsigned kIpiRightsMinVersion = 5;               // rights fields exist from this version on
constexpr std::uint32_t kHeaderSize = 6144;          // sectors 0-2, read by the format check

constexpr std::uint32_t kBase16Offset = 0x2000;      // sector 4, 192 x 128
constexpr std::uint32_t kBase4Offset = 0xB800;       // sector 23, 384 x 256
constexpr std::uint32_t kBaseOffset = 0x30000;       // sector 96, 768 x 512

constexpr std::uint32_t k4BaseRowTableSector = 387;  // 256 big-endian 16-bit entries
constexpr std::uint32_t k4BaseRowTableOffset = 0xC1800;
constexpr std::uint32_t k4BaseRowTableEntries = 256;
constexpr std::uint32_t k4BaseCodeTableOffset = 0xC2000;  // sector 388: three code tables
constexpr std::uint32_t k4BaseRowBaseSector = 384;   // row table entries count from here
constexpr int k4BaseRowsPerEntry = 4;                // 4BASE row table entry k locates row 4k
constexpr std::uint32_t k16BaseRowTableSectorDelta = 10;  // row table at sector T + 10
constexpr std::uint32_t k16BaseRowTableEntries = 2048;
constexpr std::uint32_t k16BaseCodeTableSectorDelta = 12; // code tables at sector T + 12

// The sector reader holds blocks of four sectors.
constexpr std::uint32_t kSectorsPerBlock = 4;
constexpr std::uint32_t kSectorBlockSize = kSectorsPerBlock * kSectorSize;

// Row pair size of a base level of width w: two luma rows and two half-width chroma rows.
constexpr std::uint32_t RowPairBytes(std::uint32_t width) { return 3 * width; }

// Residual rows
constexpr int kSyncOnes = 23;                        // a sync is at least this many one bits, then a zero

// Overview pack (OVERVIEW.PCD)
constexpr char kOverviewSignature[] = "PCD_OPA";
constexpr std::uint32_t kOverviewVersionOffset = 7;  // major, minor
constexpr std::uint32_t kOverviewCountOffset = 10;   // big-endian photo count
constexpr std::uint32_t kOverviewHeaderSize = 12;
constexpr std::uint32_t kOverviewAttrBase = 11;      // attribute of photo n at 11 + n
constexpr std::uint32_t kOverviewMaxPhotos = 2036;
constexpr std::uint32_t kOverviewThumbOffset = 0x2800;   // thumbnail of photo 1: BASE/16 row pairs
constexpr std::uint32_t kOverviewThumbStride = 0x9000;   // bytes per thumbnail

// Image pack extension
constexpr char kExtensionInfoName[] = "INFO.IPE";
constexpr std::uint32_t kIpeLevelFlagsOffset = 20;   // byte: 0x08 4BASE ... 0x80 1024BASE
constexpr std::uint32_t kIpeTextRecordOffset = 22;   // big-endian position of a text record
constexpr std::uint32_t kIpeLevelRecordOffset = 26;  // big-endian position of the 16-byte level record
constexpr std::uint32_t kIpeHeaderSize = 30;         // bytes 0-29; bytes 0-17, 21 carry nothing we use
constexpr std::uint32_t kIpeLevelRecordSize = 16;
constexpr std::uint32_t kIpeMaxPosition = 0x7FFFFFF0u;
// Level flags: level L (4 to 8) present in the extension when bit 1 << (L - 1) is set.
constexpr std::uint8_t ExtensionLevelFlag(int level) { return static_cast<std::uint8_t>(1u << (level - 1)); }

// Where the residual rows begin after the code tables
constexpr std::uint32_t k4BaseFirstRowSector = 389;  // 4BASE rows start after the code tables
constexpr std::uint32_t k16BaseFirstRowSectorDelta = 13;  // 16BASE rows at sector T + 13
constexpr std::uint32_t kCodeTableMaxBytes = 2048;   // three code tables share one sector

}  // namespace pcd
