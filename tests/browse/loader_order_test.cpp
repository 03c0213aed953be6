#include "browse/loader_order.h"

#include <gtest/gtest.h>

#include <vector>

namespace browse {
namespace {

// Steps with a fixed wanted position until the order finishes; returns the photos made.
std::vector<int> RunToEnd(LoaderOrder& order, int wanted, int maxSteps = 1000) {
  std::vector<int> made;
  for (int i = 0; i < maxSteps && !order.Finished(); ++i) {
    int photo = order.Step(wanted);
    if (photo >= 0) made.push_back(photo);
  }
  return made;
}

TEST(LoaderOrder, VisitsEveryPhotoOnceInDiscOrder) {
  LoaderOrder order(5);
  EXPECT_EQ(RunToEnd(order, 0), (std::vector<int>{0, 1, 2, 3, 4}));
  EXPECT_TRUE(order.Finished());
  EXPECT_EQ(order.VisitedCount(), 5);
  EXPECT_EQ(order.Step(0), -1);
}

TEST(LoaderOrder, EmptyDiscIsFinishedAtOnce) {
  LoaderOrder order(0);
  EXPECT_TRUE(order.Finished());
  EXPECT_EQ(order.Step(0), -1);
}

TEST(LoaderOrder, ScrollingJumpsThenWrapsAndSkipsWhatIsDone) {
  LoaderOrder order(10);
  EXPECT_EQ(order.Step(0), 0);
  EXPECT_EQ(order.Step(0), 1);
  // The user scrolls to photo 6: it comes next, then 7..9, then around to 2.
  EXPECT_EQ(order.Step(6), 6);
  std::vector<int> rest = RunToEnd(order, 6);
  EXPECT_EQ(rest, (std::vector<int>{7, 8, 9, 2, 3, 4, 5}));
  EXPECT_EQ(order.VisitedCount(), 10);
}

TEST(LoaderOrder, StepOntoAVisitedPhotoMakesNothingButCounts) {
  LoaderOrder order(4);
  EXPECT_EQ(order.Step(0), 0);
  EXPECT_EQ(order.Step(2), 2);
  // Scrolling back to 0, already made: this step produces nothing.
  EXPECT_EQ(order.Step(0), -1);
  EXPECT_EQ(order.Step(0), 1);
  EXPECT_EQ(order.Step(0), -1);  // 2 again
  EXPECT_EQ(order.Step(0), 3);
  EXPECT_TRUE(order.Finished());
}

TEST(LoaderOrder, WantedPositionOutsideTheListIsIgnored) {
  LoaderOrder order(3);
  EXPECT_EQ(order.Step(0), 0);
  EXPECT_EQ(order.Step(7), 1);
  EXPECT_EQ(order.Step(-1), 2);
}

TEST(LoaderOrder, PositionFromTheNearestItem) {
  EXPECT_EQ(LoaderPositionFromNearestItem(-1), 0);
  EXPECT_EQ(LoaderPositionFromNearestItem(0), 0);
  EXPECT_EQ(LoaderPositionFromNearestItem(1), 0);
  EXPECT_EQ(LoaderPositionFromNearestItem(13), 12);
}

}  // namespace
}  // namespace browse
