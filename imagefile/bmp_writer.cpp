#include "imagefile/bmp_writer.h"

#include <cstdint>

namespace imagefile {

namespace {

constexpr std::uint32_t kHeadersSize = 14 + 40;
constexpr std::int32_t kPixelsPerMetre = 2880;

void le16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
void le32(std::uint8_t* p, std::uint32_t v) {
  le16(p, v);
  le16(p + 2, v >> 16);
}

}  // namespace

int BmpWriter::begin() {
  const WriterSource& s = source();
  std::uint32_t tableEntries = s.bits <= 8 ? static_cast<std::uint32_t>(s.colourCount) : 0;
  std::uint32_t dataOffset = kHeadersSize + 4 * tableEntries;
  std::uint64_t fileSize = dataOffset + static_cast<std::uint64_t>(s.height) * s.stride;
  if (s.width <= 0 || s.height <= 0 || s.stride == 0 || fileSize > 0xFFFFFFFFu) return kWriterFailed;

  std::uint8_t h[kHeadersSize] = {'B', 'M'};
  le32(h + 2, static_cast<std::uint32_t>(fileSize));
  le32(h + 10, dataOffset);
  le32(h + 14, 40);
  le32(h + 18, static_cast<std::uint32_t>(s.width));
  le32(h + 22, static_cast<std::uint32_t>(s.height));  // positive: rows stored bottom-up
  le16(h + 26, 1);
  le16(h + 28, static_cast<std::uint32_t>(s.bits));
  // The resolution asked for, in pixels per metre; the program's own 2880 otherwise.
  const std::uint32_t perMetre =
      metadata().dpi ? static_cast<std::uint32_t>(metadata().dpi / 0.0254 + 0.5) : static_cast<std::uint32_t>(kPixelsPerMetre);
  le32(h + 38, perMetre);
  le32(h + 42, perMetre);
  le32(h + 46, tableEntries);
  if (!put(h, sizeof h)) return kWriterFailed;
  if (tableEntries && !put(s.colours, 4 * tableEntries)) return kWriterFailed;
  return 0;
}

int BmpWriter::writeSomeRows(int count) {
  const WriterSource& s = source();
  for (; count > 0 && rowsWritten() < s.height; --count) {
    // The file holds the bottom row first.
    if (!put(s.row(s.height - 1 - rowsWritten()), s.stride)) return kWriterFailed;
    countRows(1);
  }
  return 0;
}

}  // namespace imagefile
