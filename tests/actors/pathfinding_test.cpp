// Breadth-first routes: shortest, neighbour-ordered, never cutting a wall's corner.
// Depends on: actors/pathfinding.h, hand-made levels through world/level.h.
#include "actors/pathfinding.h"

#include <gtest/gtest.h>

#include <ostream>

#include "world/game_state.h"

void PrintTo(const CellPos& cell, std::ostream* out) {
  *out << "(" << cell.x << ", " << cell.y << ")";
}

namespace {

using Route = std::vector<CellPos>;

const Level kRingAroundWall = makeLevel({
    "11111",
    "1   1",
    "1 1 1",
    "1   1",
    "11111",
});
const Level kOpenSquare = makeLevel({
    "11111",
    "1   1",
    "1   1",
    "1   1",
    "11111",
});

Route routeIn(const Level& level, int startX, int startY, int goalX, int goalY) {
  game.currentLevel = &level;
  Route route = findPath(startX, startY, goalX, goalY);
  game.currentLevel = &levelC;  // the local levels of a test die with it
  return route;
}

TEST(FindPath, FiveByFiveExamples) {
  EXPECT_EQ(routeIn(kRingAroundWall, 1, 1, 3, 3), (Route{{1, 1}, {2, 1}, {3, 1}, {3, 2}, {3, 3}}));
  EXPECT_EQ(routeIn(kOpenSquare, 1, 1, 3, 3), (Route{{1, 1}, {2, 2}, {3, 3}}));
  EXPECT_EQ(routeIn(kRingAroundWall, 1, 1, 2, 2), Route{});
}

// Around a pillar several shortest routes exist; the neighbour order alone picks one.
TEST(FindPath, TiesAroundAPillarFollowTheNeighbourOrder) {
  const Level pillarHigh = makeLevel({"    ", " 1  ", "    ", "    "});
  EXPECT_EQ(routeIn(pillarHigh, 0, 1, 2, 1), (Route{{0, 1}, {0, 2}, {1, 2}, {2, 2}, {2, 1}}));
  EXPECT_EQ(routeIn(pillarHigh, 1, 3, 1, 0), (Route{{1, 3}, {2, 2}, {2, 1}, {2, 0}, {1, 0}}));
  EXPECT_EQ(routeIn(pillarHigh, 3, 1, 0, 1), (Route{{3, 1}, {2, 2}, {1, 2}, {0, 2}, {0, 1}}));
  const Level pillarLow = makeLevel({"    ", "    ", " 1  ", "    "});
  EXPECT_EQ(routeIn(pillarLow, 1, 0, 1, 3), (Route{{1, 0}, {2, 1}, {2, 2}, {2, 3}, {1, 3}}));
}

TEST(FindPath, StartEqualToGoalIsOneCellWherever) {
  EXPECT_EQ(routeIn(kOpenSquare, 2, 2, 2, 2), (Route{{2, 2}}));
  EXPECT_EQ(routeIn(kRingAroundWall, 2, 2, 2, 2), (Route{{2, 2}}));  // a wall cell
  EXPECT_EQ(routeIn(kOpenSquare, 9, 9, 9, 9), (Route{{9, 9}}));      // outside the grid
  // A coordinate of -1 must not be taken for the start's missing parent.
  EXPECT_EQ(routeIn(kOpenSquare, -1, 2, -1, 2), (Route{{-1, 2}}));
}

TEST(FindPath, StartOutsideTheGridStillHeadsItsRoute) {
  const Level openEdge = makeLevel({" ", " "});
  EXPECT_EQ(routeIn(openEdge, -1, 0, 0, 1), (Route{{-1, 0}, {0, 0}, {0, 1}}));
  EXPECT_EQ(routeIn(kRingAroundWall, 2, 2, 3, 3), (Route{{2, 2}, {3, 3}}));  // from a wall cell
}

TEST(FindPath, UnreachableGoalsGiveNoRoute) {
  const Level twoRooms = makeLevel({"  1  "});
  EXPECT_EQ(routeIn(kOpenSquare, 1, 1, 0, 0), Route{});   // wall
  EXPECT_EQ(routeIn(kOpenSquare, 1, 1, 5, 1), Route{});   // past the row's end
  EXPECT_EQ(routeIn(kOpenSquare, 1, 1, 1, -1), Route{});  // above the grid
  EXPECT_EQ(routeIn(twoRooms, 0, 0, 4, 0), Route{});      // walled off
}

TEST(FindPath, DiagonalStepsNeverCutACorner) {
  EXPECT_EQ(routeIn(kOpenSquare, 1, 1, 2, 1), (Route{{1, 1}, {2, 1}}));
  EXPECT_EQ(routeIn(kOpenSquare, 2, 2, 1, 3), (Route{{2, 2}, {1, 3}}));

  const Level corner = makeLevel({
      " 1",
      "  ",
  });
  EXPECT_EQ(routeIn(corner, 0, 0, 1, 1), (Route{{0, 0}, {0, 1}, {1, 1}}));
  EXPECT_EQ(routeIn(corner, 1, 1, 0, 0), (Route{{1, 1}, {0, 1}, {0, 0}}));

  // Past the end of a short row counts as a wall for the corner rule too.
  const Level shortRow = makeLevel({
      " ",
      "  ",
  });
  EXPECT_EQ(routeIn(shortRow, 0, 0, 1, 1), (Route{{0, 0}, {0, 1}, {1, 1}}));
}

TEST(FindPath, StraightLinesWinOverEqualDetoursAndCodesAreFloor) {
  const Level room = makeLevel({
      "       ",
      "       ",
      "       ",
      "       ",
      "       ",
  });
  EXPECT_EQ(routeIn(room, 3, 2, 6, 2), (Route{{3, 2}, {4, 2}, {5, 2}, {6, 2}}));
  EXPECT_EQ(routeIn(room, 3, 2, 0, 2), (Route{{3, 2}, {2, 2}, {1, 2}, {0, 2}}));
  EXPECT_EQ(routeIn(room, 3, 0, 3, 4), (Route{{3, 0}, {3, 1}, {3, 2}, {3, 3}, {3, 4}}));
  EXPECT_EQ(routeIn(room, 3, 4, 3, 0), (Route{{3, 4}, {3, 3}, {3, 2}, {3, 1}, {3, 0}}));

  const Level codes = makeLevel({"1234561"});
  EXPECT_EQ(routeIn(codes, 1, 0, 5, 0), (Route{{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}));
}

}  // namespace
