#include "export/option_dialog_values.h"

namespace imagefile {

namespace {
constexpr std::int32_t kSamplingNeither = 4;
}  // namespace

OptionDialogOutcome InterpretOptionDialogResult(int result) {
  OptionDialogOutcome outcome;
  outcome.shown = result >= 0;
  outcome.saveAsDefaults = result == kOptionsAcceptedAsDefaults;
  return outcome;
}

int AcceptedResult(bool saveAsDefaults) {
  return saveAsDefaults ? kOptionsAcceptedAsDefaults : kOptionsAccepted;
}

int SamplingRow(std::int32_t sampling) {
  if (sampling == kSampling444) return 0;
  if (sampling == kSampling420) return 1;
  return -1;
}

std::int32_t SamplingFromRow(int row) {
  if (row == 0) return kSampling444;
  if (row == 1) return kSampling420;
  return kSamplingNeither;
}

std::int32_t ClampPercent(long long value) {
  if (value < 0) return 0;
  if (value > 100) return 100;
  return static_cast<std::int32_t>(value);
}

}  // namespace imagefile
