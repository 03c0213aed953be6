// What the toolkit knows of an image pack extension from its INFO.IPE.
#pragma once
#include <cstdint>

#include "pcd_path.h"
#include "pcd_status.h"

struct ExtensionInfo {
  char folder[kPcdMaxPath];          // the extension folder, holding INFO.IPE
  std::uint8_t levelFlags;           // INFO.IPE byte 20: 0x08 4BASE ... 0x80 1024BASE present
  std::uint8_t levelsWithType3;      // bit 1 << L: level L has a component record of type 3
  std::uint8_t levelsWithType2;      // bit 1 << L: level L has a component record of type 2
  std::uint32_t textRecordPosition;  // 0 when there is none
  std::uint32_t levelRecordPosition;
  std::uint8_t levelRecord[16];      // as stored
};

// Reads INFO.IPE of an extension folder. 3010 when it cannot be opened, 3015
// when it is shorter than its header or its level record lies outside it,
// 3009/3007 for failed seeks and reads. Closes the file in every case.
PcdStatus PcdReadExtensionInfo(const char* folder, ExtensionInfo& info);
