// Code tables, the shared table cache and row syncs.
#include <gtest/gtest.h>

#include <random>

#include "bit_reader.h"
#include "code_table_cache.h"
#include "decode_internal.h"
#include "huffman_table.h"
#include "pcd_test_files.h"
#include "test_packs.h"

namespace {

TEST(HuffmanTableTest, OneEntryTableFillsOnlyItsCode) {
  const std::uint8_t stored[] = {0x00, 0x00, 0x80, 0x00, 0x05};
  HuffmanTable table;
  ASSERT_EQ(PcdBuildHuffmanTable(stored, sizeof stored, table), kPcdOk);
  ASSERT_EQ(table.lookup.size(), 2u);
  EXPECT_EQ(table.lookup[1].residual, 5);
  EXPECT_EQ(table.lookup[1].length, 1);
  EXPECT_EQ(table.lookup[0].length, 0);
}

TEST(HuffmanTableTest, MalformedTablesAreRefusedExactRepeatsAreNot) {
  HuffmanTable table;
  const std::uint8_t tooLong[] = {0x00, 16, 0x80, 0x00, 0x05};           // 17-bit code
  const std::uint8_t overlap[] = {0x01, 0, 0x80, 0x00, 1, 1, 0x80, 0x00, 2};  // "1" and "10"
  const std::uint8_t empty[] = {0x00, 255, 0, 0, 0};
  const std::uint8_t cut[] = {0x01, 0, 0x80, 0x00, 1};                    // says two entries, holds one
  EXPECT_EQ(PcdBuildHuffmanTable(tooLong, sizeof tooLong, table), kPcdBadSignature);
  EXPECT_EQ(PcdBuildHuffmanTable(overlap, sizeof overlap, table), kPcdBadSignature);
  EXPECT_EQ(PcdBuildHuffmanTable(empty, sizeof empty, table), kPcdBadSignature);
  EXPECT_EQ(PcdBuildHuffmanTable(cut, sizeof cut, table), kPcdBadSignature);
  const std::uint8_t clash[] = {0x01, 0, 0x80, 0x00, 5, 0, 0x80, 0x00, 6};  // "1" twice, two residuals
  EXPECT_EQ(PcdBuildHuffmanTable(clash, sizeof clash, table), kPcdBadSignature);
  // An entry repeated exactly claims nothing new.
  const std::uint8_t repeated[] = {0x02, 0, 0x80, 0x00, 5, 0, 0x00, 0x00, 7, 0, 0x80, 0x00, 5};
  ASSERT_EQ(PcdBuildHuffmanTable(repeated, sizeof repeated, table), kPcdOk);
  EXPECT_EQ(table.lookup[1].residual, 5);
  EXPECT_EQ(table.lookup[0].residual, 7);
  // An end mark after the first entry leaves a usable table.
  const std::uint8_t ended[] = {0x01, 0, 0x80, 0x00, 3, 255, 0, 0, 0};
  ASSERT_EQ(PcdBuildHuffmanTable(ended, sizeof ended, table), kPcdOk);
  EXPECT_EQ(table.lookup[1].residual, 3);
}

TEST(HuffmanTableTest, IdenticalTablesAreSharedUntilTheirLastUser) {
  const std::size_t before = PcdCachedCodeTableCount();
  const Bytes stored = TestCodeTable();
  const HuffmanTable *a = nullptr, *b = nullptr;
  ASSERT_EQ(PcdAcquireCodeTable(stored.data(), stored.size(), a), kPcdOk);
  ASSERT_EQ(PcdAcquireCodeTable(stored.data(), stored.size(), b), kPcdOk);
  EXPECT_EQ(a, b);
  EXPECT_EQ(PcdCachedCodeTableCount(), before + 1);
  PcdReleaseCodeTable(a);
  EXPECT_EQ(PcdCachedCodeTableCount(), before + 1);
  PcdReleaseCodeTable(b);
  EXPECT_EQ(PcdCachedCodeTableCount(), before);
}

// A bit stream written to a file, read through a bit reader.
class BitStreamTest : public ::testing::Test {
 protected:
  void Open(const Bits& bits) {
    const std::string path = dir_.Write("bits.bin", bits.bytes());
    ASSERT_EQ(PcdFileOpen(path.c_str(), file_), kPcdOk);
    PcdSectorReaderInit(reader_, file_);
    in_ = std::make_unique<BitReader>(reader_);
    ASSERT_EQ(in_->SeekSector(0), kPcdOk);
  }
  void TearDown() override {
    in_.reset();
    if (file_) {
      PcdSectorReaderFree(reader_);
      PcdFileClose(file_);
    }
  }
  std::vector<RowHeader> Headers(const Bits& bits, PcdStatus& last) {
    Open(bits);
    std::vector<RowHeader> found;
    RowHeader h{};
    while ((last = in_->NextHeader(h)) == kPcdOk) found.push_back(h);
    return found;
  }
  TempDir dir_;
  PcdFile* file_ = nullptr;
  SectorReader reader_{};
  std::unique_ptr<BitReader> in_;
};
using SyncTest = BitStreamTest;

// A code with one word of each length 1 to 13: 0, 10, 110, ... twelve ones
// and a zero. Thirteen ones start no code. Word L stands for residual 3L - 20.
Bytes CodeOfEveryLength() {
  Bytes t{12};
  for (int length = 1; length <= 13; ++length) {
    const std::uint32_t word = ((1u << length) - 2) << (16 - length);
    t.insert(t.end(), {static_cast<std::uint8_t>(length - 1), static_cast<std::uint8_t>(word >> 8),
                       static_cast<std::uint8_t>(word), static_cast<std::uint8_t>(3 * length - 20)});
  }
  return t;
}
void PutWord(Bits& bits, int length) { bits.Put((1u << length) - 2, length); }

// Several codes per look-up give what one code at a time gives: rows of every
// length, codes of every length, long codes across look-ups, and a row whose
// bits stop making codes.
TEST_F(BitStreamTest, CodesDecodeAlikeHoweverTheRowsAndLookupsFall) {
  const Bytes stored = CodeOfEveryLength();
  HuffmanTable table;
  ASSERT_EQ(PcdBuildHuffmanTable(stored.data(), stored.size(), table), kPcdOk);
  const std::vector<int> rowLengths = {1, 2, 3, 4, 5, 7, 9, 1536, 6, 3071};
  std::mt19937 rng(7);
  std::vector<int> lengths;
  Bits bits;
  for (int row : rowLengths)
    for (int i = 0; i < row; ++i) {
      const int length = rng() % 4 ? 1 + static_cast<int>(rng() % 3) : 1 + static_cast<int>(rng() % 13);
      lengths.push_back(length);
      PutWord(bits, length);
    }
  const std::size_t damageAt = bits.BitCount() + 2;
  PutWord(bits, 2);
  bits.Put(0x1FFF, 13);  // no code
  PutWord(bits, 1);
  bits.Pad();
  Open(bits);

  std::size_t next = 0;
  for (int row : rowLengths) {
    std::vector<std::int8_t> values(row, 99);
    ASSERT_EQ(in_->Decode(table, row, values.data()), kPcdOk);
    for (int i = 0; i < row; ++i, ++next)
      ASSERT_EQ(values[i], 3 * lengths[next] - 20) << "row of " << row << ", value " << i;
  }
  std::vector<std::int8_t> damaged(8, 99);
  EXPECT_EQ(in_->Decode(table, 8, damaged.data()), kPcdRowBadCode);
  EXPECT_EQ(damaged, (std::vector<std::int8_t>{-14, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(in_->Position(), damageAt);  // the next sync search starts at the bad bits
}

TEST_F(SyncTest, TwentyTwoOnesAreNoSyncTwentyThreeAndMoreAre) {
  Bits bits;
  bits.Put(0x4, 3);  // ends in a zero, so the run below has exactly 22 ones
  bits.Sync(22);
  bits.Header(0, 5);
  bits.Sync(23);
  bits.Header(2, 7);
  bits.Put(0, 13);
  bits.Sync(40);  // longer runs count too, across 64-bit words
  bits.Header(3, 4095);
  for (int i = 0; i < 3000; ++i) bits.Put(0x1E, 5);  // codes with short runs of ones
  bits.Sync(23);
  bits.Header(0, 9);
  PcdStatus last = 0;
  const std::vector<RowHeader> found = Headers(bits, last);
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0].plane, 2);
  EXPECT_EQ(found[0].row, 7);
  EXPECT_EQ(found[1].plane, 3);
  EXPECT_EQ(found[1].row, 4095);
  EXPECT_EQ(found[2].row, 9);
  EXPECT_EQ(last, kPcdEndOfFile);
}

}  // namespace

// A row ends where its last code ends. Zero fill bits may follow before the
// next sync; codes that run into the sync mean the row's bits are wrong, and
// that holds for the first row of a stream too.
TEST_F(BitStreamTest, ARowRunsPastItsEndOnlyWhenItsCodesRunIntoTheNextSync) {
  // 00 -> 0, 01 -> 1, 10 -> 2, 110 -> 3; 111 starts no code.
  const Bytes stored{3, 1, 0x00, 0x00, 0, 1, 0x40, 0x00, 1, 1, 0x80, 0x00, 2, 2, 0xC0, 0x00, 3};
  HuffmanTable table;
  ASSERT_EQ(PcdBuildHuffmanTable(stored.data(), stored.size(), table), kPcdOk);
  enum Ending { kAtSync, kFillBits, kIntoSync, kEndOfData, kNoCode };
  const struct {
    Ending ending;
    PcdStatus status;
  } cases[] = {{kAtSync, kPcdOk}, {kFillBits, kPcdOk}, {kIntoSync, kPcdRowOverrun}, {kEndOfData, kPcdOk},
               {kNoCode, kPcdRowBadCode}};
  constexpr int kWidth = 40;
  for (const auto& c : cases) {
    Bits bits;
    bits.Sync();
    bits.Header(0, 0);
    for (int i = 0; i < kWidth - 1; ++i) bits.Put(i % 3 == 2 ? 6 : i % 3, i % 3 == 2 ? 3 : 2);
    if (c.ending == kIntoSync) bits.Put(0, 1);  // the last code takes the sync's first one
    if (c.ending == kNoCode) bits.Put(7, 3);
    if (c.ending != kIntoSync && c.ending != kNoCode) bits.Put(1, 2);
    if (c.ending == kFillBits) bits.Put(0, 8);
    if (c.ending != kEndOfData) {
      bits.Sync();
      bits.Header(0, 1);
    }
    bits.Pad();
    Open(bits);
    RowHeader header{};
    ASSERT_EQ(in_->NextHeader(header), kPcdOk);
    ResidualStream stream;
    EXPECT_EQ(PcdDecodeRow(*in_, table, kWidth, stream, 0), c.status) << c.ending;
    const int kept = c.status == kPcdOk ? kWidth : c.status == kPcdRowBadCode ? kWidth - 1 : 0;
    for (int i = 0; i < kWidth; ++i)
      ASSERT_EQ(stream.values[i], i < kept ? (i == kWidth - 1 ? 1 : i % 3 == 2 ? 3 : i % 3) : 0) << c.ending << " " << i;
    TearDown();
    file_ = nullptr;
  }
}
