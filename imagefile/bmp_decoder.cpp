#include "imagefile/bmp_decoder.h"

#include <algorithm>
#include <vector>

#include "imagefile/byte_order.h"
#include "imagefile/image_errors.h"
#include "imaging/dib_format.h"

namespace imagefile {

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kCoreHeaderSize = 12;  // OS/2 1.x: 16-bit sizes, 3-byte colour entries
constexpr int kMaxSide = 32767;                // frame sizes are 16-bit

class BmpDecoder final : public FormatDecoder {
 public:
  int open(ImageSource& source, int* pageCount) override;
  int selectPage(int page, imaging::SourceDescription& description) override;
  int beginRows(imaging::OutputStage& stage) override;
  int deliverRows(imaging::OutputStage& stage, int count) override;
  void end() override {
    fileRow_.clear();
    outRow_.clear();
  }

 private:
  int readHeaders();
  int readPalette(std::uint32_t offset, int entrySize, int declared);
  const std::uint8_t* convertRow();

  ImageSource* source_ = nullptr;
  int width_ = 0, height_ = 0, bits_ = 0;
  bool topDown_ = false;
  std::uint32_t dataOffset_ = 0;
  std::size_t stride_ = 0;
  std::vector<imaging::RgbTriple> palette_;
  bool grey_ = false;
  std::vector<std::uint8_t> fileRow_, outRow_;
  int outHeight_ = 0, nextRow_ = 0;
};

int BmpDecoder::open(ImageSource& source, int* pageCount) {
  source_ = &source;
  int status = readHeaders();
  if (status == kImageOk) *pageCount = 1;
  return status;
}

int BmpDecoder::readHeaders() {
  std::uint8_t head[kFileHeaderSize + 40];
  if (source_->size() < kFileHeaderSize + kCoreHeaderSize) return kImageBadHeader;
  if (!source_->read(0, head, kFileHeaderSize + 4)) return kImageReadFailure;
  if (!((head[0] == 'B' && head[1] == 'M') || (head[0] == 'M' && head[1] == 'B'))) return kImageBadHeader;
  dataOffset_ = readLe32(head + 10);
  std::uint32_t infoSize = readLe32(head + 14);
  unsigned planes, compression = 0, coloursUsed = 0;
  std::int64_t height;
  int entrySize;
  if (infoSize == kCoreHeaderSize) {
    if (!source_->read(kFileHeaderSize, head + kFileHeaderSize, kCoreHeaderSize)) return kImageTruncated;
    width_ = readLe16(head + 18);
    height = readLe16(head + 20);
    planes = readLe16(head + 22);
    bits_ = readLe16(head + 24);
    entrySize = 3;
  } else if (infoSize >= 40 && infoSize <= 124) {
    if (!source_->read(kFileHeaderSize, head + kFileHeaderSize, 40)) return kImageTruncated;
    width_ = static_cast<std::int32_t>(readLe32(head + 18));
    height = static_cast<std::int32_t>(readLe32(head + 22));
    planes = readLe16(head + 26);
    bits_ = readLe16(head + 28);
    compression = readLe32(head + 30);
    coloursUsed = readLe32(head + 46);
    entrySize = 4;
  } else {
    return kImageBadHeader;
  }
  if (width_ <= 0 || height == 0 || planes != 1) return kImageBadHeader;
  topDown_ = height < 0;
  if (width_ > kMaxSide || height > kMaxSide || height < -kMaxSide) return kImageTooWide;
  height_ = static_cast<int>(topDown_ ? -height : height);
  if (bits_ != 1 && bits_ != 4 && bits_ != 8 && bits_ != 16 && bits_ != 24 && bits_ != 32)
    return kImageMissingFeature;
  if (compression != 0) return kImageMissingFeature;  // run-length and bit-field files are not read
  if (bits_ <= 8) {
    int entries = 1 << bits_;
    int declared = coloursUsed != 0 && coloursUsed < static_cast<unsigned>(entries) ? static_cast<int>(coloursUsed) : entries;
    palette_.assign(entries, imaging::RgbTriple{});  // entries the file omits stay black
    int status = readPalette(kFileHeaderSize + infoSize, entrySize, declared);
    if (status != kImageOk) return status;
  }
  stride_ = imaging::dibStride(width_, bits_);
  if (static_cast<std::uint64_t>(dataOffset_) + stride_ * static_cast<std::uint64_t>(height_) > source_->size())
    return kImageTruncated;
  return kImageOk;
}

int BmpDecoder::readPalette(std::uint32_t offset, int entrySize, int declared) {
  int entries = static_cast<int>(palette_.size());
  std::vector<std::uint8_t> table(static_cast<std::size_t>(entries) * entrySize);
  // Read the declared entries, but never past the start of the pixels.
  std::uint64_t available = dataOffset_ > offset ? dataOffset_ - offset : 0;
  int stored = static_cast<int>(std::min<std::uint64_t>(available / entrySize, static_cast<std::uint64_t>(declared)));
  if (stored > 0 && !source_->read(offset, table.data(), static_cast<std::size_t>(stored) * entrySize))
    return kImageTruncated;
  grey_ = stored == entries;
  for (int i = 0; i < stored; ++i) {
    const std::uint8_t* e = &table[static_cast<std::size_t>(i) * entrySize];
    palette_[i] = imaging::RgbTriple{e[2], e[1], e[0]};
    auto ramp = static_cast<std::uint8_t>(i * 255 / (entries - 1));
    grey_ = grey_ && e[0] == ramp && e[1] == ramp && e[2] == ramp;
  }
  return kImageOk;
}

int BmpDecoder::selectPage(int page, imaging::SourceDescription& description) {
  if (page != 0) return kImagePageMissing;
  description = imaging::SourceDescription{};
  description.width = width_;
  description.height = height_;
  description.bits = bits_;
  description.greyScale = grey_;
  if (bits_ <= 8 && !grey_) description.palette = palette_;
  description.colourType = grey_ ? kColourGrey : bits_ <= 8 ? kColourPalette : kColourTrue;
  return kImageOk;
}

int BmpDecoder::beginRows(imaging::OutputStage& stage) {
  outHeight_ = stage.outHeight();
  nextRow_ = 0;
  fileRow_.assign(stride_, 0);
  outRow_.assign(static_cast<std::size_t>(width_) * 3 + 4, 0);
  return kImageOk;
}

const std::uint8_t* BmpDecoder::convertRow() {
  std::uint8_t* out = outRow_.data();
  const std::uint8_t* in = fileRow_.data();
  switch (bits_) {
    case 4:  // one index a byte
      for (int x = 0; x < width_; ++x) out[x] = (x & 1) ? in[x >> 1] & 0x0F : in[x >> 1] >> 4;
      return out;
    case 16:  // bit 15 is not part of a 5-5-5 pixel
      for (int x = 0; x < width_; ++x) {
        out[2 * x] = in[2 * x];
        out[2 * x + 1] = in[2 * x + 1] & 0x7F;
      }
      return out;
    case 32:  // drop the fourth byte
      for (int x = 0; x < width_; ++x)
        for (int c = 0; c < 3; ++c) out[3 * x + c] = in[4 * x + c];
      return out;
    default:
      return in;
  }
}

int BmpDecoder::deliverRows(imaging::OutputStage& stage, int count) {
  for (int k = 0; k < count && nextRow_ < outHeight_; ++k, ++nextRow_) {
    // Rows beyond the output height are skipped; each output row takes the
    // source row at its centre.
    int imageRow = static_cast<int>((2LL * nextRow_ + 1) * height_ / (2LL * outHeight_));
    int fileRow = topDown_ ? imageRow : height_ - 1 - imageRow;
    if (!source_->read(dataOffset_ + stride_ * static_cast<std::uint64_t>(fileRow), fileRow_.data(), stride_))
      return kImageReadFailure;
    if (!stage.putRow(convertRow(), nextRow_)) return stage.error();
  }
  return kImageOk;
}

}  // namespace

std::unique_ptr<FormatDecoder> createBmpDecoder() { return std::make_unique<BmpDecoder>(); }

}  // namespace imagefile
