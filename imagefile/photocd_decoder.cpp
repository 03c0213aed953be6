#include "imagefile/photocd_decoder.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "damage_report.h"
#include "image_decode.h"
#include "imagefile/format_signatures.h"
#include "imagefile/image_errors.h"
#include "imagefile/photocd_colour.h"
#include "imagefile/photocd_levels.h"
#include "imagefile/requested_level.h"
#include "pcd_layout.h"

namespace imagefile {

namespace {

constexpr std::size_t kRotationOffset = pcd::kAttributeOffset + pcd::kAttrRotationByte;
constexpr std::size_t kReadBufferLimit = 65000;  // base rows are read in whole row pairs up to this
constexpr int kBandLines = 16;                   // lines per toolkit call
const std::uint32_t kBaseLevelOffsets[] = {pcd::kBase16Offset, pcd::kBase4Offset, pcd::kBaseOffset};

struct PackCloser {
  void operator()(ImagePack* pack) const { PcdCloseImagePack(pack); }
};
using PackHandle = std::unique_ptr<ImagePack, PackCloser>;

class PhotoCdDecoder final : public FormatDecoder {
 public:
  int open(ImageSource& source, int* pageCount) override;
  int selectPage(int page, imaging::SourceDescription& description) override;
  void setThreads(int threads) override { threads_ = threads; }
  void setLevel(int level) override { level_ = level; }
  void setRollOffBaseLevels(bool rollOff) override { colour_.setRollOff(rollOff); }
  DecodeDamage damage() const override;
  int beginRows(imaging::OutputStage& stage) override;
  int deliverRows(imaging::OutputStage& stage, int count) override;
  void end() override;

 private:
  bool quarterTurn() const { return (rotation_ & 1) != 0; }
  // Stored size of the chosen level (display width and height exchanged for quarter turns).
  int displayWidth() const { return quarterTurn() ? height_ : width_; }
  int displayHeight() const { return quarterTurn() ? width_ : height_; }
  // The level line (stored row) at the centre of delivered line `line`.
  int centreOf(int line) const {
    return static_cast<int>((2LL * line + 1) * height_ / (2LL * lines_));
  }
  int topEntry();
  int startBase();
  int startToolkit();
  int deliverBaseLine(imaging::OutputStage& stage, int n);
  int deliverToolkitLine(imaging::OutputStage& stage, int n);
  int fillReadBuffer(int pair);
  int fetchBand(int band);
  int fetchBandFromBelow(const OutputRect& rect, std::ptrdiff_t stride, PcdStatus why);
  int put(imaging::OutputStage& stage, const std::uint8_t* data, int line);

  ImageSource* source_ = nullptr;
  PackHandle pack_;
  std::uint16_t mask_ = 0;  // levels the pack offers, less those found unreadable
  std::uint16_t offered_ = 0;  // levels the pack offers
  int wantedTop_ = kPcdBaseEntry;  // the top entry had every offered level been readable
  bool lowerLevel_ = false;        // some of the picture comes from a lower level than chosen
  std::vector<std::string> fallbacks_;  // why
  int rotation_ = 0;
  int lastEntry_ = kPcdBaseEntry;
  int entry_ = 0;
  int threads_ = 1;
  int level_ = -1;  // the decode request's level; -1 = the program's
  int wantedLevel() const { return level_ >= 0 ? level_ : g_requestedPcdLevel; }
  int width_ = 0, height_ = 0;  // stored size of the chosen level
  int lines_ = 0, next_ = 0;    // lines to deliver (rows, or columns for quarter turns), next one
  PcdReaderColour colour_;
  std::vector<std::uint8_t> line_;

  // Base levels: the whole level from the toolkit (zeroed sectors filled in),
  // read from entry readEntry_ and enlarged when that is below entry_; without
  // the toolkit, whole row pairs read into one buffer.
  const std::uint8_t* basePairs_ = nullptr;
  int readEntry_ = 0;
  std::uint64_t levelOffset_ = 0;
  std::vector<std::uint8_t> readBuffer_;
  int bufferFirstPair_ = 0, bufferPairs_ = 0;

  // Toolkit levels: the current band of 16 rows, or for quarter turns the
  // current strip of 16 columns regrouped into 16 lines.
  std::vector<std::uint8_t> band_, strip_;
  int currentBand_ = -1;
};

int PhotoCdDecoder::open(ImageSource& source, int* pageCount) {
  source_ = &source;
  std::uint8_t head[pcd::kHeaderSize];
  if (source.size() < sizeof head || !source.read(0, head, sizeof head)) return kImageBadHeader;
  if (!looksLikePhotoCd(head, sizeof head, source.size(), source.extension())) return kImageBadHeader;
  rotation_ = head[kRotationOffset] & pcd::kAttrRotationMask;
  pack_.reset();
  mask_ = 0;
  ImagePack* pack = nullptr;
  if (!source.path().empty() && PcdOpenImagePack(source.path().c_str(), pack) == kPcdOk) {
    pack_.reset(pack);
    int count = 0;
    PcdGetResolutionMask(pack, mask_, count);
  }
  offered_ = mask_;
  *pageCount = 1;
  return kImageOk;
}

// The highest entry at the decode request's level (or the program's, read at
// each page selection) whose data the toolkit can read: a level the file
// ends before, or whose extension files do not open or fit, gives way to the
// next lower one, so that what is announced is what can be shown.
int PhotoCdDecoder::topEntry() {
  if (!pack_) return kPcdBaseEntry;
  for (;;) {
    const int entry = PcdTopEntry(mask_, wantedLevel());
    const PcdStatus status = PcdCheckLevel(pack_.get(), PcdEntryLevel(entry));
    if (status == kPcdOk || entry == 0) return entry;
    fallbacks_.push_back(std::string(PcdLevelName(PcdEntryLevel(entry))) + " cannot be read: " + PcdStatusText(status));
    mask_ = static_cast<std::uint16_t>(mask_ & ~(1u << PcdEntryLevel(entry)));
  }
}

int PhotoCdDecoder::selectPage(int page, imaging::SourceDescription& description) {
  if (page != 0) return kImagePageMissing;
  fallbacks_.clear();
  wantedTop_ = pack_ ? PcdTopEntry(offered_, wantedLevel()) : kPcdBaseEntry;
  lastEntry_ = topEntry();
  width_ = PcdEntryWidth(lastEntry_);
  height_ = PcdEntryHeight(lastEntry_);
  description = imaging::SourceDescription{};
  description.width = displayWidth();
  description.height = displayHeight();
  description.bits = 24;
  description.columnMode = quarterTurn();
  description.colourType = kColourTrue;
  return kImageOk;
}

int PhotoCdDecoder::beginRows(imaging::OutputStage& stage) {
  entry_ = PcdDecodeEntry(lastEntry_, quarterTurn(), stage.outWidth(), stage.outHeight());
  // Lower than asked for: a smaller level than the output needs, or the whole
  // announced photo where a level above could not be read.
  lowerLevel_ = entry_ < PcdDecodeEntry(wantedTop_, quarterTurn(), stage.outWidth(), stage.outHeight()) ||
                (entry_ == lastEntry_ && lastEntry_ < wantedTop_);
  if (pack_) PcdClearDamage(pack_.get());
  width_ = PcdEntryWidth(entry_);
  height_ = PcdEntryHeight(entry_);
  if (!stage.resizeSource(displayWidth(), displayHeight())) return kImageCannotStart;
  lines_ = quarterTurn() ? stage.outWidth() : stage.outHeight();
  next_ = 0;
  line_.assign(static_cast<std::size_t>(width_) * 3, 0);
  return entry_ >= kPcdFirstToolkitEntry ? startToolkit() : startBase();
}

int PhotoCdDecoder::startBase() {
  basePairs_ = nullptr;
  if (pack_) {
    // A level that the file holds nothing of gives way to the next lower one, enlarged.
    for (readEntry_ = entry_; readEntry_ >= 0; --readEntry_) {
      const PcdStatus status = PcdReadBaseLevel(pack_.get(), PcdEntryLevel(readEntry_), basePairs_);
      if (status == kPcdOk) break;
      fallbacks_.push_back(std::string(PcdLevelName(PcdEntryLevel(readEntry_))) + " cannot be read: " +
                           PcdStatusText(status));
    }
    if (readEntry_ < 0) return kImageCannotStart;
    lowerLevel_ = lowerLevel_ || readEntry_ < entry_;
    return kImageOk;
  }
  levelOffset_ = kBaseLevelOffsets[entry_];
  if (levelOffset_ >= source_->size()) return kImageCannotStart;
  const std::size_t pairBytes = pcd::RowPairBytes(width_);
  readBuffer_.assign(kReadBufferLimit / pairBytes * pairBytes, 0);
  bufferFirstPair_ = 0;
  bufferPairs_ = 0;
  return kImageOk;
}

int PhotoCdDecoder::startToolkit() {
  if (!pack_ || PcdSetFormat(pack_.get(), static_cast<int>(OutputFormat::Rgb24)) != kPcdOk ||
      PcdSetResolution(pack_.get(), PcdEntryLevel(entry_)) != kPcdOk ||
      PcdSetDecodeThreads(pack_.get(), threads_) != kPcdOk)
    return kImageCannotStart;
  // Rows: 16 rows of the level. Quarter turns: all rows of 16 columns, and
  // the same pixels regrouped as 16 columns.
  const std::size_t pixels = static_cast<std::size_t>(kBandLines) * width_;
  band_.assign(pixels * 3, 0);
  strip_.assign(quarterTurn() ? pixels * 3 : 0, 0);
  currentBand_ = -1;
  return kImageOk;
}

int PhotoCdDecoder::deliverRows(imaging::OutputStage& stage, int count) {
  for (int k = 0; k < count && next_ < lines_; ++k, ++next_) {
    const int status = entry_ >= kPcdFirstToolkitEntry ? deliverToolkitLine(stage, next_) : deliverBaseLine(stage, next_);
    if (status != kImageOk) return status;
  }
  return kImageOk;
}

int PhotoCdDecoder::put(imaging::OutputStage& stage, const std::uint8_t* data, int line) {
  const bool stored = quarterTurn() ? stage.putColumn(data, line) : stage.putRow(data, line);
  return stored ? kImageOk : stage.error();
}

// Stored rows are read in file order. Code 0 delivers row k as row k, code 1
// reversed as column k, code 2 reversed as row height - 1 - k and code 3 as
// column height - 1 - k; codes 2 and 3 therefore deliver their last line first.
int PhotoCdDecoder::deliverBaseLine(imaging::OutputStage& stage, int n) {
  const bool backward = rotation_ >= 2;
  const int line = backward ? lines_ - 1 - n : n;
  const int row = backward ? height_ - 1 - centreOf(line) : centreOf(line);
  if (basePairs_) {
    // Rows of the level read, each pixel repeated when it lies below entry_.
    const int shift = entry_ - readEntry_, width = width_ >> shift, source = row >> shift;
    const std::uint8_t* p = basePairs_ + static_cast<std::size_t>(source / 2) * pcd::RowPairBytes(width);
    const std::uint8_t* chroma1 = p + 2 * width;
    colour_.convertRow(p + (source & 1) * width, chroma1, chroma1 + width / 2, width, line_.data(),
                       rotation_ == 1 || rotation_ == 2);
    for (int x = width_ - 1; shift && x >= 0; --x) std::memmove(&line_[3 * x], &line_[3 * (x >> shift)], 3);
    return put(stage, line_.data(), line);
  }
  const int pair = row / 2;
  if (pair < bufferFirstPair_ || pair >= bufferFirstPair_ + bufferPairs_) {
    const int status = fillReadBuffer(pair);
    if (status != kImageOk) return status;
  }
  const std::uint8_t* p = readBuffer_.data() + static_cast<std::size_t>(pair - bufferFirstPair_) * pcd::RowPairBytes(width_);
  const std::uint8_t* chroma1 = p + 2 * width_;
  colour_.convertRow(p + (row & 1) * width_, chroma1, chroma1 + width_ / 2, width_, line_.data(),
                     rotation_ == 1 || rotation_ == 2);
  return put(stage, line_.data(), line);
}

int PhotoCdDecoder::fillReadBuffer(int pair) {
  const std::uint64_t pairBytes = pcd::RowPairBytes(width_);
  const std::uint64_t offset = levelOffset_ + pair * pairBytes;
  const std::uint64_t size = source_->size();
  std::uint64_t pairs = std::min<std::uint64_t>(readBuffer_.size() / pairBytes, height_ / 2 - pair);
  pairs = offset < size ? std::min(pairs, (size - offset) / pairBytes) : 0;  // a cut file: what it still holds
  if (pairs == 0 || !source_->read(offset, readBuffer_.data(), static_cast<std::size_t>(pairs * pairBytes)))
    return kImageLineError;
  bufferFirstPair_ = pair;
  bufferPairs_ = static_cast<int>(pairs);
  return kImageOk;
}

// The toolkit turns the picture itself; lines go out in display order. It
// writes bottom-up: band row 15 - j is the band's row j, and in a strip the
// last buffer row is the top of the picture.
int PhotoCdDecoder::deliverToolkitLine(imaging::OutputStage& stage, int n) {
  const int displayLine = centreOf(n);
  const int band = displayLine / kBandLines;
  if (band != currentBand_) {
    const int status = fetchBand(band);
    if (status != kImageOk) return status;
  }
  const int j = displayLine - band * kBandLines;
  const std::size_t lineBytes = static_cast<std::size_t>(width_) * 3;
  const std::uint8_t* data = quarterTurn() ? strip_.data() + j * lineBytes : band_.data() + (kBandLines - 1 - j) * lineBytes;
  return put(stage, data, n);
}

int PhotoCdDecoder::fetchBand(int band) {
  const int first = band * kBandLines;
  OutputRect rect;
  std::ptrdiff_t stride;
  if (quarterTurn()) {
    rect = {0, static_cast<std::int16_t>(first), static_cast<std::int16_t>(displayHeight()),
            static_cast<std::int16_t>(first + kBandLines)};
    stride = 3 * kBandLines;
  } else {
    rect = {static_cast<std::int16_t>(first), 0, static_cast<std::int16_t>(first + kBandLines),
            static_cast<std::int16_t>(displayWidth())};
    stride = 3 * static_cast<std::ptrdiff_t>(displayWidth());
  }
  currentBand_ = -1;
  const PcdStatus status = PcdReadRect(pack_.get(), &rect, band_.data(), stride);
  if (status != kPcdOk && fetchBandFromBelow(rect, stride, status) != kImageOk) return kImageLineError;
  if (quarterTurn()) {
    const int rows = displayHeight();
    for (int j = 0; j < kBandLines; ++j) {
      std::uint8_t* out = strip_.data() + static_cast<std::size_t>(j) * rows * 3;
      for (int i = 0; i < rows; ++i, out += 3)
        std::memcpy(out, band_.data() + static_cast<std::size_t>(rows - 1 - i) * stride + 3 * j, 3);
    }
  }
  currentBand_ = band;
  return kImageOk;
}

// A band the level cannot give, from the highest lower level that can, each
// pixel repeated: the photo stays whole at the size asked for.
int PhotoCdDecoder::fetchBandFromBelow(const OutputRect& rect, std::ptrdiff_t stride, PcdStatus why) {
  const int level = PcdEntryLevel(entry_);
  const int rows = rect.bottom - rect.top, columns = rect.right - rect.left;
  for (int lower = level - 1; lower >= pcd::kLevelBase16; --lower) {
    const int k = level - lower;
    const auto down = [k](int v) { return static_cast<std::int16_t>(v >> k); };
    const auto up = [k](int v) { return static_cast<std::int16_t>((v + (1 << k) - 1) >> k); };
    const OutputRect small{down(rect.top), down(rect.left), up(rect.bottom), up(rect.right)};
    const int smallRows = small.bottom - small.top, smallColumns = small.right - small.left;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(smallRows) * smallColumns * 3);
    const bool read = PcdSetResolution(pack_.get(), lower) == kPcdOk &&
                      PcdReadRect(pack_.get(), &small, pixels.data(), 3 * smallColumns) == kPcdOk;
    PcdSetResolution(pack_.get(), level);
    if (!read) continue;
    // Both buffers are bottom-up: the rectangle's first row is the last buffer row.
    for (int y = 0; y < rows; ++y) {
      const int sourceRow = smallRows - 1 - (((rect.top + y) >> k) - small.top);
      std::uint8_t* out = band_.data() + (rows - 1 - y) * stride;
      for (int x = 0; x < columns; ++x)
        std::memcpy(out + 3 * x, &pixels[(static_cast<std::size_t>(sourceRow) * smallColumns + (((rect.left + x) >> k) - small.left)) * 3], 3);
    }
    if (!lowerLevel_)
      fallbacks_.push_back(std::string(PcdLevelName(level)) + " cannot be read: " + PcdStatusText(why) + "; " +
                           PcdLevelName(lower) + " enlarged");
    lowerLevel_ = true;
    return kImageOk;
  }
  return kImageLineError;
}

DecodeDamage PhotoCdDecoder::damage() const {
  DecodeDamage d;
  d.lowerLevel = lowerLevel_;
  d.details = fallbacks_;
  PcdDamageReport report;
  if (pack_ && PcdGetDamage(pack_.get(), report) == kPcdOk) {
    d.repaired = report.Any();
    if (report.levels[PcdEntryLevel(entry_)].unreadable) d.lowerLevel = true;
    for (const std::string& line : PcdDamageTexts(report)) d.details.push_back(line);
  }
  return d;
}

void PhotoCdDecoder::end() {
  readBuffer_ = {};
  basePairs_ = nullptr;
  band_ = {};
  strip_ = {};
  line_ = {};
  pack_.reset();
}

}  // namespace

std::unique_ptr<FormatDecoder> createPhotoCdDecoder() { return std::make_unique<PhotoCdDecoder>(); }

}  // namespace imagefile
