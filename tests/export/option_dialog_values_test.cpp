#include <gtest/gtest.h>

#include "export/option_dialog_values.h"

namespace imagefile {
namespace {

TEST(OptionDialogValuesTest, SamplingRowsAndTheNeitherValue) {
  EXPECT_EQ(0, SamplingRow(1));
  EXPECT_EQ(1, SamplingRow(2));
  EXPECT_EQ(-1, SamplingRow(4));
  EXPECT_EQ(-1, SamplingRow(3));
  EXPECT_EQ(1, SamplingFromRow(0));
  EXPECT_EQ(2, SamplingFromRow(1));
  EXPECT_EQ(4, SamplingFromRow(-1));
}

TEST(OptionDialogValuesTest, ResultCodesBecomeShownAndSaveAsDefaults) {
  EXPECT_EQ(kOptionsAccepted, AcceptedResult(false));
  EXPECT_EQ(kOptionsAcceptedAsDefaults, AcceptedResult(true));
  OptionDialogOutcome cancelled = InterpretOptionDialogResult(kOptionsCancelled);
  EXPECT_TRUE(cancelled.shown);
  EXPECT_FALSE(cancelled.saveAsDefaults);
  EXPECT_FALSE(InterpretOptionDialogResult(kOptionsAccepted).saveAsDefaults);
  EXPECT_TRUE(InterpretOptionDialogResult(kOptionsAcceptedAsDefaults).saveAsDefaults);
  EXPECT_FALSE(InterpretOptionDialogResult(-1).shown);
}

TEST(OptionDialogValuesTest, PercentagesAreClamped) {
  EXPECT_EQ(0, ClampPercent(-5));
  EXPECT_EQ(100, ClampPercent(100));
  EXPECT_EQ(100, ClampPercent(4000000000LL));
  EXPECT_EQ(42, ClampPercent(42));
}

}  // namespace
}  // namespace imagefile
