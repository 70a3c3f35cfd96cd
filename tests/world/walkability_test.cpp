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

// A 5 x 5 floor with the given cells made wall, so each probe can be isolated.
Level floorWithWalls(std::vector<std::pair<int, int>> walls) {
  std::vector<std::string> rows(5, std::string(5, ' '));
  for (auto [x, y] : walls) rows[y][x] = '1';
  return makeLevel(rows);
}

struct Probe {
  std::vector<std::pair<int, int>> walls;
  float x;
  float y;
  bool blocked;
};

TEST(IsBlocked, ProbesHalfACellAlongEachAxis) {
  const Probe probes[] = {
      {{}, 2.5f, 2.5f, false},
      // At a centre the east and south probes land on the next cell, west and north do not.
      {{{3, 2}}, 2.5f, 2.5f, true},
      {{{2, 3}}, 2.5f, 2.5f, true},
      {{{1, 2}}, 2.5f, 2.5f, false},
      {{{2, 1}}, 2.5f, 2.5f, false},
      {{{3, 2}}, 2.4f, 2.5f, false},
      {{{1, 2}}, 2.6f, 2.5f, false},
      {{{1, 2}}, 2.4f, 2.5f, true},
      {{{2, 1}}, 2.5f, 2.4f, true},
      {{{2, 3}}, 2.5f, 2.4f, false},
      // Diagonal neighbours never block.
      {{{1, 1}, {3, 3}, {1, 3}, {3, 1}}, 2.5f, 2.5f, false},
      {{{1, 1}, {3, 3}, {1, 3}, {3, 1}}, 2.1f, 2.1f, false},
      // Standing in a wall cell blocks through any probe that stays in it.
      {{{2, 2}}, 2.5f, 2.5f, true},
  };
  for (const Probe& probe : probes) {
    const Level level = floorWithWalls(probe.walls);
    game.currentLevel = &level;
    EXPECT_EQ(isBlocked(probe.x, probe.y), probe.blocked)
        << "at (" << probe.x << ", " << probe.y << ") with " << probe.walls.size() << " walls";
  }
  game.currentLevel = &levelC;
}

TEST(IsBlocked, TruncatesTowardZeroAndBoundsEachRow) {
  // Row 1 is shorter than its neighbours: columns 3 and 4 exist only in rows 0 and 2.
  const Level level = makeLevel({"     ", "   ", "     "});
  game.currentLevel = &level;
  EXPECT_FALSE(isBlocked(0.3f, 0.3f)) << "x - 0.5 = -0.2 truncates to column 0";
  EXPECT_TRUE(isBlocked(-0.6f, 0.3f)) << "x - 0.5 = -1.1 is column -1";
  EXPECT_TRUE(isBlocked(0.3f, -0.6f)) << "y - 0.5 = -1.1 is row -1";
  EXPECT_FALSE(isBlocked(-0.4f, -0.4f)) << "every probe truncates into cell (0, 0)";
  EXPECT_FALSE(isBlocked(3.5f, 0.4f));
  EXPECT_TRUE(isBlocked(3.5f, 0.6f)) << "the south probe reaches past the end of row 1";
  EXPECT_TRUE(isBlocked(2.6f, 1.5f)) << "the east probe, column 3.1, is past the end of row 1";
  EXPECT_FALSE(isBlocked(2.4f, 1.5f));
  EXPECT_TRUE(isBlocked(1.5f, 2.6f)) << "row 3 does not exist";
  game.currentLevel = &levelC;
}

TEST(IsBlocked, OnlyTheWallCodeAndTheOutsideBlock) {
  // Every non-wall code is open for the probes, the spawn codes, props and the exit alike.
  const Level level = makeLevel({"     ", " 2345", " x   ", "     "});
  game.currentLevel = &level;
  EXPECT_FALSE(isBlocked(1.5f, 1.5f));
  EXPECT_FALSE(isBlocked(2.5f, 1.5f));
  EXPECT_FALSE(isBlocked(3.5f, 1.5f));
  EXPECT_TRUE(isBlocked(4.5f, 1.5f)) << "the east probe leaves the grid";
  EXPECT_FALSE(isBlocked(1.5f, 2.5f));
  // Coordinates no int can hold lie outside the grid instead of overflowing the conversion.
  EXPECT_TRUE(isBlocked(3.0e9f, 1.5f));
  EXPECT_TRUE(isBlocked(-3.0e9f, 1.5f));
  EXPECT_TRUE(isBlocked(std::numeric_limits<float>::quiet_NaN(), 1.5f));
  EXPECT_TRUE(isBlocked(1.5f, std::numeric_limits<float>::infinity()));
  game.currentLevel = &levelC;
}

}  // namespace
