// The viewer's resolution levels: level 0 fits the photo to the screen, levels
// 1..6 show it at the Photo CD sizes BASE/16 .. BASE*64, each a scale of the
// 768-pixel BASE image. Portable.
#pragma once

namespace viewer {

constexpr int kFitLevel = 0;
constexpr int kBaseLevel = 3;  // BASE, numbered as the Photo CD levels are
constexpr int kTopLevel = 6;
constexpr int kBaseLongSide = 768;
constexpr double kMinZoom = 0.01;
constexpr double kMaxZoom = 100.0;

// Long side of the level as a multiple of BASE's: 0.25 .. 8 (0 for level 0).
double LevelScale(int level);
// "Fit to screen", "BASE/16" .. "BASE*64"; empty for levels outside 0..6.
const char* LevelName(int level);
// The command that sets the level, and the level a command sets (-1: none).
int LevelCommand(int level);
int CommandLevel(int command);

// Level 0 always; level n once the photo's width is at least 512 x its scale
// (the width of a landscape photo at that level is 512 x scale on the short
// side, so portrait photos are measured by their short side too).
bool LevelAvailable(int level, int sourceWidth);

// Zoom that shows the photo at the level (its long side scale x 768).
double LevelZoom(int level, int sourceWidth, int sourceHeight);
// The level a photo is shown at when level is asked for: the highest one up to
// level that does not enlarge it beyond its own size (level itself for 0, or
// when even BASE/16 would enlarge it).
int LevelInUse(int level, int sourceWidth, int sourceHeight);
// The scale of BASE the photo is shown at: its long side x zoom / 768.
double ShownScale(int sourceWidth, int sourceHeight, double zoom);

// The level Enlarge and Reduce go to, or -1 when they do nothing. At level 0,
// shownScale (ShownScale of the fitted photo) picks the next level up or down.
int EnlargeLevel(int level, double shownScale);
int ReduceLevel(int level, double shownScale);
// Menu and toolbar enabling of the two commands.
bool CanEnlarge(bool photoShown, int level, int sourceWidth);
bool CanReduce(bool photoShown, int level);

// Largest zoom that fits the photo into the area, within [0.01, 100].
double FitZoom(int areaWidth, int areaHeight, int sourceWidth, int sourceHeight);

}  // namespace viewer
