#include "bit_reader.h"

#include <cstring>

#include "pcd_layout.h"

namespace {

inline std::uint64_t BigEndian64(std::uint64_t x) {
#if __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  return __builtin_bswap64(x);
#else
  return x;
#endif
}

inline int LeadingZeros(std::uint64_t x) { return x ? __builtin_clzll(x) : 64; }

// Bit i (from the top) set where 16 one bits start at position i.
inline std::uint64_t RunsOf16(std::uint64_t x) {
  x &= x << 1;
  x &= x << 2;
  x &= x << 4;
  x &= x << 8;
  return x;
}

}  // namespace

// Called once per handful of codes: kept inline, one load of eight bytes.
inline __attribute__((always_inline)) void BitReader::Refill() {
  if (count_ > 56) return;
  SectorReader& r = reader_;
  if (r.filled - r.position >= 8 && !ended_) {
    std::uint64_t word;
    std::memcpy(&word, r.buffer + r.position, 8);
    word = BigEndian64(word);
    // Bits past the ones counted are the stream's own next bits, so a later
    // refill writes the same values over them.
    bits_ |= word >> count_;
    const int take = (64 - count_) >> 3;
    r.position += static_cast<std::uint32_t>(take);
    count_ += 8 * take;
    return;
  }
  RefillSlow();
}

PcdStatus BitReader::Seek(std::uint64_t bitOffset) {
  bits_ = 0;
  count_ = padding_ = 0;
  ended_ = false;
  failure_ = kPcdOk;
  const std::uint64_t byte = bitOffset / 8;
  if (byte / pcd::kSectorSize > 0xFFFFFFFFu) return kPcdSeekFailed;
  PcdStatus status = PcdSectorSeek(reader_, static_cast<std::uint32_t>(byte / pcd::kSectorSize));
  if (status == kPcdOk) status = PcdSectorSkip(reader_, static_cast<std::uint32_t>(byte % pcd::kSectorSize));
  if (status != kPcdOk) return status;
  Refill();
  Consume(static_cast<int>(bitOffset % 8));
  return Overrun() ? EndStatus() : PcdStatus{kPcdOk};
}

std::uint64_t BitReader::Position() const {
  return (std::uint64_t{reader_.bufferOffset} + reader_.position) * 8 - (count_ - padding_);
}

void BitReader::RefillSlow() {
  while (count_ <= 56) {
    std::uint8_t byte = 0;
    if (!ended_) {
      PcdStatus status = PcdSectorRead(reader_, &byte, 1);
      if (status != kPcdOk) {
        ended_ = true;
        failure_ = status == kPcdEndOfFile ? PcdStatus{kPcdOk} : status;
      }
    }
    if (ended_) {
      // Zeros past the end; Overrun() tells when they are consumed.
      padding_ += 64 - count_;
      count_ = 64;
      return;
    }
    bits_ |= std::uint64_t{byte} << (56 - count_);
    count_ += 8;
  }
}

PcdStatus BitReader::NextHeader(RowHeader& header, std::uint64_t before) {
  int ones = 0;  // ones counted so far in the current run
  for (;;) {
    Refill();
    if (Overrun() || (ended_ && count_ <= padding_)) return EndStatus();
    if (Position() >= before) return kPcdBadSignature;
    const int usable = count_ - padding_;
    if (ones == 0 && usable >= 32) {
      // No 16-run may start in the first usable - 15 bits: then no sync
      // starts there either, and those bits can go at once.
      const int window = usable - 15;
      const std::uint64_t starts = RunsOf16(bits_) >> (64 - window);
      if (!starts) {
        Consume(window);
        continue;
      }
      // Go to just before the first candidate run: the bit before it is a zero.
      const int skip = LeadingZeros(starts) - (64 - window);
      if (skip > 0) {
        Consume(skip);
        continue;
      }
    }
    if (bits_ >> 63) {
      int n = LeadingZeros(~bits_);
      if (n > usable) n = usable;
      if (n > 32) n = 32;
      ones += n;
      Consume(n);
      continue;
    }
    if (ones >= pcd::kSyncOnes) {
      Consume(1);
      break;
    }
    ones = 0;
    int n = LeadingZeros(bits_);
    if (n > usable) n = usable;
    if (n > 32) n = 32;
    Consume(n);
  }
  Refill();
  const std::uint32_t word = static_cast<std::uint32_t>(bits_ >> (64 - kPcdRowHeaderBits));
  Consume(kPcdRowHeaderBits);
  if (Overrun()) return EndStatus();
  header = PcdParseRowHeader(word);
  return kPcdOk;
}

bool BitReader::AtSync() {
  Refill();
  return count_ - padding_ >= pcd::kSyncOnes && (bits_ >> (64 - pcd::kSyncOnes)) == (std::uint64_t{1} << pcd::kSyncOnes) - 1;
}

bool BitReader::AtFillOrSync() {
  Refill();
  const int zeros = LeadingZeros(bits_);
  if (zeros >= 32) return true;
  return ((bits_ << zeros) >> (64 - pcd::kSyncOnes)) == (std::uint64_t{1} << pcd::kSyncOnes) - 1;
}

PcdStatus BitReader::EndRowAtDamage(std::int8_t* values, int done, int count) {
  if (ended_ && count_ <= padding_) return EndStatus();  // the zeros past the end of the file
  if (values)
    for (int i = done; i < count; ++i) values[i] = 0;
  return kPcdRowBadCode;
}

PcdStatus BitReader::Decode(const HuffmanTable& table, int count, std::int8_t* values) {
  const int m = table.maxLength;
  const int shift = 64 - m;
  const int runShift = 64 - table.runBits;
  const HuffmanEntry* lookup = table.lookup.data();
  const HuffmanRun* runs = table.runs.data();
  std::int8_t passed[kPcdRunCodes];
  int i = 0;
  while (i < count) {
    Refill();
    if (Overrun()) return EndStatus();
    // Every look-up below has at least m buffered bits, enough for any code
    // (and for every code of a run, which end within the first m bits).
    std::uint64_t bits = bits_;
    int left = count_;
    while (left >= m && i < count) {
      const HuffmanRun& run = runs[bits >> runShift];
      // A whole run while four values still fit in the row; one code otherwise.
      if (run.count && i + kPcdRunCodes <= count) {
        std::memcpy(values ? values + i : passed, run.values, kPcdRunCodes);
        bits <<= run.length;
        left -= run.length;
        i += run.count;
        continue;
      }
      const HuffmanEntry e = lookup[bits >> shift];
      if (!e.length) {
        bits_ = bits;
        count_ = left;
        return EndRowAtDamage(values, i, count);
      }
      if (values) values[i] = e.residual;
      bits <<= e.length;
      left -= e.length;
      ++i;
    }
    bits_ = bits;
    count_ = left;
  }
  if (Overrun()) return EndStatus();
  return kPcdOk;
}
