#include "sector_reader.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "pcd_layout.h"

namespace {

constexpr std::uint32_t kMaxOffset = 0x7FFFFFFFu;

// Loads size bytes from the file at offset into the buffer. The seek is
// always explicit, so other reads of the same file in between do no harm.
PcdStatus Load(SectorReader& reader, std::uint64_t offset, std::uint32_t size) {
  reader.filled = 0;
  reader.position = 0;
  reader.broken = false;
  if (offset > kMaxOffset) return kPcdSeekFailed;
  reader.bufferOffset = static_cast<std::uint32_t>(offset);
  std::uint32_t got = 0;
  std::vector<std::uint32_t> unreadable;
  const PcdStatus status = PcdFileReadAround(reader.file, reader.bufferOffset, reader.buffer, size, got, unreadable);
  if (status != kPcdOk) return status;
  if (!unreadable.empty()) {
    got = unreadable.front() * pcd::kSectorSize;
    reader.broken = true;
  }
  reader.filled = got;
  return got > 0 ? kPcdOk : reader.broken ? kPcdReadFailed : kPcdEndOfFile;
}

// The status of a read that reaches past the filled bytes.
PcdStatus PastFilled(const SectorReader& reader) { return reader.broken ? kPcdReadFailed : kPcdEndOfFile; }

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
  const std::uint64_t blockOffset = std::uint64_t{sector & ~(pcd::kSectorsPerBlock - 1)} * pcd::kSectorSize;
  const std::uint64_t blockEnd = blockOffset + pcd::kSectorBlockSize;
  const std::uint64_t sectorOffset = std::uint64_t{sector} * pcd::kSectorSize;
  const std::uint64_t heldEnd = std::uint64_t{reader.bufferOffset} + reader.filled;
  // A buffer cut short by a sector that does not read is held as far as it
  // reads: on a real drive a bad sector takes seconds to fail again.
  const bool held = reader.broken ? reader.bufferOffset <= sectorOffset && sectorOffset < heldEnd
                                  : reader.filled == pcd::kSectorBlockSize && reader.bufferOffset == blockOffset;
  if (reader.broken && sectorOffset == heldEnd) {
    reader.position = reader.filled;
    return kPcdReadFailed;  // the sector that did not read
  }
  if (!held) {
    // Past such a sector of the same block, reading starts at the sector itself.
    const bool pastBad = reader.broken && heldEnd >= blockOffset && heldEnd < sectorOffset;
    PcdStatus status = pastBad ? PcdStatus{kPcdReadFailed} : Load(reader, blockOffset, pcd::kSectorBlockSize);
    if (reader.broken && sectorOffset > std::uint64_t{reader.bufferOffset} + reader.filled)
      status = Load(reader, sectorOffset, static_cast<std::uint32_t>(blockEnd - sectorOffset));
    if (status != kPcdOk) return status;
  }
  const std::uint64_t within = sectorOffset - reader.bufferOffset;
  if (within >= reader.filled) {
    reader.position = reader.filled;
    return PastFilled(reader);
  }
  reader.position = static_cast<std::uint32_t>(within);
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
    return PastFilled(reader);
  }
  reader.position = within;
  return kPcdOk;
}
