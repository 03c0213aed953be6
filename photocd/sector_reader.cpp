#include "sector_reader.h"

#include <cstdlib>
#include <cstring>

#include "pcd_layout.h"

namespace {

constexpr std::uint32_t kMaxOffset = 0x7FFFFFFFu;

// Loads size bytes from the file at offset into the buffer. The seek is
// always explicit, so other reads of the same file in between do no harm.
PcdStatus Load(SectorReader& reader, std::uint64_t offset, std::uint32_t size) {
  reader.filled = 0;
  reader.position = 0;
  if (offset > kMaxOffset) return kPcdSeekFailed;
  reader.bufferOffset = static_cast<std::uint32_t>(offset);
  if (PcdFileSeek(reader.file, reader.bufferOffset) != kPcdOk) return kPcdSeekFailed;
  std::uint32_t got = 0;
  if (PcdFileRead(reader.file, reader.buffer, size, got) != kPcdOk) return kPcdReadFailed;
  reader.filled = got;
  return got == 0 ? kPcdEndOfFile : kPcdOk;
}

}  // namespace

PcdStatus PcdSectorReaderInit(SectorReader& reader, PcdFile* file) {
  reader = SectorReader{};
  reader.file = file;
  reader.buffer = static_cast<std::uint8_t*>(std::malloc(pcd::kSectorBlockSize));
  return reader.buffer ? kPcdOk : kPcdOutOfMemory;
}

void PcdSectorReaderFree(SectorReader& reader) {
  std::free(reader.buffer);
  reader.buffer = nullptr;
  reader.filled = reader.position = 0;
}

PcdStatus PcdSectorSeek(SectorReader& reader, std::uint32_t sector) {
  if (!reader.buffer) return kPcdInvalidArgument;
  const std::uint32_t block = sector & ~(pcd::kSectorsPerBlock - 1);
  const std::uint64_t blockOffset = std::uint64_t{block} * pcd::kSectorSize;
  const std::uint32_t within = (sector - block) * pcd::kSectorSize;
  bool held = reader.filled == pcd::kSectorBlockSize && reader.bufferOffset == blockOffset;
  if (!held) {
    PcdStatus status = Load(reader, blockOffset, pcd::kSectorBlockSize);
    if (status != kPcdOk) return status;
  }
  // A block cut short by the end of the file may not reach the sector.
  if (within >= reader.filled) {
    reader.position = reader.filled;
    return kPcdEndOfFile;
  }
  reader.position = within;
  return kPcdOk;
}

PcdStatus PcdSectorRead(SectorReader& reader, void* destination, std::uint32_t size) {
  if (!reader.buffer || (!destination && size)) return kPcdInvalidArgument;
  auto* out = static_cast<std::uint8_t*>(destination);
  while (size > 0) {
    if (PcdSectorBytesLeft(reader) == 0) {
      PcdStatus status = Load(reader, std::uint64_t{reader.bufferOffset} + reader.filled, pcd::kSectorBlockSize);
      if (status != kPcdOk) return status;
    }
    std::uint32_t take = PcdSectorBytesLeft(reader) < size ? PcdSectorBytesLeft(reader) : size;
    std::memcpy(out, reader.buffer + reader.position, take);
    reader.position += take;
    out += take;
    size -= take;
  }
  return kPcdOk;
}

PcdStatus PcdSectorSkip(SectorReader& reader, std::uint32_t count) {
  if (!reader.buffer) return kPcdInvalidArgument;
  if (count <= PcdSectorBytesLeft(reader)) {
    reader.position += count;
    return kPcdOk;
  }
  const std::uint32_t rest = count - PcdSectorBytesLeft(reader);
  const std::uint64_t next = std::uint64_t{reader.bufferOffset} + reader.filled;
  const std::uint64_t sectorStart = next + std::uint64_t{rest / pcd::kSectorSize} * pcd::kSectorSize;
  PcdStatus status = Load(reader, sectorStart, pcd::kSectorSize);
  if (status != kPcdOk) return status;
  const std::uint32_t within = rest % pcd::kSectorSize;
  if (within > reader.filled) {
    reader.position = reader.filled;
    return kPcdEndOfFile;
  }
  reader.position = within;
  return kPcdOk;
}
