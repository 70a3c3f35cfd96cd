// Tests of the shipped level tables and the cell lookup.
// Depends on: world/level.h.
#include "world/level.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

// FNV-1a over the rows, each ended by a newline: catches any mistyped or moved cell.
uint64_t fingerprint(const Level& level) {
  uint64_t hash = 0xcbf29ce484222325u;
  for (const std::string& row : level.rows) {
    for (char c : row + '\n') hash = (hash ^ static_cast<unsigned char>(c)) * 0x100000001b3u;
  }
  return hash;
}

TEST(ShippedLevels, KeepTheirRowsAndCountThem) {
  for (auto [level, expected] : {std::pair{&levelA, 0x5ece564dbd911091u},
                                 {&levelB, 0x645c8e1cfb8577f8u},
                                 {&levelC, 0x847b5bf3b37171d9u}}) {
    EXPECT_EQ(static_cast<size_t>(level->rowCount), level->rows.size());
    EXPECT_EQ(fingerprint(*level), expected);
  }
}

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
