// The image information record of an image pack: scanner, medium,
// photofinisher and rights fields copied from the IPI block.
#pragma once
#include <cstddef>
#include <cstdint>

#include "pcd_status.h"

// 360 bytes; the marked numbers in native order, text fields as stored
// (not terminated).
struct ImagePackInfo {
  std::uint16_t discVersion;        // IPI version: high byte major, low byte minor
  std::uint16_t workstationVersion; // high byte major, low byte minor
  std::uint16_t magnification;      // high byte integer part, low byte hundredths
  std::uint8_t unused6[2];
  std::uint32_t scanTime;           // seconds since 1970-01-01 00:00
  std::uint32_t modificationTime;   // seconds since 1970-01-01 00:00
  std::int8_t mediaType;            // -1 none, 0 to 8
  char mediaInfo[20];
  char scannerVendor[20];
  char scannerProduct[16];
  char scannerFirmwareVersion[4];
  char scannerFirmwareDate[8];
  char scannerSerial[20];
  std::uint8_t scannerPixelSize[2]; // micrometres, hundredths; FF FF = not recorded
  char workstationMaker[20];
  std::uint8_t byte127;
  std::uint8_t bytes128[32];
  char photofinisher[60];           // first byte 0xFF = none
  std::uint8_t bytes220[104];
  std::uint8_t word324[2];          // as stored
  std::uint8_t rightsStatus;        // 1 when a rights file exists
  char rightsFileName[28];          // lower case, terminated unless all 28 are used
  std::uint8_t word355[2];          // as stored
  std::uint8_t unused357[3];
};
static_assert(sizeof(ImagePackInfo) == 360, "ImagePackInfo is a 360-byte record");

// Fills the record from a 2048-byte IPI block (3001 if shorter). The rights
// fields are taken only when the block's version word is above 4.
PcdStatus PcdParseImageInfo(const std::uint8_t* ipiBlock, std::size_t size, ImagePackInfo& info);
