#include "extension_info.h"

#include <cstring>

#include "pcd_bytes.h"
#include "pcd_extension_layout.h"
#include "pcd_file.h"
#include "pcd_layout.h"

namespace {

// INFO.IPE in the case of the folder's last name, with or without the ISO
// 9660 version suffix.
PcdStatus OpenInfoFile(const char* folder, PcdFile*& file) {
  const char* name = folder;
  for (const char* p = folder; *p; ++p)
    if (PcdIsSeparator(*p)) name = p + 1;
  bool upper = *name >= 'A' && *name <= 'Z';
  PcdPathBuilder path;
  path.Add(folder).Add("\\").Add(upper ? pcd::kExtensionInfoName : "info.ipe");
  if (!path.ok()) return kPcdOpenFailed;
  if (PcdFileOpen(path.text, file) == kPcdOk) return kPcdOk;
  path.Add(";1");
  if (!path.ok()) return kPcdOpenFailed;
  return PcdFileOpen(path.text, file);
}

// Reads exactly size bytes at offset; anything less means the file does not
// match what its header says.
PcdStatus ReadAt(PcdFile* file, std::uint32_t offset, std::uint8_t* out, std::uint32_t size) {
  if (offset > pcd::kIpeMaxPosition) return kPcdExtensionMismatch;
  if (PcdFileSeek(file, offset) != kPcdOk) return kPcdSeekFailed;
  std::uint32_t got = 0;
  if (PcdFileRead(file, out, size, got) != kPcdOk) return kPcdReadFailed;
  return got == size ? kPcdOk : kPcdExtensionMismatch;
}

// Only the level flags and the level record are used; the text record's
// position is kept as stored and never followed.
PcdStatus ReadRecords(PcdFile* file, ExtensionInfo& info) {
  std::uint8_t header[pcd::kIpeHeaderSize];
  PcdStatus status = ReadAt(file, 0, header, sizeof header);
  if (status != kPcdOk) return status;
  info.levelFlags = header[pcd::kIpeLevelFlagsOffset];
  info.textRecordPosition = PcdBigEndian32(header + pcd::kIpeTextRecordOffset);
  info.levelRecordPosition = PcdBigEndian32(header + pcd::kIpeLevelRecordOffset);
  status = ReadAt(file, info.levelRecordPosition, info.levelRecord, pcd::kIpeLevelRecordSize);
  if (status != kPcdOk) return status;
  info.levelsWithType3 = info.levelRecord[pcd::kIpeLevelRecType3Flags];
  return kPcdOk;
}

}  // namespace

PcdStatus PcdReadExtensionInfo(const char* folder, ExtensionInfo& info) {
  if (!folder || !*folder) return kPcdInvalidArgument;
  info = ExtensionInfo{};
  if (std::strlen(folder) >= sizeof info.folder) return kPcdInvalidArgument;
  std::memcpy(info.folder, folder, std::strlen(folder) + 1);
  PcdFile* file = nullptr;
  PcdStatus status = OpenInfoFile(folder, file);
  if (status != kPcdOk) return status;
  status = ReadRecords(file, info);
  PcdStatus closed = PcdFileClose(file);
  return status != kPcdOk ? status : closed;
}
