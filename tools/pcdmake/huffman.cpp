#include "huffman.h"

#include <algorithm>
#include <queue>

namespace pcdmake {
namespace {

constexpr int kReserved = 256;  // the stand-in symbol that takes the all-ones code

// Plain Huffman code lengths for the weights given (all above zero).
std::vector<int> HuffmanLengths(const std::vector<std::uint64_t>& weights) {
  const int n = static_cast<int>(weights.size());
  std::vector<int> parent(2 * n, -1);
  using Node = std::pair<std::uint64_t, int>;
  std::priority_queue<Node, std::vector<Node>, std::greater<Node>> queue;
  for (int i = 0; i < n; ++i) queue.push({weights[i], i});
  int next = n;
  while (queue.size() > 1) {
    const Node a = queue.top(); queue.pop();
    const Node b = queue.top(); queue.pop();
    parent[a.second] = parent[b.second] = next;
    queue.push({a.first + b.first, next++});
  }
  std::vector<int> lengths(n, 0);
  for (int i = 0; i < n; ++i)
    for (int p = parent[i]; p >= 0; p = parent[p]) ++lengths[i];
  return lengths;
}

// The four rarest residuals move below the code of the rarest one, as that
// code followed by ones up to 12 bits and then 1, 2, 3 or 4 more bits ending
// in a zero: codes of 13 to 16 bits. They start like the code they replace
// and end in a zero, so runs of ones stay as short as before; the codes the
// other three leave unused are never written.
void Lengthen(HuffmanTable& table, const std::array<std::uint64_t, 256>& counts) {
  std::vector<int> rare;
  for (int v = 0; v < 256; ++v)
    if (table.codes[v].length) rare.push_back(v);
  std::stable_sort(rare.begin(), rare.end(), [&](int a, int b) { return counts[a] < counts[b]; });
  if (rare.size() > 4) rare.resize(4);
  if (rare.empty()) return;
  const HuffmanCode split = table.codes[rare[0]];
  for (std::size_t k = 0; k < rare.size(); ++k) {
    const int ones = kMaxCodeLength - split.length + static_cast<int>(k);
    const int length = kMaxCodeLength + 1 + static_cast<int>(k);
    const std::uint32_t tail = ((1u << ones) - 1) << 1;  // the ones, then a zero
    table.codes[rare[k]] = {length, static_cast<std::uint16_t>(split.bits << (ones + 1) | tail)};
  }
}

// The stored form: count - 1, then the codes by length and value.
void Store(HuffmanTable& table) {
  std::vector<int> order;
  for (int v = 0; v < 256; ++v)
    if (table.codes[v].length) order.push_back(v);
  std::sort(order.begin(), order.end(), [&](int a, int b) {
    const HuffmanCode &x = table.codes[a], &y = table.codes[b];
    return x.length != y.length ? x.length < y.length : x.bits < y.bits;
  });
  table.stored.assign(1, static_cast<std::uint8_t>(order.size() - 1));
  for (int v : order) {
    const HuffmanCode& c = table.codes[v];
    const std::uint16_t aligned = static_cast<std::uint16_t>(c.bits << (16 - c.length));
    table.stored.insert(table.stored.end(), {static_cast<std::uint8_t>(c.length - 1), static_cast<std::uint8_t>(aligned >> 8),
                                             static_cast<std::uint8_t>(aligned & 0xFF), static_cast<std::uint8_t>(v)});
  }
}

}  // namespace

HuffmanTable BuildHuffmanTable(const std::array<std::uint64_t, 256>& counts, bool longCodes) {
  std::vector<int> symbols;
  std::vector<std::uint64_t> weights;
  for (int v = 0; v < 256; ++v)
    if (counts[v]) { symbols.push_back(v); weights.push_back(counts[v]); }
  if (symbols.empty()) { symbols.push_back(0); weights.push_back(1); }
  symbols.push_back(kReserved);
  weights.push_back(1);

  // Flatten the weights until the code fits the length limit.
  std::vector<int> lengths = HuffmanLengths(weights);
  while (*std::max_element(lengths.begin(), lengths.end()) > kMaxCodeLength) {
    for (auto& w : weights) w = (w >> 1) | 1;
    lengths = HuffmanLengths(weights);
  }
  // The reserved symbol takes a longest code and is sorted last among them,
  // so canonical numbering gives it the all-ones code.
  const int reserved = static_cast<int>(symbols.size()) - 1;
  const int longest = static_cast<int>(std::max_element(lengths.begin(), lengths.end()) - lengths.begin());
  std::swap(lengths[reserved], lengths[longest]);

  std::vector<int> order(symbols.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
    if (lengths[a] != lengths[b]) return lengths[a] < lengths[b];
    return (a == reserved) < (b == reserved);
  });

  HuffmanTable table;
  std::uint32_t code = 0;
  int length = lengths[order[0]];
  for (std::size_t k = 0; k < order.size(); ++k) {
    const int i = order[k];
    code <<= lengths[i] - length;
    length = lengths[i];
    if (i != reserved) table.codes[symbols[i]] = {length, static_cast<std::uint16_t>(code)};
    ++code;
  }
  if (longCodes) Lengthen(table, counts);
  Store(table);
  return table;
}

void BitWriter::Put(std::uint32_t bits, int count) {
  accumulator_ = (accumulator_ << count) | (bits & ((1ull << count) - 1));
  pendingBits_ += count;
  while (pendingBits_ >= 8) {
    pendingBits_ -= 8;
    bytes_.push_back(static_cast<std::uint8_t>(accumulator_ >> pendingBits_));
  }
  bitCount_ += count;
}

void BitWriter::PutSync() { Put(0xFFFFFE, 24); }

void BitWriter::PutRowHeader(int plane, int row) {
  Put(static_cast<std::uint32_t>((plane & 3) << 14 | (row & 0xFFF) << 1), 16);
}

std::array<std::uint64_t, 256> CountResiduals(const std::vector<std::int8_t>& values) {
  std::array<std::uint64_t, 256> counts{};
  for (std::int8_t v : values) ++counts[static_cast<std::uint8_t>(v)];
  return counts;
}

void BitWriter::PutRow(const HuffmanTable& table, int plane, int row, const std::int8_t* values, int count) {
  PutSync();
  PutRowHeader(plane, row);
  for (int i = 0; i < count; ++i) {
    const HuffmanCode& c = table.codes[static_cast<std::uint8_t>(values[i])];
    Put(c.bits, c.length);
  }
}

void BitWriter::PadToByte() {
  if (pendingBits_) Put(0, 8 - pendingBits_);
}

}  // namespace pcdmake
