// The export option records as they are stored (the registry value
// "ExportOptions" holds the 52-byte record): plain 32-bit little-endian
// fields, shared by the export command, the option dialogs and the writers.
#pragma once
#include <cstddef>
#include <cstdint>

namespace imagefile {

struct JpegOptions {
  std::int32_t quality = 65;      // 0..100
  std::int32_t progressive = 0;   // 0 or 1
  std::int32_t optimise = 0;      // optimised Huffman codes, 0 or 1
  std::int32_t sampling = 2;      // a JpegSampling; 4 (or any other value) = neither chosen
  std::int32_t smoothing = 0;     // 0..100
};
// Chroma sampling: 1 = "YUV 111 (None)" (4:4:4), 2 = "YUV 122 (Default)"
// (4:2:0), 3 = 4:2:2, which only the converter offers. Other values keep the
// library's default, 4:2:0.
enum JpegSampling : std::int32_t { kSampling444 = 1, kSampling420 = 2, kSampling422 = 3 };

static_assert(sizeof(JpegOptions) == 20, "JpegOptions is a stored 20-byte block");

enum TiffCompressionIndex : std::int32_t {
  kTiffNone = 0,
  kTiffCcittGroup3 = 1,
  kTiffCcittGroup4 = 2,
  kTiffLzw = 3,
  kTiffDeflate = 4,
  kTiffJpeg = 5,
};

struct TiffOptions {
  std::int32_t compression = kTiffNone;  // a TiffCompressionIndex
  std::uint32_t xDpi = 72;
  std::uint32_t yDpi = 72;
};
static_assert(sizeof(TiffOptions) == 12, "TiffOptions is a stored 12-byte block");

// The TIFF Compression tag value of a compression index; 0 for an unknown index.
int tiffCompressionTag(std::int32_t index);

struct ExportOptions {
  std::int32_t reserved0 = 3;  // kept as read, unused by the export
  std::int32_t reserved1 = 0;
  std::int32_t format = 0;           // 2 = BMP, 0 = JPEG, 5 = TIFF
  std::int32_t rotation = 0;         // stored degrees (0, -90, 90, 180), kept as read; a run's turn travels apart
  std::int32_t resolutionIndex = 3;  // 0 = BASE/64 .. 6 = BASE*64
  JpegOptions jpeg;
  TiffOptions tiff;
};
static_assert(sizeof(ExportOptions) == 52, "ExportOptions is a stored 52-byte record");
static_assert(offsetof(ExportOptions, jpeg) == 20 && offsetof(ExportOptions, tiff) == 40,
              "option blocks sit at offsets 20 and 40");

constexpr std::size_t kExportOptionsSize = 52;

// The stored bytes of a record, little-endian whatever the machine.
void storeExportOptions(const ExportOptions& options, std::uint8_t out[kExportOptionsSize]);
// Reads a stored record over options; false (options untouched) unless size is 52.
bool loadExportOptions(const std::uint8_t* data, std::size_t size, ExportOptions& options);

}  // namespace imagefile
