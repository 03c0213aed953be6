#include "huffman.h"

#include <gtest/gtest.h>

#include <random>

#include "residual_reader.h"

namespace pcdmake {
namespace {

// Longest run of one bits in a bit string made of codes and nothing else.
int LongestRun(const BitWriter& w) {
  int longest = 0, run = 0;
  for (std::uint64_t i = 0; i < w.BitPosition(); ++i) {
    const int bit = (w.Bytes()[i / 8] >> (7 - i % 8)) & 1;
    run = bit ? run + 1 : 0;
    longest = std::max(longest, run);
  }
  return longest;
}

std::array<std::uint64_t, 256> Fibonacci(int symbols) {
  std::array<std::uint64_t, 256> counts{};
  std::uint64_t a = 1, b = 1;
  for (int i = 0; i < symbols; ++i) {
    counts[static_cast<std::uint8_t>(i - symbols / 2)] = a;
    const std::uint64_t next = a + b;
    a = b;
    b = next;
  }
  return counts;
}

TEST(HuffmanTable, SkewedCountsStayWithinLengthLimitAndAvoidAllOnes) {
  // Fibonacci counts make plain Huffman codes as long as the alphabet.
  const HuffmanTable t = BuildHuffmanTable(Fibonacci(60));
  double kraft = 0;
  int entries = 0;
  for (const HuffmanCode& c : t.codes) {
    if (!c.length) continue;
    ++entries;
    EXPECT_LE(c.length, kMaxCodeLength);
    EXPECT_NE(c.bits, (1u << c.length) - 1) << "an all-ones code of length " << c.length;
    kraft += 1.0 / (1 << c.length);
  }
  EXPECT_EQ(entries, 60);
  // Complete apart from the one reserved all-ones code of the longest length.
  int longest = 0;
  for (const HuffmanCode& c : t.codes) longest = std::max(longest, c.length);
  EXPECT_DOUBLE_EQ(kraft + 1.0 / (1 << longest), 1.0);
}

TEST(HuffmanTable, StoredFormIsAPrefixCodeThatDecodesBack) {
  std::array<std::uint64_t, 256> counts{};
  std::mt19937 random(5);
  std::vector<std::int8_t> values;
  for (int i = 0; i < 20000; ++i) {
    const int v = static_cast<int>(std::lround(std::normal_distribution<>(0, 6)(random)));
    values.push_back(static_cast<std::int8_t>(std::clamp(v, -127, 127)));
    ++counts[static_cast<std::uint8_t>(values.back())];
  }
  const HuffmanTable t = BuildHuffmanTable(counts);
  pcdmake_test::CodeTable parsed;
  ASSERT_TRUE(parsed.Parse(t.stored.data(), t.stored.size()));  // Parse refuses overlapping codes
  EXPECT_EQ(parsed.StoredSize(), t.stored.size());
  EXPECT_EQ(t.stored[0] + 1u, parsed.Codes().size());

  BitWriter w;
  for (std::int8_t v : values) w.Put(t.codes[static_cast<std::uint8_t>(v)].bits, t.codes[static_cast<std::uint8_t>(v)].length);
  w.PadToByte();
  pcdmake_test::BitReader r(w.Bytes(), 0);
  for (std::int8_t v : values) {
    std::int8_t got;
    ASSERT_TRUE(r.Decode(parsed, got));
    ASSERT_EQ(got, v);
  }
}

TEST(HuffmanTable, NoSequenceOfCodesFakesASync) {
  // Worst case for runs: long codes with many leading or trailing ones.
  const HuffmanTable t = BuildHuffmanTable(Fibonacci(40));
  std::vector<int> symbols;
  for (int v = 0; v < 256; ++v)
    if (t.codes[v].length) symbols.push_back(v);
  BitWriter w;
  std::mt19937 random(11);
  for (int i = 0; i < 200000; ++i) {
    const HuffmanCode& c = t.codes[symbols[random() % symbols.size()]];
    w.Put(c.bits, c.length);
  }
  for (int a : symbols)  // every pair of codes, the longest first
    for (int b : symbols) {
      w.Put(t.codes[a].bits, t.codes[a].length);
      w.Put(t.codes[b].bits, t.codes[b].length);
    }
  EXPECT_LT(LongestRun(w), 23);
}

TEST(HuffmanTable, LongCodesGoToTheRarestResidualsWithoutFakingASync) {
  const std::array<std::uint64_t, 256> counts = Fibonacci(30);
  const HuffmanTable t = BuildHuffmanTable(counts, true);
  pcdmake_test::CodeTable parsed;
  ASSERT_TRUE(parsed.Parse(t.stored.data(), t.stored.size()));
  std::vector<int> symbols;
  for (int v = 0; v < 256; ++v)
    if (t.codes[v].length) symbols.push_back(v);
  ASSERT_EQ(symbols.size(), 30u);
  for (int length = 13; length <= kMaxLongCodeLength; ++length) {
    const int v = static_cast<int>(std::find_if(t.codes.begin(), t.codes.end(), [&](const HuffmanCode& c) {
                                     return c.length == length;
                                   }) - t.codes.begin());
    ASSERT_LT(v, 256) << "no code of " << length << " bits";
    EXPECT_LE(counts[v], counts[static_cast<std::uint8_t>(-12)]) << "residual " << v << " is not among the four rarest";
  }
  BitWriter w;
  for (int a : symbols)
    for (int b : symbols) {
      w.Put(t.codes[a].bits, t.codes[a].length);
      w.Put(t.codes[b].bits, t.codes[b].length);
    }
  EXPECT_LT(LongestRun(w), 23);
}

TEST(HuffmanTable, SingleResidualStillGetsAValidTable) {
  std::array<std::uint64_t, 256> counts{};
  counts[0] = 1000;
  const HuffmanTable t = BuildHuffmanTable(counts);
  EXPECT_EQ(t.stored, (std::vector<std::uint8_t>{0x00, 0x00, 0x00, 0x00, 0x00}));  // one entry: length 1, code 0, residual 0
}

TEST(BitWriter, SyncAndHeaderLayout) {
  BitWriter w;
  w.PutSync();
  w.PutRowHeader(3, 2047);
  EXPECT_EQ(w.Bytes(), (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFE, 0xCF, 0xFE}));
}

}  // namespace
}  // namespace pcdmake
