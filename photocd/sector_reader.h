// Buffered reading of sector-addressed data: an 8192-byte buffer holding
// four sectors at a time, positioned on a sector, read sequentially and
// skipped forward. The residual decoders read through it. A sector that does
// not read fails only the reads that reach it: the sectors before it in its
// block still read.
#pragma once
#include <cstdint>

#include "pcd_file.h"
#include "pcd_status.h"

struct SectorReader {
  PcdFile* file;              // not owned
  std::uint8_t* buffer;       // 8192 bytes, owned
  std::uint32_t bufferOffset; // file offset of buffer[0]
  std::uint32_t filled;       // bytes of the buffer that hold file data
  std::uint32_t position;     // read position within the buffer
  bool broken;                // the sector after the filled bytes does not read
};

// Allocates the buffer (3016). The reader starts empty.
PcdStatus PcdSectorReaderInit(SectorReader& reader, PcdFile* file);
void PcdSectorReaderFree(SectorReader& reader);

// Bytes left in the buffer after the read position.
inline std::uint32_t PcdSectorBytesLeft(const SectorReader& reader) {
  return reader.filled - reader.position;
}

// Positions on the start of a sector, loading its four-sector block unless
// the buffer holds it already. 3009 seek, 3007 read, 5 past the end of the file.
PcdStatus PcdSectorSeek(SectorReader& reader, std::uint32_t sector);

// Copies size bytes, refilling the buffer as it runs out. 5 when the file
// ends first, 3007 on a failed read.
PcdStatus PcdSectorRead(SectorReader& reader, void* destination, std::uint32_t size);

// Passes over count bytes: what the buffer holds, then whole sectors by
// seeking, then one sector read into the buffer. 3009, 3007, 5 as above.
PcdStatus PcdSectorSkip(SectorReader& reader, std::uint32_t count);
