// Tests of the half-cell walkability probes against the current level.
// Depends on: world/walkability.h, world/game_state.h, world/level.h.
#include "world/walkability.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "world/game_state.h"
#include "world/level.h"

namespace {

TEST(IsBlocked, TruncatesTowardZeroBoundsEachRowAndPassesOtherCodes) {
  // Row 1 is shorter than its neighbours; row 3 holds every open code.
  const Level level = makeLevel({"     ", "   ", "     ", " 2345", " x   "});
  game.currentLevel = &level;
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  // At x - 0.5 = -0.2 the probe truncates to column 0, and at -0.4 every probe lies in
  // cell (0, 0); -1.1 is column or row -1. Then probes past the end of the short row 1 (south
  // from row 0, east within row 1); every code but "1" open, and the grid's far edges.
  // Coordinates no int can hold lie outside the grid instead of overflowing the conversion.
  const struct {
    float x, y;
    bool blocked;
  } probes[] = {
      {0.3f, 0.3f, false}, {-0.4f, -0.4f, false}, {-0.6f, 0.3f, true},   {0.3f, -0.6f, true},
      {3.5f, 0.4f, false}, {3.5f, 0.6f, true},    {2.6f, 1.5f, true},    {2.4f, 1.5f, false},
      {1.5f, 3.5f, false}, {2.5f, 3.5f, false},   {3.5f, 3.5f, false},   {1.5f, 4.4f, false},
      {4.5f, 3.5f, true},  {1.5f, 4.5f, true},    {0x1p31f, 1.5f, true}, {-3.0e9f, 1.5f, true},
      {nan, 1.5f, true},   {1.5f, inf, true},
  };
  for (const auto& probe : probes) {
    EXPECT_EQ(isBlocked(probe.x, probe.y), probe.blocked) << probe.x << ", " << probe.y;
  }
  game.currentLevel = &levelC;
}

}  // namespace
