#include "residual_reader.h"

namespace pcdmake_test {

bool CodeTable::Parse(const std::uint8_t* data, std::size_t size) {
  codes_.clear();
  lookup_.assign(1 << 16, {0, 0});
  if (size < 1) return false;
  const std::size_t n = data[0] + 1u;
  if (size < 1 + 4 * n) return false;
  for (std::size_t i = 0; i < n; ++i) {
    const std::uint8_t* e = data + 1 + 4 * i;
    const int length = e[0] + 1;
    if (length > 16) return false;
    const std::uint32_t code = (static_cast<std::uint32_t>(e[1]) << 8 | e[2]) >> (16 - length);
    if (!codes_.emplace(std::make_pair(length, code), static_cast<std::int8_t>(e[3])).second) return false;
    const std::uint32_t first = code << (16 - length), count = 1u << (16 - length);
    for (std::uint32_t k = first; k < first + count; ++k) {
      if (lookup_[k].first) return false;  // not a prefix code
      lookup_[k] = {length, static_cast<std::int8_t>(e[3])};
    }
  }
  return true;
}

int BitReader::Bit() {
  if (AtEnd()) return -1;
  const int b = (bytes_[bit_ / 8] >> (7 - bit_ % 8)) & 1;
  ++bit_;
  return b;
}

std::uint32_t BitReader::Bits(int n) {
  std::uint32_t v = 0;
  for (int i = 0; i < n; ++i) v = v << 1 | static_cast<std::uint32_t>(Bit() > 0);
  return v;
}

int BitReader::NextSync() {
  int ones = 0;
  for (int b; (b = Bit()) >= 0;) {
    if (b) {
      ++ones;
    } else {
      if (ones >= 23) return ones;
      ones = 0;
    }
  }
  return 0;
}

std::uint32_t BitReader::Peek16() const {
  std::uint32_t v = 0;
  for (std::size_t i = bit_; i < bit_ + 16; ++i)
    v = v << 1 | (i / 8 < bytes_.size() ? (bytes_[i / 8] >> (7 - i % 8)) & 1u : 0u);
  return v;
}

bool BitReader::Decode(const CodeTable& table, std::int8_t& value) {
  if (AtEnd()) return false;
  const auto [length, residual] = table.Lookup(Peek16());
  if (!length) return false;
  bit_ += static_cast<std::size_t>(length);
  value = residual;
  return true;
}

}  // namespace pcdmake_test
