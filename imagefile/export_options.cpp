#include "imagefile/export_options.h"

#include "imagefile/byte_order.h"

namespace imagefile {

namespace {

// The record is thirteen 32-bit fields in declaration order.
constexpr int kFieldCount = kExportOptionsSize / 4;

void fieldsOf(ExportOptions& o, std::uint32_t* fields[kFieldCount]) {
  std::int32_t* ints[] = {&o.reserved0,      &o.reserved1,     &o.format,          &o.rotation,
                          &o.resolutionIndex, &o.jpeg.quality,  &o.jpeg.progressive, &o.jpeg.optimise,
                          &o.jpeg.sampling,   &o.jpeg.smoothing, &o.tiff.compression};
  for (int i = 0; i < 11; ++i) fields[i] = reinterpret_cast<std::uint32_t*>(ints[i]);
  fields[11] = &o.tiff.xDpi;
  fields[12] = &o.tiff.yDpi;
}

}  // namespace

int tiffCompressionTag(std::int32_t index) {
  static const int tags[] = {1, 3, 4, 5, 32946, 7};
  return index >= 0 && index < 6 ? tags[index] : 0;
}

void storeExportOptions(const ExportOptions& options, std::uint8_t out[kExportOptionsSize]) {
  ExportOptions copy = options;
  std::uint32_t* fields[kFieldCount];
  fieldsOf(copy, fields);
  for (int i = 0; i < kFieldCount; ++i)
    for (int b = 0; b < 4; ++b) out[4 * i + b] = static_cast<std::uint8_t>(*fields[i] >> (8 * b));
}

bool loadExportOptions(const std::uint8_t* data, std::size_t size, ExportOptions& options) {
  if (!data || size != kExportOptionsSize) return false;
  std::uint32_t* fields[kFieldCount];
  fieldsOf(options, fields);
  for (int i = 0; i < kFieldCount; ++i) *fields[i] = readLe32(data + 4 * i);
  return true;
}

}  // namespace imagefile
