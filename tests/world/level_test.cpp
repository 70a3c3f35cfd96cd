// Tests of the shipped level tables and the two cell lookups.
// Depends on: world/level.h.
#include "world/level.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace {

struct LevelFacts {
  const char* name;
  const Level* level;
  int rows;
  int columns;
  int walls;
  int open;
  char spawnCode;
  int spawns;
  int exitX;
  int exitY;
  int startX;  // the player's start cell
  int startY;
};

const LevelFacts kShippedLevels[] = {
    {"A", &levelA, 17, 22, 155, 208, '2', 10, 1, 14, 15, 3},
    {"B", &levelB, 11, 80, 224, 425, '4', 230, 78, 8, 3, 3},
    {"C", &levelC, 11, 83, 381, 275, '4', 256, 79, 1, 5, 5},
};

int countCode(const Level& level, char code) {
  int count = 0;
  for (const std::string& row : level.rows) {
    for (char c : row) count += c == code ? 1 : 0;
  }
  return count;
}

// Breadth-first flood over cells the player may walk (cellAt gives a space), from the start cell.
std::vector<std::vector<bool>> reachableFrom(const Level& level, int startX, int startY) {
  std::vector<std::vector<bool>> seen(level.rows.size());
  for (std::size_t y = 0; y < level.rows.size(); ++y) seen[y].assign(level.rows[y].size(), false);
  std::deque<std::pair<int, int>> open{{startX, startY}};
  seen[startY][startX] = true;
  while (!open.empty()) {
    const auto [x, y] = open.front();
    open.pop_front();
    const int dx[] = {1, -1, 0, 0};
    const int dy[] = {0, 0, 1, -1};
    for (int i = 0; i < 4; ++i) {
      const int nx = x + dx[i];
      const int ny = y + dy[i];
      if (cellAt(level, nx, ny) != ' ' || seen[ny][nx]) continue;
      seen[ny][nx] = true;
      open.push_back({nx, ny});
    }
  }
  return seen;
}

TEST(ShippedLevels, MatchTheirSummaryCounts) {
  for (const LevelFacts& facts : kShippedLevels) {
    SCOPED_TRACE(facts.name);
    const Level& level = *facts.level;
    EXPECT_EQ(level.rowCount, facts.rows);
    ASSERT_EQ(static_cast<int>(level.rows.size()), facts.rows);
    for (const std::string& row : level.rows)
      EXPECT_EQ(static_cast<int>(row.size()), facts.columns);
    EXPECT_EQ(countCode(level, '1'), facts.walls);
    EXPECT_EQ(countCode(level, ' '), facts.open);
    EXPECT_EQ(countCode(level, facts.spawnCode), facts.spawns);
    EXPECT_EQ(countCode(level, '5'), 1);
    EXPECT_EQ(countCode(level, '3'), 0);
    EXPECT_EQ(facts.walls + facts.open + facts.spawns + 1, facts.rows * facts.columns)
        << "no code beyond 1, space, the spawn code and one 5";
    EXPECT_EQ(storedCellAt(level, facts.exitX, facts.exitY), '5');
    EXPECT_EQ(cellAt(level, facts.startX, facts.startY), ' ');
  }
}

TEST(ShippedLevels, EverySpawnAndTheExitAreReachableFromTheStart) {
  for (const LevelFacts& facts : kShippedLevels) {
    SCOPED_TRACE(facts.name);
    const Level& level = *facts.level;
    const auto seen = reachableFrom(level, facts.startX, facts.startY);
    int reachedSpawns = 0;
    for (int y = 0; y < level.rowCount; ++y) {
      for (int x = 0; x < static_cast<int>(level.rows[y].size()); ++x) {
        if (storedCellAt(level, x, y) == facts.spawnCode && seen[y][x]) ++reachedSpawns;
      }
    }
    EXPECT_EQ(reachedSpawns, facts.spawns);
    bool exitNextToReached = false;
    for (auto [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
      const int x = facts.exitX + dx;
      const int y = facts.exitY + dy;
      if (cellAt(level, x, y) == ' ' && seen[y][x]) exitNextToReached = true;
    }
    EXPECT_TRUE(exitNextToReached);
  }
}

TEST(ShippedLevels, KeepTheirDistinctiveRows) {
  // Level A's identical top and bottom rows are two separate rows.
  EXPECT_EQ(levelA.rows[0], levelA.rows[16]);
  EXPECT_EQ(levelA.rows[0], std::string(22, '1'));
  EXPECT_EQ(levelA.rows[13], "1121    21     11 1 21");

  // Level B's open margins outside its walls, six cells wide.
  for (int y = 0; y <= 4; ++y) EXPECT_EQ(levelB.rows[y].substr(74), "      ") << "row " << y;
  for (int y = 6; y <= 10; ++y) EXPECT_EQ(levelB.rows[y].substr(0, 6), "      ") << "row " << y;
  // Row 5 is the wall that closes both margins: walled at both ends.
  EXPECT_EQ(levelB.rows[5].substr(0, 8), "11111114");
  EXPECT_EQ(levelB.rows[5].substr(72), "41111111");
  EXPECT_EQ(levelB.rows[0].substr(61, 4), "    ");
  EXPECT_EQ(levelB.rows[10].substr(15, 5), "     ");
  EXPECT_EQ(levelB.rows[8].substr(76), "  51");
  // Level C's gap in its bottom wall.
  EXPECT_EQ(levelC.rows[10].substr(8, 7), "1     1");
  EXPECT_EQ(levelC.rows[1].substr(76), "1445441");

  // The open margins are not reachable, yet a lookup just beyond them reads as wall.
  const auto seenB = reachableFrom(levelB, 3, 3);
  EXPECT_FALSE(seenB[0][79]);
  EXPECT_FALSE(seenB[10][0]);
  EXPECT_EQ(cellAt(levelB, 80, 0), '1');
  EXPECT_EQ(cellAt(levelB, -1, 10), '1');
  EXPECT_EQ(cellAt(levelB, 62, -1), '1');
  EXPECT_EQ(cellAt(levelC, 10, 11), '1');
  EXPECT_EQ(cellAt(levelC, 10, 10), ' ');
}

TEST(CellLookup, MapsSpawnCodesAndTreatsOutsideAsWall) {
  const Level level = makeLevel({"12345x", "1 1", ""});
  EXPECT_EQ(level.rowCount, 3);

  // cellAt: spawn codes read as floor, everything else as stored.
  EXPECT_EQ(cellAt(level, 0, 0), '1');
  EXPECT_EQ(cellAt(level, 1, 0), ' ');
  EXPECT_EQ(cellAt(level, 2, 0), '3');
  EXPECT_EQ(cellAt(level, 3, 0), ' ');
  EXPECT_EQ(cellAt(level, 4, 0), '5');
  EXPECT_EQ(cellAt(level, 5, 0), 'x');
  EXPECT_EQ(cellAt(level, 1, 1), ' ');

  // Outside: negative, past the last row, past the end of a short or empty row.
  EXPECT_EQ(cellAt(level, -1, 0), '1');
  EXPECT_EQ(cellAt(level, 0, -1), '1');
  EXPECT_EQ(cellAt(level, 0, 3), '1');
  EXPECT_EQ(cellAt(level, 3, 1), '1') << "row 1 is shorter than row 0";
  EXPECT_EQ(cellAt(level, 0, 2), '1') << "an empty row has no cells";
  EXPECT_EQ(cellAt(level, 2147483647, 0), '1');
  EXPECT_EQ(cellAt(level, 0, -2147483647 - 1), '1');

  // storedCellAt: no mapping inside, a NUL outside.
  EXPECT_EQ(storedCellAt(level, 1, 0), '2');
  EXPECT_EQ(storedCellAt(level, 3, 0), '4');
  EXPECT_EQ(storedCellAt(level, 1, 1), ' ');
  EXPECT_EQ(storedCellAt(level, 3, 1), '\0');
  EXPECT_EQ(storedCellAt(level, -1, 0), '\0');
  EXPECT_EQ(storedCellAt(level, 0, 3), '\0');
  EXPECT_EQ(storedCellAt(level, 0, 2), '\0');
}

TEST(CellLookup, AnEmptyLevelIsAllWall) {
  const Level empty = makeLevel({});
  EXPECT_EQ(empty.rowCount, 0);
  EXPECT_EQ(cellAt(empty, 0, 0), '1');
  EXPECT_EQ(storedCellAt(empty, 0, 0), '\0');
}

}  // namespace
