#include "viewer/resolution_levels.h"

#include <algorithm>

#include "resources/command_ids.h"

namespace viewer {

namespace {

struct Level {
  double scale;
  const char* name;
  int command;
};

const Level kLevels[kTopLevel + 1] = {
    {0.0, "Fit to screen", CMD_FIT_TO_SCREEN}, {0.25, "BASE/16", CMD_LEVEL_BASE_16},
    {0.5, "BASE/4", CMD_LEVEL_BASE_4},         {1.0, "BASE", CMD_LEVEL_BASE},
    {2.0, "BASE*4", CMD_LEVEL_4BASE},          {4.0, "BASE*16", CMD_LEVEL_16BASE},
    {8.0, "BASE*64", CMD_LEVEL_64BASE},
};

// Width of the BASE image's short side: a level is there when the photo is at
// least this wide at the level's scale.
constexpr int kBaseShortSide = 512;

bool Valid(int level) { return level >= 0 && level <= kTopLevel; }

}  // namespace

double LevelScale(int level) { return Valid(level) ? kLevels[level].scale : 0.0; }

const char* LevelName(int level) { return Valid(level) ? kLevels[level].name : ""; }

int LevelCommand(int level) { return Valid(level) ? kLevels[level].command : 0; }

int CommandLevel(int command) {
  for (int level = 0; level <= kTopLevel; ++level)
    if (kLevels[level].command == command) return level;
  return -1;
}

bool LevelAvailable(int level, int sourceWidth) {
  if (level == kFitLevel) return true;
  return Valid(level) && sourceWidth >= kBaseShortSide * kLevels[level].scale;
}

double LevelZoom(int level, int sourceWidth, int sourceHeight) {
  int longSide = std::max(sourceWidth, sourceHeight);
  return longSide > 0 ? LevelScale(level) * kBaseLongSide / longSide : 0.0;
}

int LevelInUse(int level, int sourceWidth, int sourceHeight) {
  if (level == kFitLevel) return level;
  for (int candidate = level; candidate > kFitLevel; --candidate)
    if (LevelZoom(candidate, sourceWidth, sourceHeight) <= 1.0) return candidate;
  return level;
}

double ShownScale(int sourceWidth, int sourceHeight, double zoom) {
  return std::max(sourceWidth, sourceHeight) * zoom / kBaseLongSide;
}

int EnlargeLevel(int level, double shownScale) {
  if (level == kFitLevel) {
    int next = 1;
    while (next < kTopLevel && shownScale >= kLevels[next].scale) ++next;
    return next;
  }
  return Valid(level) && level < kTopLevel ? level + 1 : -1;
}

int ReduceLevel(int level, double shownScale) {
  if (level == kFitLevel) {
    for (int lower = kTopLevel; lower >= 1; --lower)
      if (shownScale > kLevels[lower].scale) return lower;
    return kFitLevel;  // already at most BASE/16: only refits
  }
  return Valid(level) && level >= 2 ? level - 1 : -1;
}

bool CanEnlarge(bool photoShown, int level, int sourceWidth) {
  if (!photoShown) return false;
  return level == kFitLevel || (level < kTopLevel && LevelAvailable(level + 1, sourceWidth));
}

bool CanReduce(bool photoShown, int level) { return photoShown && (level == kFitLevel || level >= 2); }

double FitZoom(int areaWidth, int areaHeight, int sourceWidth, int sourceHeight) {
  if (sourceWidth <= 0 || sourceHeight <= 0) return 1.0;
  double zoom = std::min(static_cast<double>(areaWidth) / sourceWidth, static_cast<double>(areaHeight) / sourceHeight);
  return std::clamp(zoom, kMinZoom, kMaxZoom);
}

}  // namespace viewer
