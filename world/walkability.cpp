// The half-cell walkability test behind the enemies' separation push.
// Owns: isBlocked. Depends on: world/level.h (cellAt), world/game_state.h (currentLevel).
#include "world/walkability.h"

#include "world/game_state.h"
#include "world/level.h"

namespace {

// Truncation toward zero, so a coordinate between -1 and 0 lies in cell 0. A value that no int
// can hold (or NaN) is far outside every grid; converting it would be undefined, so it maps to a
// cell that is outside by construction.
int cellIndex(float coordinate) {
  constexpr float kIntLimit = 2147483648.0f;  // 2^31, exact in float
  if (!(coordinate > -kIntLimit && coordinate < kIntLimit)) return -1;
  return static_cast<int>(coordinate);
}

bool probeBlocked(float column, float row) {
  return cellAt(*game.currentLevel, cellIndex(column), cellIndex(row)) == kWallCell;
}

}  // namespace

bool isBlocked(float x, float y) {
  // East, west, south, north; the diagonals are deliberately not probed.
  return probeBlocked(x + 0.5f, y) || probeBlocked(x - 0.5f, y) || probeBlocked(x, y + 0.5f) ||
         probeBlocked(x, y - 0.5f);
}
