#include "export/option_dialog_values.h"

namespace imagefile {

namespace {
constexpr std::int32_t kSamplingNone = 1;
constexpr std::int32_t kSamplingDefault = 2;
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
  if (sampling == kSamplingNone) return 0;
  if (sampling == kSamplingDefault) return 1;
  return -1;
}

std::int32_t SamplingFromRow(int row) {
  if (row == 0) return kSamplingNone;
  if (row == 1) return kSamplingDefault;
  return kSamplingNeither;
}

std::int32_t ClampPercent(long long value) {
  if (value < 0) return 0;
  if (value > 100) return 100;
  return static_cast<std::int32_t>(value);
}

}  // namespace imagefile
