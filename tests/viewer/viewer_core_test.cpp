// The viewer's arithmetic at the edges where a fault would show: pacing clamps,
// level thresholds and choices, painting rectangles, frame placement and the
// slide-show sequences.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "resources/command_ids.h"
#include "viewer/decode_pacing.h"
#include "viewer/frame_placement.h"
#include "viewer/resolution_levels.h"
#include "viewer/slide_sequence.h"
#include "viewer/view_geometry.h"

namespace viewer {
namespace {

TEST(DecodePacing, RowsStartAtLeastOneAndMoveOneAtATime) {
  EXPECT_EQ(InitialRowsPerStep(3072, 768), 1);    // 20 - 15 = 5, x 768 / 3072
  EXPECT_EQ(InitialRowsPerStep(768, 768), 17);
  EXPECT_EQ(InitialRowsPerStep(4000, 4000), 1);   // 0 becomes 1
  EXPECT_EQ(InitialRowsPerStep(6144, 1536), 1);   // negative becomes 1
  EXPECT_EQ(AdaptRowsPerStep(5, 30, kScreenStepMs), 5);
  EXPECT_EQ(AdaptRowsPerStep(5, 31, kScreenStepMs), 4);
  EXPECT_EQ(AdaptRowsPerStep(5, 29, kScreenStepMs), 6);
  EXPECT_EQ(AdaptRowsPerStep(1, 500, kReadAheadStepMs), 1);
}

TEST(ResolutionLevels, ThresholdsFollowTheShortSide) {
  for (int level = 1; level <= 5; ++level) EXPECT_TRUE(LevelAvailable(level, 3072)) << level;
  EXPECT_FALSE(LevelAvailable(6, 3072));
  EXPECT_TRUE(LevelAvailable(5, 2048));  // a portrait 16BASE photo is 2048 wide
  EXPECT_FALSE(LevelAvailable(4, 768));
  EXPECT_TRUE(LevelAvailable(kFitLevel, 0));
  EXPECT_TRUE(CanEnlarge(true, 4, 3072));
  EXPECT_FALSE(CanEnlarge(true, 5, 3072));
  EXPECT_FALSE(CanReduce(true, 1));
  EXPECT_FALSE(CanEnlarge(false, kFitLevel, 3072));
  EXPECT_DOUBLE_EQ(LevelZoom(3, 3072, 2048), 0.25);
  EXPECT_DOUBLE_EQ(LevelZoom(5, 2048, 3072), 1.0);
  EXPECT_EQ(CommandLevel(LevelCommand(4)), 4);
  EXPECT_EQ(CommandLevel(CMD_FIT_TO_SCREEN), kFitLevel);
  EXPECT_EQ(CommandLevel(CMD_CLOSE), -1);
}

TEST(ResolutionLevels, EnlargeAndReduceFromTheFittedScale) {
  EXPECT_EQ(EnlargeLevel(kFitLevel, 1.0), 4);   // exactly BASE moves past BASE
  EXPECT_EQ(EnlargeLevel(kFitLevel, 0.1), 1);
  EXPECT_EQ(EnlargeLevel(kFitLevel, 50.0), kTopLevel);
  EXPECT_EQ(EnlargeLevel(kTopLevel, 8.0), -1);
  EXPECT_EQ(ReduceLevel(kFitLevel, 1.0), 2);    // exactly BASE moves below BASE
  EXPECT_EQ(ReduceLevel(kFitLevel, 0.25), kFitLevel);
  EXPECT_EQ(ReduceLevel(1, 0.25), -1);
  EXPECT_EQ(ReduceLevel(kFitLevel, ShownScale(3072, 2048, 0.3)), 3);
  EXPECT_DOUBLE_EQ(FitZoom(1000, 700, 3072, 2048), 1000.0 / 3072);
  EXPECT_DOUBLE_EQ(FitZoom(1, 1, 6144, 4096), kMinZoom);
}

TEST(ViewGeometry, PaintingAndInvalidationCoverWhatTheyTouch) {
  const double scale = DecodeScale(768, 512, 3072, 2048);
  EXPECT_DOUBLE_EQ(scale, 0.25);
  EXPECT_DOUBLE_EQ(DecodeScale(512, 768, 2048, 3072), 0.25);  // portrait: by height
  // At the decode scale source and target are the same size (a plain copy).
  PaintRects same = PaintRectsFor({10, 20, 110, 70}, 5, 7, DisplayFactor(0.25, scale), 768, 512);
  EXPECT_EQ(same.source.right - same.source.left, same.target.right - same.target.left);
  EXPECT_EQ(same.target.left, 10);
  // Enlarged by 2.5: a paint from 3 to 8 needs decoded pixels 1 to 4 (partly covered ends).
  PaintRects big = PaintRectsFor({3, 0, 8, 5}, 0, 0, 25000, 100, 100);
  EXPECT_EQ(big.source.left, 1);
  EXPECT_EQ(big.source.right, 4);
  EXPECT_EQ(big.target.left, 2);
  EXPECT_EQ(big.target.right, 10);
  PixelRect shown = DecodedToDisplay({1, 1, 2, 2}, 25000);
  EXPECT_EQ(shown.left, 2);
  EXPECT_EQ(shown.right, 7);
  PixelRect reduced = DecodedToDisplay({3, 0, 5, 1}, 5000);
  EXPECT_EQ(reduced.left, 1);
  EXPECT_EQ(reduced.right, 3);
  EXPECT_FALSE(ZoomNeedsRedecode(0.5, 0.5025));
  EXPECT_TRUE(ZoomNeedsRedecode(0.5, 0.51));
  EXPECT_FALSE(ZoomNeedsRedecode(1.0, 4.0));
  EXPECT_EQ(ScrollKeepingCentre(0, 400, 0.5, 1.0), 200);
  EXPECT_EQ(ClampScroll(ScrollLimit(1000, 0.5, 400) + 50, ScrollLimit(1000, 0.5, 400)), 100);
  EXPECT_EQ(ScrollLimit(300, 1.0, 400), 0);
}

TEST(FramePlacement, StaysInsideTheWorkAreaAndAboveTheMinimum) {
  const imaging::PixelRect work{0, 0, 1024, 738};
  imaging::PixelRect small = PlaceFrame(500, 400, 100, 100, work);
  EXPECT_EQ(small.right - small.left, kMinFrameWidth);
  EXPECT_EQ(small.bottom - small.top, kMinFrameHeight);
  imaging::PixelRect pushed = PlaceFrame(1000, 700, 600, 500, work);
  EXPECT_EQ(pushed.right, 1024);
  EXPECT_EQ(pushed.bottom, 738);
  imaging::PixelRect huge = PlaceFrame(100, 100, 5000, 5000, work);
  EXPECT_EQ(huge.left, 0);
  EXPECT_EQ(huge.top, 0);
  EXPECT_EQ(huge.right, 1024);
}

TEST(FramePlacement, CascadesFromTheLastFrameAndStartsOverAtTheEdge) {
  const imaging::PixelRect work{0, 30, 1024, 738};
  imaging::PixelRect next = CascadeFrame({100, 130, 600, 530}, 26, work);
  EXPECT_EQ(next.left, 126);
  EXPECT_EQ(next.top, 156);
  EXPECT_EQ(next.right, 626);
  EXPECT_EQ(next.bottom, 556);
  imaging::PixelRect wrapped = CascadeFrame({500, 300, 1000, 730}, 26, work);  // would leave the bottom
  EXPECT_EQ(wrapped.left, 0);
  EXPECT_EQ(wrapped.top, 30);
  EXPECT_EQ(wrapped.right, 500);
  EXPECT_EQ(wrapped.bottom, 460);

  // A tall frame opening at a cascade step keeps its corner and gets shorter.
  imaging::PixelRect tall = PlaceFrameFrom(126, 56, 520, 900, work);
  EXPECT_EQ(tall.left, 126);
  EXPECT_EQ(tall.top, 56);
  EXPECT_EQ(tall.right, 646);
  EXPECT_EQ(tall.bottom, 738);
}

TEST(SlideSequence, InOrderStopsOrWrapsAtTheEnds) {
  SlideSequence s;
  s.Reset(3);
  EXPECT_EQ(s.Next(kForward, false, 1, 0), 2);
  EXPECT_TRUE(s.AtEnd(kForward, 2));
  EXPECT_EQ(s.Next(kForward, false, 2, 0), 2);
  EXPECT_EQ(s.Next(kForward, true, 2, 0), 0);
  EXPECT_EQ(s.Next(kBackward, true, 0, 0), 2);
  // Read-ahead turns round at the end; a show that wraps reads the first ahead.
  EXPECT_EQ(s.ReadAheadTarget(kForward, false, 2, 0), 1);
  EXPECT_EQ(s.ReadAheadTarget(kForward, true, 2, 0), 0);
  EXPECT_EQ(s.ReadAheadTarget(kBackward, false, 0, 0), 1);
  s.Reset(1);
  EXPECT_EQ(s.ReadAheadTarget(kForward, false, 0, 0), -1);
  EXPECT_EQ(s.Next(kRandom, true, 0, 7), 0);
}

TEST(SlideSequence, RandomOrdersStartWithThePhotoOnScreen) {
  SlideSequence s;
  s.Reset(24);
  s.BuildOrder(5, 1234);
  std::vector<int> seen;
  for (int p = 0; p < 24; ++p) {
    seen.push_back(s.PhotoAt(p));
    EXPECT_EQ(s.PositionOf(s.PhotoAt(p)), p);
  }
  EXPECT_EQ(seen[0], 5);
  std::sort(seen.begin(), seen.end());
  for (int i = 0; i < 24; ++i) EXPECT_EQ(seen[i], i);
  // Past the last photo of the order: without wrap it stays, with wrap a new
  // order starts with the photo on screen and the show goes on to its second.
  const int last = s.PhotoAt(23);
  EXPECT_TRUE(s.AtEnd(kRandom, last));
  EXPECT_EQ(s.Next(kRandom, false, last, 99), last);
  EXPECT_EQ(s.ReadAheadTarget(kRandom, false, last, 99), s.PhotoAt(22));
  const int next = s.Next(kRandom, true, last, 99);
  EXPECT_EQ(s.PhotoAt(0), last);
  EXPECT_EQ(next, s.PhotoAt(1));
  EXPECT_NE(next, last);
  // Random backward never ends; at the start of its order it wraps or stays.
  EXPECT_FALSE(s.AtEnd(kRandomBackward, last));
  EXPECT_EQ(s.Next(kRandomBackward, false, last, 0), last);
  EXPECT_EQ(s.Next(kRandomBackward, true, last, 0), s.PhotoAt(23));
}

}  // namespace
}  // namespace viewer
