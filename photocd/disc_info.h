// The disc information file PHOTO_CD\INFO.PCD and the record it is read into.
#pragma once
#include <cstdint>

#include "pcd_status.h"

// 40 bytes; numbers in native order. Bytes 22 and 23 are never written.
struct DiscInfo {
  char signature[8];           // "PHOTO_CD"
  std::uint8_t versionMajor;
  std::uint8_t versionMinor;
  char serialNumber[12];       // not terminated
  std::uint8_t unused[2];
  std::uint32_t creationTime;  // seconds since 1970-01-01 00:00; the date of every photo
  std::uint32_t secondTime;    // seconds since 1970-01-01 00:00; shown in the status bar
  std::uint16_t word32;
  std::uint8_t byte34;
  std::uint8_t byte35;
  std::uint8_t bytes36[3];
  std::uint8_t byte39;
};
static_assert(sizeof(DiscInfo) == 40, "DiscInfo is a 40-byte record");

// Reads INFO.PCD. 3010 open, 3007 short file, 3000 signature, 3002 version
// below 0.5, 3008 close. On failure the record holds what was read so far.
PcdStatus PcdReadDiscInfo(const char* path, DiscInfo& info);
