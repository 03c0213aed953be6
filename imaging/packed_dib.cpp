#include "imaging/packed_dib.h"

#include <cstring>
#include <new>

#include "imaging/dib_format.h"
#include "imaging/gdi_backend.h"

namespace imaging {

bool PackedDib::copyFrom(BitmapHandle dibSection) {
  reset();
  if (!dibSection) return true;
  DibSectionInfo section;
  if (!describeDibSection(dibSection, section)) return false;
  DibHeader header = section.header;
  header.size = 40;
  std::size_t bytes = dibImageSize(header);
  std::unique_ptr<std::uint8_t[]> pixels(new (std::nothrow) std::uint8_t[bytes ? bytes : 1]);
  if (!bytes || !pixels) return false;
  std::size_t block = colourBlockSize(header);
  info_.resize(sizeof header + block);
  std::memcpy(info_.data(), &header, sizeof header);
  std::memcpy(info_.data() + sizeof header,
              header.compression == kBiBitfields ? static_cast<const void*>(section.masks) : section.colours, block);
  std::memcpy(pixels.get(), section.bits, bytes);
  owned_ = std::move(pixels);
  bits_ = owned_.get();
  bitsSize_ = bytes;
  return true;
}

bool PackedDib::copyFrom(const PackedDib& other) {
  if (&other == this) return true;
  reset();
  if (!other.bits_) return true;
  std::unique_ptr<std::uint8_t[]> pixels(new (std::nothrow) std::uint8_t[other.bitsSize_]);
  if (!pixels) return false;
  std::memcpy(pixels.get(), other.bits_, other.bitsSize_);
  info_ = other.info_;
  owned_ = std::move(pixels);
  bits_ = owned_.get();
  bitsSize_ = other.bitsSize_;
  return true;
}

bool PackedDib::borrow(const std::uint8_t* block, std::size_t blockSize) {
  reset();
  DibHeader header;
  if (!block || blockSize < sizeof header) return false;
  std::memcpy(&header, block, sizeof header);
  std::size_t colours = colourBlockSize(header);
  // A 24-bit block may carry a display palette after its header.
  if (header.bitCount > 8 && header.clrUsed > 0 && header.clrUsed <= 256 && header.compression == kBiRgb)
    colours = header.clrUsed * sizeof(RgbQuad);
  std::size_t bytes = dibImageSize(header);
  if (header.size != 40 || bytes == 0 || blockSize - sizeof header < colours ||
      blockSize - sizeof header - colours < bytes)
    return false;
  info_.assign(block, block + sizeof header + colours);
  bits_ = block + sizeof header + colours;
  bitsSize_ = bytes;
  return true;
}

void PackedDib::reset() {
  info_.clear();
  owned_.reset();
  bits_ = nullptr;
  bitsSize_ = 0;
}

const DibHeader* PackedDib::header() const {
  return info_.empty() ? nullptr : reinterpret_cast<const DibHeader*>(info_.data());
}

const RgbQuad* PackedDib::colours() const {
  const DibHeader* h = header();
  if (!h || h->compression == kBiBitfields || info_.size() == sizeof(DibHeader)) return nullptr;
  return reinterpret_cast<const RgbQuad*>(info_.data() + sizeof(DibHeader));
}

DrawPath PackedDib::drawPathFor(int width, int height) const {
  const DibHeader* h = header();
  if (!h || !bits_) return DrawPath::None;
  return width == h->width && height == absHeight(*h) ? DrawPath::Unscaled : DrawPath::Stretched;
}

}  // namespace imaging
