// What the JPEG and TIFF option dialogs edit, and the rules between their
// controls and the option blocks.
#pragma once
#include <cstdint>

namespace imagefile {

struct JpegDialogValues {
  std::int32_t quality = 65;      // 0..100
  std::int32_t progressive = 0;
  std::int32_t optimise = 0;      // optimise Huffman codes
  std::int32_t sampling = 2;      // 1 "YUV 111", 2 "YUV 122", 4 neither
  std::int32_t smoothing = 0;     // 0..100
};

struct TiffDialogValues {
  std::int32_t compressionIndex = 0;  // None, CCITT 3, CCITT 4, LZW, Deflate, JPEG
  std::int32_t dpiX = 72;
  std::int32_t dpiY = 72;
};

constexpr int kTiffCompressionCount = 6;

// Result codes of both dialogs.
constexpr int kOptionsCancelled = 0;
constexpr int kOptionsAccepted = 1;
constexpr int kOptionsAcceptedAsDefaults = 2;

struct OptionDialogOutcome {
  bool shown = false;           // false when the dialog could not be created
  bool saveAsDefaults = false;  // OK with "Save these settings as the defaults"
};
OptionDialogOutcome InterpretOptionDialogResult(int result);

int AcceptedResult(bool saveAsDefaults);

// Sampling combo: row 0 is 1, row 1 is 2; any other value selects no row (-1),
// and no row reads back as 4.
int SamplingRow(std::int32_t sampling);
std::int32_t SamplingFromRow(int row);

// Quality and smoothing lie in 0..100 whatever the field holds.
std::int32_t ClampPercent(long long value);

}  // namespace imagefile
