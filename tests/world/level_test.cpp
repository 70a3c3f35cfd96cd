// Tests of the cell lookup (the golden runs play, and show the map of, the shipped levels).
// Depends on: world/level.h.
#include "world/level.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(CellLookup, MapsSpawnCodesAndTreatsOutsideAsWall) {
  // Row 1 is shorter than row 0; row 2 is empty.
  const Level level = makeLevel({"12345x", "1 1", ""});
  std::string mapped;
  for (int x = 0; x < 6; ++x) mapped += cellAt(level, x, 0);
  EXPECT_EQ(mapped, "1 3 5x");
  for (auto [x, y] :
       {std::pair{-1, 0}, {0, -1}, {0, 3}, {3, 1}, {0, 2}, {2147483647, 0}, {0, -2147483647 - 1}}) {
    EXPECT_EQ(cellAt(level, x, y), kWallCell) << x << "," << y;
  }
  EXPECT_EQ(cellAt(makeLevel({}), 0, 0), kWallCell);
}

}  // namespace
