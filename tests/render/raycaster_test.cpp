// Tests of the wall raycaster on hand-made levels: rays along the grid, ties at corners and a
// player inside a wall, which whole recorded games seldom or never meet; and a billboard behind a
// wall one column wide. Depends on: render/raycaster.h, render/sprites.h, world/game_state.h,
// world/level.h.
#include "render/raycaster.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/sprites.h"
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

std::vector<std::string> withCell(std::vector<std::string> rows, int x, int y, char code) {
  rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = code;
  return rows;
}

TEST(CastWalls, AxisParallelRaysTiesAndAPlayerInsideAWall) {
  // rdy exactly 0 on the row boundary y = 3.0: the ray runs along row 3 (step length 1e30)
  // rather than stepping into the wall above.
  cast({"1111111111", "1111111111", "1111111111", "1        1", "1111111111"}, 3.5f, 3.0f, 0.0f);
  EXPECT_EQ(game.depthBuffer[60], 5.5f);

  // From the exact corner (3, 3) heading 225 degrees, sdx = sdy = 0: the tie steps in y, into
  // cell (3, 2), and never into (2, 3).
  const std::vector<std::string> room = {"1111111", "1     1", "1     1", "1     1",
                                         "1     1", "1     1", "1111111"};
  cast(withCell(room, 3, 2, kWallCell), 3.0f, 3.0f, 225.0f);
  EXPECT_EQ(game.depthBuffer[60], 0.01f);
  cast(withCell(room, 2, 3, kWallCell), 3.0f, 3.0f, 225.0f);
  EXPECT_GT(game.depthBuffer[60], 2.0f);

  // Inside a wall every ray stops at once at the nearest distance; the wall overflows the
  // screen, so all rows are blank and no outline shows.
  cast({"11111", "11111", "11111", "11111", "11111"}, 2.5f, 2.5f, 0.0f);
  for (int x = 0; x < 120; ++x) {
    EXPECT_GT(game.depthBuffer[x], 0.0086f) << x;
    EXPECT_LE(game.depthBuffer[x], 0.01f) << x;
  }
  for (const std::string& row : game.screenRows) EXPECT_EQ(row, std::string(120, ' '));
}

// Columns 55 to 59 all show image column 7 of a billboard one cell away; a wall in front of
// column 57 alone hides that column and no other.
TEST(DrawBillboard, AWallOneColumnWideHidesThatColumnAlone) {
  cast({"1111", "1  1", "1111"}, 1.5f, 1.5f, 0.0f);
  game.screenRows.assign(40, std::string(120, kUntouched));
  game.depthBuffer.assign(120, 9.0f);
  game.depthBuffer[57] = 0.5f;
  drawBillboard(Entity{.x = 2.5f, .y = 1.5f, .sprite = Sprite::Enemy2}, 0.0f);
  for (const std::string& row : game.screenRows) {
    EXPECT_EQ(row.substr(55, 5), std::string({row[55], row[55], kUntouched, row[55], row[55]}));
  }
}

}  // namespace
