#include <gtest/gtest.h>

#include "ui/comctl_version_win.h"

TEST(ComctlVersion, SystemLibraryReportsARealVersion) {
  ComctlVersion version = ProbeComctlVersion();
  EXPECT_GE(version.major, 4u);
  EXPECT_LT(version.major, 100u);
  EXPECT_LT(version.minor, 100u);
  EXPECT_TRUE(IsNewComctl(version)) << version.major << "." << version.minor;
}

TEST(ComctlVersion, FallsBackWhenLibraryOrEntryIsMissing) {
  ComctlVersion missing = ProbeComctlVersion("lumivexa-no-such-library.dll");
  EXPECT_EQ(missing.major, 0u);
  EXPECT_EQ(missing.minor, 0u);
  // kernel32 loads but has no DllGetVersion, like comctl32 before 4.71.
  ComctlVersion old = ProbeComctlVersion("kernel32.dll");
  EXPECT_EQ(old.major, 4u);
  EXPECT_EQ(old.minor, 0u);
  EXPECT_FALSE(IsNewComctl(old));
}

TEST(ComctlVersion, NewMeansAbove470) {
  EXPECT_FALSE(IsNewComctl({4, 70}));
  EXPECT_TRUE(IsNewComctl({4, 71}));
  EXPECT_TRUE(IsNewComctl({5, 0}));
  EXPECT_FALSE(IsNewComctl({3, 99}));
}
