#include <gtest/gtest.h>

#include "pcd_file.h"
#include "pcd_test_files.h"
#include "rescue_map.h"
#include "sector_reader.h"

namespace {

constexpr std::uint32_t kSector = 2048;

// Every byte tells its offset: sector number in the high part.
std::uint8_t ByteAt(std::uint32_t offset) { return static_cast<std::uint8_t>(offset / kSector * 16 + offset % 13); }

struct ReaderOnFile {
  TempDir dir;
  PcdFile* file = nullptr;
  SectorReader reader{};

  // With bad, that sector of the file does not read.
  explicit ReaderOnFile(std::uint32_t size, int bad = -1) {
    Bytes bytes(size);
    for (std::uint32_t i = 0; i < size; ++i) bytes[i] = ByteAt(i);
    const std::string path = dir.Write("IMG0001.PCD", bytes);
    auto map = std::make_shared<PcdRescueMap>();
    map->unread = {{bad * kSector, (bad + 1) * kSector}};
    map->end = size;
    PcdUseRescueMap(path, bad >= 0 ? map : nullptr);
    EXPECT_EQ(PcdFileOpen(path.c_str(), file), kPcdOk);
    EXPECT_EQ(PcdSectorReaderInit(reader, file), kPcdOk);
  }
  ~ReaderOnFile() {
    PcdSectorReaderFree(reader);
    PcdFileClose(file);
  }
  // Reads n bytes and checks they are those at offset.
  void ExpectRead(std::uint32_t offset, std::uint32_t n) {
    Bytes got(n);
    ASSERT_EQ(PcdSectorRead(reader, got.data(), n), kPcdOk);
    for (std::uint32_t i = 0; i < n; ++i) ASSERT_EQ(got[i], ByteAt(offset + i)) << offset + i;
  }
};

TEST(SectorReader, ReadsAcrossBlockBoundaries) {
  ReaderOnFile f(20 * kSector);
  ASSERT_EQ(PcdSectorSeek(f.reader, 3), kPcdOk);  // last sector of block 0
  EXPECT_EQ(PcdSectorBytesLeft(f.reader), kSector);
  f.ExpectRead(3 * kSector, 3 * kSector + 100);   // runs into block 4 and on
  ASSERT_EQ(PcdSectorSeek(f.reader, 13), kPcdOk);
  f.ExpectRead(13 * kSector, 10);
  ASSERT_EQ(PcdSectorSeek(f.reader, 1), kPcdOk);  // back to an earlier block
  f.ExpectRead(kSector, 10);
}

TEST(SectorReader, SkipsWithinAndBeyondTheBuffer) {
  ReaderOnFile f(40 * kSector);
  ASSERT_EQ(PcdSectorSeek(f.reader, 0), kPcdOk);
  ASSERT_EQ(PcdSectorSkip(f.reader, 100), kPcdOk);
  f.ExpectRead(100, 4);
  ASSERT_EQ(PcdSectorSkip(f.reader, 5 * kSector + 7), kPcdOk);  // past the buffered block
  f.ExpectRead(104 + 5 * kSector + 7, kSector);                 // and on through a refill
}

TEST(SectorReader, EndOfFile) {
  ReaderOnFile f(6 * kSector + 500);  // the second block is cut short
  ASSERT_EQ(PcdSectorSeek(f.reader, 6), kPcdOk);
  f.ExpectRead(6 * kSector, 500);
  std::uint8_t byte = 0;
  EXPECT_EQ(PcdSectorRead(f.reader, &byte, 1), kPcdEndOfFile);
  EXPECT_EQ(PcdSectorSeek(f.reader, 7), kPcdEndOfFile);   // in the short block but past its data
  EXPECT_EQ(PcdSectorSeek(f.reader, 40), kPcdEndOfFile);  // past the whole file
  ASSERT_EQ(PcdSectorSeek(f.reader, 5), kPcdOk);
  EXPECT_EQ(PcdSectorSkip(f.reader, 10 * kSector), kPcdEndOfFile);
  EXPECT_EQ(PcdSectorRead(f.reader, &byte, 1), kPcdEndOfFile);
}

// A sector that does not read fails only the reads that reach it, not the
// sectors beside it in its block.
TEST(SectorReader, OnlyTheSectorThatDoesNotReadIsLost) {
  ReaderOnFile f(12 * kSector, 5);
  ASSERT_EQ(PcdSectorSeek(f.reader, 4), kPcdOk);
  f.ExpectRead(4 * kSector, kSector);
  std::uint8_t byte = 0;
  EXPECT_EQ(PcdSectorRead(f.reader, &byte, 1), kPcdReadFailed);
  EXPECT_EQ(PcdSectorSeek(f.reader, 5), kPcdReadFailed);
  ASSERT_EQ(PcdSectorSeek(f.reader, 6), kPcdOk);
  f.ExpectRead(6 * kSector, 3 * kSector);
  ASSERT_EQ(PcdSectorSeek(f.reader, 4), kPcdOk);
  ASSERT_EQ(PcdSectorSkip(f.reader, kSector + 10), kPcdReadFailed);
  ASSERT_EQ(PcdSectorSeek(f.reader, 4), kPcdOk);
  ASSERT_EQ(PcdSectorSkip(f.reader, 2 * kSector + 10), kPcdOk);
  f.ExpectRead(6 * kSector + 10, 10);
}

TEST(SectorReader, SurvivesOtherReadsOfTheSameFile) {
  ReaderOnFile f(12 * kSector);
  ASSERT_EQ(PcdSectorSeek(f.reader, 2), kPcdOk);
  f.ExpectRead(2 * kSector, 2 * kSector - 4);
  ASSERT_EQ(PcdFileSeek(f.file, 0), kPcdOk);  // someone else moves the file position
  f.ExpectRead(4 * kSector - 4, 8);           // the refill still continues in place
}

}  // namespace
