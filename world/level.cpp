// The three compiled-in level grids and the cell lookup every subsystem reads them through.
// Owns: levelA, levelB, levelC, makeLevel, cellAt. Depends on: world/level.h.
#include "world/level.h"

#include <cstddef>
#include <utility>

Level makeLevel(std::vector<std::string> rows) {
  const auto rowCount = static_cast<int32_t>(rows.size());
  return Level{std::move(rows), rowCount};
}

namespace {

// Each row bounds x by its own length; y is tested first because the row must exist before its
// length can be read.
bool insideGrid(const Level& level, int x, int y) {
  if (y < 0 || y >= level.rowCount) return false;
  return x >= 0 && static_cast<std::size_t>(x) < level.rows[static_cast<std::size_t>(y)].size();
}

}  // namespace

char cellAt(const Level& level, int x, int y) {
  // Outside the grid behaves as wall, so rays, shots and routes stop at the level's edge even
  // where the outermost cells are open.
  if (!insideGrid(level, x, y)) return kWallCell;
  const char code = level.rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
  // The enemies spawned there are separate records; the ground itself is open floor.
  return (code == kEnemy2Cell || code == kEnemy4Cell) ? kFloorCell : code;
}

// Played by marbek. Closed by walls on all four edges.
const Level levelA = makeLevel({
    "1111111111111111111111",
    "1     1     1   1    1",
    "1 111 1     1   1  2 1",
    "1        1      1    1",
    "1  2  1     1   1 11 1",
    "1     1     1   1 11 1",
    "1     11111111111 11 1",
    "1     1              1",
    "1  2  1     11       1",
    "1        11211       1",
    "1 111 1  11    1111  1",
    "1  2  1        112   1",
    "11111111111111111 1  1",
    "1121    21     11 1 21",
    "15                   1",
    "11   21     1        1",
    "1111111111111111111111",
});

// Played by tolvan. Rows 0-4 end in six open cells and rows 6-10 begin with six: they lie
// outside the walled area and are unreachable from the start.
const Level levelB = makeLevel({
    "1111111111111111111111111111111111111111111111111111111111111    111111111      ",
    "1444444444444444444444444444444444111444444444444444444444441    144444441      ",
    "14                                4114                     41    14     41      ",
    "14                         4444    414                     41    14     41      ",
    "14444444     444444444            4114    44444    444     41    14     41      ",
    "11111114     411111114     44    41114    41114    414     41111114     41111111",
    "      14     41     14     414    4444    44444    414     44444444     44444441",
    "      14     41     14     4114                    414                        41",
    "      14     41     14     4114                    414                        51",
    "      144444441     144444441144444444444444444444441444444444444444444444444441",
    "      111111111     111111111111111111111111111111111111111111111111111111111111",
});

// Played by ziravo.
const Level levelC = makeLevel({
    "11111111111111111111111111111111111111111111111111111111111111111111111111111111111",
    "14444444444444414444411144444411144444111444411111111444444444444111444444111445441",
    "14     411114 414   41114    4111    41114  4111111114  41114    111     41114   41",
    "14     411114 414   41114    4411    41114  4111441114  41114    111     44114   41",
    "14     4444444444   41114    4441    41114  4114  4114  41114    111     44414   41",
    "14     411111114    41114    4144    41114  444 44 444  41114    111     41444   41",
    "14     41     14    41114    4114    41114     4114     41114    111     41144   41",
    "14     41     14    41114    4111    41114     4114     41114    111     41114   41",
    "14     41     14    41114    4111    41114    411114    41114    111     41114   41",
    "144444441     144444444444444411144444444444444111144444411144444444444444111444441",
    "111111111     111111111111111111111111111111111111111111111111111111111111111111111",
});
