// How many rows one decode step asks for. Steps on screen aim at 30 ms and
// read-ahead steps in idle time at 90 ms, moving by one row per step. Portable.
#pragma once

namespace viewer {

constexpr long kScreenStepMs = 30;
constexpr long kReadAheadStepMs = 90;

// The first guess: 20 rows less one per 200 source columns, scaled down to the
// decoded width; at least 1.
int InitialRowsPerStep(int sourceWidth, int decodedWidth);
// One row fewer when the step took longer than the target, one more when it
// was quicker, unchanged at exactly the target; never below 1.
int AdaptRowsPerStep(int rows, long elapsedMs, long targetMs);

}  // namespace viewer
