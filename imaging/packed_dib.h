// A header-and-pixels pair: the 40-byte header with its colour table (or
// bit-field masks) in one block, and the pixel rows, owned or borrowed.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "imaging/dib_types.h"

namespace imaging {

enum class DrawPath { None, Unscaled, Stretched };

class PackedDib {
 public:
  PackedDib() = default;
  PackedDib(const PackedDib&) = delete;
  PackedDib& operator=(const PackedDib&) = delete;

  // Copies a DIB section's header, colour table or masks and pixels. A null
  // handle gives an empty, valid object; a handle that is not a DIB section fails.
  bool copyFrom(BitmapHandle dibSection);
  // An owned copy of another packed DIB's header part and pixels.
  bool copyFrom(const PackedDib& other);
  // Points at the pixels of a packed DIB block (header, colour block, rows)
  // owned elsewhere, such as a locked global-memory DIB; copies the header part.
  bool borrow(const std::uint8_t* block, std::size_t blockSize);
  void reset();

  const DibHeader* header() const;
  const RgbQuad* colours() const;  // null when there is no colour table
  const std::uint8_t* info() const { return info_.empty() ? nullptr : info_.data(); }
  const std::uint8_t* bits() const { return bits_; }
  std::size_t bitsSize() const { return bitsSize_; }
  bool ownsBits() const { return owned_ != nullptr; }

  // How drawing into a destination of this size goes: unscaled when the
  // size equals the bitmap's, stretched otherwise, nothing without pixels.
  DrawPath drawPathFor(int width, int height) const;

 private:
  std::vector<std::uint8_t> info_;
  std::unique_ptr<std::uint8_t[]> owned_;
  const std::uint8_t* bits_ = nullptr;
  std::size_t bitsSize_ = 0;
};

}  // namespace imaging
