// Tests of the wall raycaster on hand-made levels: distances, outlines, edges and face turns.
// Depends on: render/raycaster.h, render/frame_buffer.h, world/game_state.h, world/level.h.
#include "render/raycaster.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/frame_buffer.h"
#include "world/game_state.h"
#include "world/level.h"

namespace {

constexpr char kUntouched = '.';
Level level = makeLevel({});

// Casts on a frame pre-filled with a marker, so rows the raycaster leaves alone stay visible.
void cast(std::vector<std::string> rows, float x, float y, float angle, int width = 120) {
  level = makeLevel(std::move(rows));
  game = GameState{};
  game.currentLevel = &level;
  game.playerX = x;
  game.playerY = y;
  game.viewAngle = angle;
  game.screenWidth = width;
  game.screenHeight = 40;
  game.screenRows.assign(40, std::string(static_cast<size_t>(width), kUntouched));
  game.depthBuffer.assign(static_cast<size_t>(width), -1.0f);
  castWalls();
}

std::string columnText(int x) {
  std::string text;
  for (const std::string& row : game.screenRows) text += row[static_cast<size_t>(x)];
  return text;
}

// A wall from row top to end - 1: outlined at both ends, filled inside when edge or turned.
std::string wallColumn(int top, int end, bool filled) {
  std::string text(40, kUntouched);
  for (int y = top; y < end; ++y) text[y] = (filled || y == top || y == end - 1) ? kBlock : ' ';
  return text;
}

std::vector<std::string> withCell(std::vector<std::string> rows, int x, int y, char code) {
  rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = code;
  return rows;
}

// A wall of "1" in column 8, open cells between it and the player's column 3.
const std::vector<std::string> kWallAtColumnEight = {
    "1111111111", "1       1 ", "1       1 ", "1       1 ", "1       1 ",
    "1       1 ", "1       1 ", "1       1 ", "1111111111",
};

TEST(CastWalls, DrawsTheWorkedColumnAndCorrectsTheDepth) {
  cast(kWallAtColumnEight, 3.5f, 3.5f, 0.0f);
  // r = 0: five steps along x to mapX = 8, d = 4.5, h = 8, top = 16, end = 24.
  EXPECT_EQ(columnText(60), wallColumn(16, 24, false));
  EXPECT_EQ(game.depthBuffer[60], 4.5f);
  // The face is flat: the corrected distance is the same 4.5 across the columns that see it.
  for (int x = 10; x <= 110; ++x) EXPECT_NEAR(game.depthBuffer[x], 4.5f, 1e-5f) << x;

  // Spawn, prop and exit cells in front of the wall do not stop the ray.
  cast(withCell(withCell(withCell(kWallAtColumnEight, 5, 3, '5'), 6, 3, '3'), 7, 3, '2'), 3.5f,
       3.5f, 0.0f);
  EXPECT_EQ(columnText(60), wallColumn(16, 24, false));
  EXPECT_EQ(game.depthBuffer[60], 4.5f);
}

TEST(CastWalls, AxisParallelRaysTiesAndLevelEdges) {
  // rdy exactly 0 on the row boundary y = 3.0: the ray runs along row 3 (step length 1e30)
  // rather than stepping into the wall above.
  cast({"1111111111", "1111111111", "1111111111", "1        1", "1111111111"}, 3.5f, 3.0f, 0.0f);
  EXPECT_EQ(game.depthBuffer[60], 5.5f);

  // From the exact corner (3, 3) heading 225 degrees, sdx = sdy = 0: the tie steps in y, into
  // cell (3, 2), and never into (2, 3).
  const std::vector<std::string> room = {"1111111", "1     1", "1     1", "1     1",
                                         "1     1", "1     1", "1111111"};
  cast(withCell(room, 3, 2, '1'), 3.0f, 3.0f, 225.0f);
  EXPECT_EQ(game.depthBuffer[60], 0.01f);
  cast(withCell(room, 2, 3, '1'), 3.0f, 3.0f, 225.0f);
  EXPECT_GT(game.depthBuffer[60], 2.0f);

  // An open level edge: the first cell outside is the wall, at d = 3.5.
  cast({"     "}, 1.5f, 0.5f, 0.0f);
  EXPECT_EQ(game.depthBuffer[60], 3.5f);
  EXPECT_EQ(columnText(60), wallColumn(14, 25, false));

  // Inside a wall every ray stops at once at the nearest distance; the wall overflows the
  // screen, so all rows are blank and no outline shows.
  cast({"11111", "11111", "11111", "11111", "11111"}, 2.5f, 2.5f, 0.0f);
  for (int x = 0; x < 120; ++x) {
    EXPECT_GT(game.depthBuffer[x], 0.0086f) << x;
    EXPECT_LE(game.depthBuffer[x], 0.01f) << x;
  }
  for (const std::string& row : game.screenRows) EXPECT_EQ(row, std::string(120, ' '));
}

TEST(CastWalls, BlockEdgesOnFacesCrossedAlongXAndY) {
  // The player's coordinate along the face, the neighbours of the hit block on its lower and
  // higher side, and whether the column is an edge: in the low band the lower neighbour
  // decides (open and spawn cells make an edge, walls and props do not), at an exact corner too,
  // in the high band the higher one; outside the bands there is no edge.
  const struct {
    float across;
    char before, after;
    bool edge;
  } cases[] = {
      {3.01f, ' ', '1', true},  {3.01f, '1', ' ', false}, {3.01f, '2', '1', true},
      {3.01f, '3', ' ', false}, {3.0f, ' ', '1', true},   {3.0f, '1', ' ', false},
      {3.98f, '1', ' ', true},  {3.98f, ' ', '1', false}, {3.04f, ' ', ' ', false},
  };
  // The hit block is (8, 3); the ray of column 60 runs straight along the player's row, or,
  // with the scene transposed, along the player's column.
  const std::vector<std::string> base = {"1111111111", "1         ", "1         ", "1       1 ",
                                         "1         ", "1         ", "1111111111"};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.across << " '" << c.before << c.after << "'");
    const auto rows = withCell(withCell(base, 8, 2, c.before), 8, 4, c.after);
    cast(rows, 3.5f, c.across, 0.0f);
    EXPECT_EQ(columnText(60), wallColumn(16, 24, c.edge));
    std::vector<std::string> turned(rows[0].size(), std::string(rows.size(), ' '));
    for (size_t y = 0; y < rows.size(); ++y) {
      for (size_t x = 0; x < rows[y].size(); ++x) turned[x][y] = rows[y][x];
    }
    cast(turned, c.across, 3.5f, 90.0f);
    EXPECT_EQ(columnText(60), wallColumn(16, 24, c.edge)) << "along y";
  }
  // A neighbour outside the level gives no edge: the hit block lies on the last row.
  cast({"1111111111", "1         ", "1         ", "1       1 "}, 3.5f, 3.98f, 0.0f);
  EXPECT_EQ(columnText(60), wallColumn(16, 24, false));
}

TEST(CastWalls, FaceTurnsNeverMarkColumnZero) {
  // Two columns in a corridor: column 0 looks along it (side 0), column 1 meets its side wall.
  const std::vector<std::string> corridor = {"11111111111", "1         1", "11111111111"};
  cast(corridor, 1.5f, 1.3f, 30.0f, 2);
  EXPECT_EQ(columnText(0), wallColumn(17, 22, false)) << "d = 8.5, corrected by cos 30";
  EXPECT_EQ(columnText(1), wallColumn(6, 34, true)) << "the side changed: a full line";

  // Both columns on the side wall: column 0 starts against "none" yet draws no line.
  cast(corridor, 1.5f, 1.3f, 60.0f, 2);
  EXPECT_EQ(columnText(0), wallColumn(4, 36, false));
  EXPECT_EQ(columnText(1), std::string(40, ' ')) << "top -4 and end 45 lie off screen";
}

}  // namespace
