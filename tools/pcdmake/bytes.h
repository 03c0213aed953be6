// Big-endian numbers and blank-padded text fields into a byte buffer.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace pcdmake {

inline void PutBe16(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  b[at] = static_cast<std::uint8_t>(v >> 8);
  b[at + 1] = static_cast<std::uint8_t>(v);
}

inline void PutBe32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
  PutBe16(b, at, v >> 16);
  PutBe16(b, at + 2, v & 0xFFFF);
}

// Text cut or padded to size with pad bytes, not terminated.
inline void PutText(std::vector<std::uint8_t>& b, std::size_t at, std::size_t size, const std::string& text,
                    std::uint8_t pad = ' ') {
  for (std::size_t i = 0; i < size; ++i)
    b[at + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : pad;
}

inline void PutBytes(std::vector<std::uint8_t>& b, std::size_t at, const std::vector<std::uint8_t>& data) {
  std::copy(data.begin(), data.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
}

}  // namespace pcdmake
