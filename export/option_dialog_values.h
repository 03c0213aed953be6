// The rules between the JPEG and TIFF option dialogs' controls and the option
// blocks they edit.
#pragma once
#include <cstdint>

#include "imagefile/export_options.h"

namespace imagefile {

// One compression button per index, None .. JPEG.
constexpr int kTiffCompressionCount = kTiffJpeg + 1;

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
