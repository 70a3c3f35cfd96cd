// Breadth-first routes: shortest, neighbour-ordered, never cutting a wall's corner; and the
// distance-field route search against the plain search it replaces, for every pair of cells of
// the shipped levels and of random levels, and a field that follows its level when it changes.
// Depends on: actors/pathfinding.h, world/level.h, world/game_state.h.
#include "actors/pathfinding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstddef>
#include <optional>
#include <ostream>
#include <random>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "world/game_state.h"

void PrintTo(const CellPos& cell, std::ostream* out) {
  *out << "(" << cell.x << ", " << cell.y << ")";
}

namespace {

using Route = std::vector<CellPos>;

const Level kRingAroundWall = makeLevel({"11111", "1   1", "1 1 1", "1   1", "11111"});
const Level kOpenSquare = makeLevel({"11111", "1   1", "1   1", "1   1", "11111"});
const Level kPillar = makeLevel({"    ", " 1  ", "    ", "    "});
const Level kCorner = makeLevel({" 1", "  "});
const Level kShortRow = makeLevel({" ", "  "});
const Level kTwoRooms = makeLevel({"  1  "});
const Level kCodes = makeLevel({"1234561"});

struct RouteCase {
  const char* what;
  const Level* level;
  CellPos start, goal;
  Route expected;
};

const RouteCase kRouteCases[] = {
    {"ring", &kRingAroundWall, {1, 1}, {3, 3}, {{1, 1}, {2, 1}, {3, 1}, {3, 2}, {3, 3}}},
    {"5x5 open", &kOpenSquare, {1, 1}, {3, 3}, {{1, 1}, {2, 2}, {3, 3}}},
    {"5x5 goal on the wall", &kRingAroundWall, {1, 1}, {2, 2}, {}},
    {"pillar tie", &kPillar, {0, 1}, {2, 1}, {{0, 1}, {0, 2}, {1, 2}, {2, 2}, {2, 1}}},
    {"start is goal on a wall", &kRingAroundWall, {2, 2}, {2, 2}, {{2, 2}}},
    {"start is goal outside", &kOpenSquare, {9, 9}, {9, 9}, {{9, 9}}},
    {"start is goal at -1", &kOpenSquare, {-1, 2}, {-1, 2}, {{-1, 2}}},
    {"start outside", &kShortRow, {-1, 0}, {0, 1}, {{-1, 0}, {0, 0}, {0, 1}}},
    {"start on a wall", &kRingAroundWall, {2, 2}, {3, 3}, {{2, 2}, {3, 3}}},
    {"goal walled", &kOpenSquare, {1, 1}, {0, 0}, {}},
    {"goal past the row", &kOpenSquare, {1, 1}, {5, 1}, {}},
    {"goal above the grid", &kOpenSquare, {1, 1}, {1, -1}, {}},
    {"goal walled off", &kTwoRooms, {0, 0}, {4, 0}, {}},
    {"corner", &kCorner, {0, 0}, {1, 1}, {{0, 0}, {0, 1}, {1, 1}}},
    {"corner back", &kCorner, {1, 1}, {0, 0}, {{1, 1}, {0, 1}, {0, 0}}},
    {"corner past a short row", &kShortRow, {0, 0}, {1, 1}, {{0, 0}, {0, 1}, {1, 1}}},
    {"straight right", &kOpenSquare, {1, 2}, {3, 2}, {{1, 2}, {2, 2}, {3, 2}}},
    {"straight up", &kOpenSquare, {2, 3}, {2, 1}, {{2, 3}, {2, 2}, {2, 1}}},
    {"codes are floor", &kCodes, {1, 0}, {5, 0}, {{1, 0}, {2, 0}, {3, 0}, {4, 0}, {5, 0}}},
};

TEST(FindPath, HandMadeExamples) {
  for (const RouteCase& c : kRouteCases) {
    game.currentLevel = c.level;
    EXPECT_EQ(findPath(c.start.x, c.start.y, c.goal.x, c.goal.y), c.expected) << c.what;
  }
  game.currentLevel = &levelC;
}

using Cell = CellPos;

// Every cell of the grid and the ring around it, walls included.
std::vector<Cell> gridAndRing(const Level& level) {
  size_t longest = 0;
  for (const std::string& row : level.rows) longest = std::max(longest, row.size());
  std::vector<Cell> cells;
  for (int y = -1; y <= level.rowCount; ++y) {
    for (int x = -1; x <= static_cast<int>(longest); ++x) cells.push_back({x, y});
  }
  return cells;
}

std::vector<Cell> openCells(const Level& level) {
  std::vector<Cell> cells = gridAndRing(level);
  std::erase_if(cells, [&](Cell cell) { return cellAt(level, cell.x, cell.y) == '1'; });
  return cells;
}

std::string describe(Cell start, Cell goal) {
  return "from " + testing::PrintToString(start) + " to " + testing::PrintToString(goal);
}

// findPath, and the single route step the enemies ask for, agree with the plain search's route.
// Returns false after the first disagreement so that one fault does not print a million lines.
bool agreesWith(const Route& expected, Cell start, Cell goal) {
  CellPos step{};
  const bool stepped = findRouteStep(start.x, start.y, goal.x, goal.y, step);
  const bool agree = findPath(start.x, start.y, goal.x, goal.y) == expected &&
                     stepped == (expected.size() >= 2) && (!stepped || step == expected[1]);
  EXPECT_TRUE(agree) << describe(start, goal);
  return agree;
}

bool searchesAgree(Cell start, Cell goal) {
  return agreesWith(findPathReference(start.x, start.y, goal.x, goal.y), start, goal);
}

// Goal-major, as the enemies ask: the field of one goal serves a run of starts.
void expectAgreementOver(const std::vector<Cell>& starts, const std::vector<Cell>& goals,
                         size_t stride) {
  size_t pair = 0;
  for (const Cell& goal : goals) {
    for (const Cell& start : starts) {
      if (pair++ % stride != 0) continue;
      if (!searchesAgree(start, goal)) return;
    }
  }
}

bool isOpen(const Level& level, int x, int y) {
  return cellAt(level, x, y) != '1';
}

// A cell the plain search could enter from `from` that is not among `reached`, if any.
std::optional<CellPos> stepOutOf(const Level& level, const std::set<CellPos>& reached) {
  for (const CellPos& from : reached) {
    for (const CellPos& step : kNeighbourSteps) {
      const CellPos next{from.x + step.x, from.y + step.y};
      if (!isOpen(level, next.x, next.y) || reached.contains(next)) continue;
      if (step.x != 0 && step.y != 0 &&
          (!isOpen(level, next.x, from.y) || !isOpen(level, from.x, next.y))) {
        continue;
      }
      return next;
    }
  }
  return std::nullopt;
}

// Every pair of open cells, with far fewer plain searches. The plain search's route to a goal
// is a path in its tree of first-found parents, and that tree does not depend on the goal (the
// search only stops earlier or later), so its route to any cell along that route is that
// route's prefix: goals are taken farthest first, and one plain search settles every cell its
// route passes. The plain search enters a cell only by a move from one it has reached, so once
// the settled cells admit no move out of them, every other goal is one it finds no route to.
void expectAgreementForEveryPair(const Level& level, const std::vector<Cell>& cells) {
  for (const Cell& start : cells) {
    std::vector<std::pair<size_t, Cell>> goalsByLength;
    for (const Cell& goal : cells) {
      goalsByLength.push_back({findPath(start.x, start.y, goal.x, goal.y).size(), goal});
    }
    std::stable_sort(goalsByLength.begin(), goalsByLength.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    std::set<CellPos> settled;
    for (const auto& [length, goal] : goalsByLength) {
      if (length == 0) {
        ASSERT_FALSE(settled.contains(CellPos{goal.x, goal.y})) << describe(start, goal);
        continue;
      }
      if (settled.contains(CellPos{goal.x, goal.y})) continue;
      const Route expected = findPathReference(start.x, start.y, goal.x, goal.y);
      if (!agreesWith(expected, start, goal)) return;
      for (size_t end = 1; end <= expected.size(); ++end) {
        const CellPos along = expected[end - 1];
        if (!settled.insert(along).second) continue;
        const Route prefix(expected.begin(), expected.begin() + static_cast<ptrdiff_t>(end));
        ASSERT_EQ(findPath(start.x, start.y, along.x, along.y), prefix)
            << describe(start, {along.x, along.y});
      }
    }
    const std::optional<CellPos> escape = stepOutOf(level, settled);
    ASSERT_FALSE(escape.has_value())
        << "the plain search reaches (" << escape->x << ", " << escape->y << ") from (" << start.x
        << ", " << start.y << "); findPath has no route there";
  }
}

// An optimised build checks every pair of open cells; a debug (sanitized) build, where every
// plain search costs many times more, a spread sample and fewer random levels.
#ifdef NDEBUG
constexpr bool kEveryPair = true;
constexpr size_t kSampleStride = 97;
constexpr int kRandomLevels = 150;
#else
constexpr bool kEveryPair = false;
constexpr size_t kSampleStride = 1009;
constexpr int kRandomLevels = 10;
#endif

class ShippedLevelRoutes : public testing::TestWithParam<const Level*> {
 protected:
  void SetUp() override { game.currentLevel = GetParam(); }
};

TEST_P(ShippedLevelRoutes, MatchThePlainSearchForEveryPairOfOpenCells) {
  const std::vector<Cell> open = openCells(*GetParam());
  if (kEveryPair) {
    expectAgreementForEveryPair(*GetParam(), open);
  } else {
    expectAgreementOver(open, open, kSampleStride);
  }
}

INSTANTIATE_TEST_SUITE_P(Levels, ShippedLevelRoutes, testing::Values(&levelA, &levelB, &levelC),
                         [](const testing::TestParamInfo<const Level*>& info) {
                           return info.param == &levelA   ? "LevelA"
                                  : info.param == &levelB ? "LevelB"
                                                          : "LevelC";
                         });

// Ragged rows of floor, walls and the other codes, small enough that every pair is cheap.
Level randomLevel(std::mt19937& random) {
  std::uniform_int_distribution<int> rows(1, 9);
  std::uniform_int_distribution<int> length(0, 12);
  std::uniform_int_distribution<int> wallPercent(0, 60);
  std::uniform_int_distribution<int> percent(0, 99);
  const char kFloors[] = " 2345x";
  std::uniform_int_distribution<int> floor(0, 5);
  const int walls = wallPercent(random);
  std::vector<std::string> text(static_cast<size_t>(rows(random)));
  for (std::string& row : text) {
    row.resize(static_cast<size_t>(length(random)));
    for (char& c : row) c = percent(random) < walls ? '1' : kFloors[floor(random)];
  }
  return makeLevel(std::move(text));
}

TEST(RandomLevelRoutes, MatchThePlainSearchForEveryPairOfCellsInAndAroundTheGrid) {
  std::mt19937 random(20240601);
  for (int round = 0; round < kRandomLevels; ++round) {
    const Level level = randomLevel(random);
    game.currentLevel = &level;
    const std::vector<Cell> cells = gridAndRing(level);
    expectAgreementOver(cells, cells, 1);
    if (testing::Test::HasFailure()) {
      for (const std::string& row : level.rows) ADD_FAILURE() << "level row '" << row << "'";
      break;
    }
  }
  game.currentLevel = &levelC;  // the random levels die with the test
}

TEST(RandomLevelRoutes, StartsFarOutsideTheGridHaveNoRouteButToThemselves) {
  game.currentLevel = &levelA;
  const Cell farStarts[] = {{INT_MAX, 3}, {INT_MIN, 3}, {4, INT_MAX}, {4, INT_MIN}, {-2, 14}};
  for (const Cell& start : farStarts) {
    EXPECT_EQ(findPath(start.x, start.y, 2, 14), Route{}) << describe(start, {2, 14});
    EXPECT_EQ(findPath(start.x, start.y, start.x, start.y), (Route{{start.x, start.y}}));
    CellPos step{};
    EXPECT_FALSE(findRouteStep(start.x, start.y, 2, 14, step));
  }
  game.currentLevel = &levelC;
}

// The field is kept between calls: it must follow a level changed in place, and a new level
// built where an old one was, while the goal stays the same.
TEST(RouteFieldReuse, FollowsALevelThatChangesUnderTheSameGoal) {
  Level level = makeLevel({"     ", "     "});
  game.currentLevel = &level;
  EXPECT_EQ(findPath(0, 0, 4, 0), (Route{{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}));
  level.rows[0][2] = '1';
  EXPECT_EQ(findPath(0, 0, 4, 0), (Route{{0, 0}, {1, 1}, {2, 1}, {3, 1}, {4, 0}}));
  level.rows[1][2] = '1';
  EXPECT_EQ(findPath(0, 0, 4, 0), Route{});
  level = makeLevel({"  1  ", "     ", "     "});
  for (const Cell& start : gridAndRing(level)) searchesAgree(start, {4, 0});
  level.rowCount = 1;  // the rows below are outside the grid now
  EXPECT_EQ(findPath(0, 0, 4, 0), Route{});
  // The same goal in shipped levels, one of which has it on a wall.
  for (const Level* shipped : {&levelA, &levelC, &levelB, &levelA}) {
    game.currentLevel = shipped;
    EXPECT_EQ(findPath(2, 1, 4, 3), findPathReference(2, 1, 4, 3));
  }
  game.currentLevel = &levelC;
}

}  // namespace
