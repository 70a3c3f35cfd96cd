// Breadth-first routes: starts at the ends of the int range, and the distance-field search
// against the plain search (shortest, neighbour-ordered, never cutting a wall's corner) on every
// pair of a level walled in its middle and of small random levels, and a fixed sample of pairs of
// the shipped levels.
// Depends on: actors/pathfinding.h, testing/pathfinding_reference.h, world/game_state.h.
#include "actors/pathfinding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <ostream>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "testing/pathfinding_reference.h"
#include "world/game_state.h"

void PrintTo(const CellPos& cell, std::ostream* out) {
  *out << "(" << cell.x << ", " << cell.y << ")";
}

namespace {

using Route = std::vector<CellPos>;

const Level kOpenSquare = makeLevel({"11111", "1   1", "1   1", "1   1", "11111"});

// findPath, and the single route step the enemies ask for, both give this route.
bool routesAre(const Route& expected, CellPos start, CellPos goal) {
  CellPos step{};
  const bool stepped = findRouteStep(start.x, start.y, goal.x, goal.y, step);
  const bool agree = findPath(start.x, start.y, goal.x, goal.y) == expected &&
                     stepped == (expected.size() >= 2) && (!stepped || step == expected[1]);
  EXPECT_TRUE(agree) << testing::PrintToString(start) << " to " << testing::PrintToString(goal);
  return agree;
}

// False after the first disagreement so that one fault does not print a million lines.
bool searchesAgree(CellPos start, CellPos goal) {
  return routesAre(findPathReference(start.x, start.y, goal.x, goal.y), start, goal);
}

// Starts beyond the grid and its ring, which the comparison below does not reach, have no route
// but to themselves.
TEST(FindPath, StartsFarOutsideHaveNoRoute) {
  game.currentLevel = &kOpenSquare;
  for (CellPos start : {CellPos{INT_MAX, 3}, {INT_MIN, 3}, {2, INT_MAX}, {2, INT_MIN}}) {
    EXPECT_TRUE(routesAre({}, start, {2, 2}));
  }
  EXPECT_TRUE(routesAre({{INT_MIN, 3}}, {INT_MIN, 3}, {INT_MIN, 3}));
  game.currentLevel = &levelC;
}

// Every cell of the grid and the ring around it, walls included.
std::vector<CellPos> gridAndRing(const Level& level) {
  size_t longest = 0;
  for (const std::string& row : level.rows) longest = std::max(longest, row.size());
  std::vector<CellPos> cells;
  for (int y = -1; y <= level.rowCount; ++y) {
    for (int x = -1; x <= static_cast<int>(longest); ++x) cells.push_back({x, y});
  }
  return cells;
}

// Ragged rows of floor, walls and the other codes, small enough that every pair is cheap.
Level randomLevel(std::mt19937& random) {
  const int walls = std::uniform_int_distribution<int>(0, 60)(random);
  std::vector<std::string> text(std::uniform_int_distribution<size_t>(1, 7)(random));
  for (std::string& row : text) {
    row.resize(std::uniform_int_distribution<size_t>(0, 9)(random));
    for (char& c : row) {
      c = std::uniform_int_distribution<int>(0, 99)(random) < walls
              ? kWallCell
              : " 2345x"[std::uniform_int_distribution<int>(0, 5)(random)];
    }
  }
  return makeLevel(std::move(text));
}

// Every pair in and around a level walled in its middle, round which routes tie in every
// direction (the neighbour order alone decides them), and in small random levels; on the shipped
// levels, runs of random starts towards random goals, as the enemies ask, so that the kept field
// is reused too.
TEST(FindPath, MatchesThePlainSearch) {
  std::mt19937 random(20240601);
  Level level;  // one level whose rows change: a field kept for its earlier rows is stale
  for (int round = 0; round <= 8; ++round) {
    level = round ? randomLevel(random) : makeLevel({"     ", "     ", "  1  ", "     ", "     "});
    game.currentLevel = &level;
    const std::vector<CellPos> cells = gridAndRing(level);
    bool agree = true;
    for (const CellPos& goal : cells) {
      for (const CellPos& start : cells) agree = agree && searchesAgree(start, goal);
    }
    for (const std::string& row : level.rows) {
      if (!agree) ADD_FAILURE() << "level row '" << row << "'";
    }
  }
  for (const Level* level : {&levelA, &levelB, &levelC}) {
    game.currentLevel = level;
    std::vector<CellPos> open = gridAndRing(*level);
    std::erase_if(open, [&](CellPos c) { return cellAt(*level, c.x, c.y) == kWallCell; });
    std::uniform_int_distribution<size_t> pick(0, open.size() - 1);
    for (int goal = 0; goal < 20; ++goal) {
      const CellPos target = open[pick(random)];
      for (int start = 0; start < 10; ++start) searchesAgree(open[pick(random)], target);
    }
  }
  game.currentLevel = &levelC;  // the random levels die with the test
}

}  // namespace
