#include "viewer/decode_pacing.h"

namespace viewer {

int InitialRowsPerStep(int sourceWidth, int decodedWidth) {
  if (sourceWidth <= 0) return 1;
  int rows = 20 - sourceWidth / 200;
  rows = static_cast<int>(static_cast<long long>(decodedWidth) * rows / sourceWidth);
  return rows > 0 ? rows : 1;
}

int AdaptRowsPerStep(int rows, long elapsedMs, long targetMs) {
  if (elapsedMs > targetMs) return rows > 1 ? rows - 1 : 1;
  if (elapsedMs < targetMs) return rows + 1;
  return rows;
}

}  // namespace viewer
