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

class CastWalls : public ::testing::Test {
 protected:
  void TearDown() override { game = GameState{}; }

  // The frame is pre-filled with a marker so rows the raycaster leaves alone stay visible.
  void setUpScene(std::vector<std::string> rows, float playerX, float playerY, float viewAngle,
                  int width = 120, int height = 40) {
    level = makeLevel(std::move(rows));
    game = GameState{};
    game.currentLevel = &level;
    game.playerX = playerX;
    game.playerY = playerY;
    game.viewAngle = viewAngle;
    game.screenWidth = width;
    game.screenHeight = height;
    resizeScreen();
    for (std::string& row : game.screenRows) row.assign(static_cast<size_t>(width), kUntouched);
    game.depthBuffer.assign(static_cast<size_t>(width), -1.0f);
  }

  Level level = makeLevel({});
};

std::string columnText(int x) {
  std::string text;
  for (const std::string& row : game.screenRows) text += row[static_cast<size_t>(x)];
  return text;
}

// A wall from row top to end - 1: outlined at both ends, filled inside when edge or turned.
std::string wallColumn(int height, int top, int end, bool filled) {
  std::string text(static_cast<size_t>(height), kUntouched);
  for (int y = top; y < end; ++y) {
    text[static_cast<size_t>(y)] = (filled || y == top || y == end - 1) ? kBlock : ' ';
  }
  return text;
}

std::vector<std::string> withCell(std::vector<std::string> rows, int x, int y, char code) {
  rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = code;
  return rows;
}

std::vector<std::string> transposed(const std::vector<std::string>& rows) {
  std::vector<std::string> columns(rows[0].size(), std::string(rows.size(), ' '));
  for (size_t y = 0; y < rows.size(); ++y) {
    for (size_t x = 0; x < rows[y].size(); ++x) columns[x][y] = rows[y][x];
  }
  return columns;
}

// A wall of "1" in column 8, open cells between it and the player's column 3.
const std::vector<std::string> kWallAtColumnEight = {
    "1111111111", "1       1 ", "1       1 ", "1       1 ", "1       1 ",
    "1       1 ", "1       1 ", "1       1 ", "1111111111",
};

TEST_F(CastWalls, DrawsTheWorkedColumnAndCorrectsTheDepth) {
  setUpScene(kWallAtColumnEight, 3.5f, 3.5f, 0.0f);
  castWalls();
  // r = 0: five steps along x to mapX = 8, d = 4.5, h = 8, top = 16, end = 24.
  EXPECT_EQ(columnText(60), wallColumn(40, 16, 24, false));
  EXPECT_EQ(game.depthBuffer[60], 4.5f);
  for (int x = 0; x < 120; ++x) EXPECT_GT(game.depthBuffer[x], 0.0f) << "column " << x;
  // The face is flat: the corrected distance is the same 4.5 across the columns that see it.
  for (int x = 10; x <= 110; ++x) EXPECT_NEAR(game.depthBuffer[x], 4.5f, 1e-5f) << "column " << x;

  // Spawn, prop and exit cells in front of the wall do not stop the ray.
  setUpScene(withCell(withCell(withCell(kWallAtColumnEight, 5, 3, '5'), 6, 3, '3'), 7, 3, '2'),
             3.5f, 3.5f, 0.0f);
  castWalls();
  EXPECT_EQ(columnText(60), wallColumn(40, 16, 24, false));
  EXPECT_EQ(game.depthBuffer[60], 4.5f);
}

TEST_F(CastWalls, AxisParallelRaysAndTiesStepTheRightWay) {
  // r = 0 gives rdy exactly 0: on the row boundary y = 3.0 the ray must still run along row 3
  // of a corridor (step length 1e30) rather than step into the wall above.
  const std::vector<std::string> corridor = {"1111111111", "1111111111", "1111111111", "1        1",
                                             "1111111111"};
  setUpScene(corridor, 3.5f, 3.0f, 0.0f);
  castWalls();
  EXPECT_EQ(game.depthBuffer[60], 5.5f);

  // From the exact corner (3, 3) heading 225 degrees, sdx = sdy = 0: the tie steps in y, into
  // cell (3, 2), and never into (2, 3).
  const std::vector<std::string> room = {"1111111", "1     1", "1     1", "1     1",
                                         "1     1", "1     1", "1111111"};
  setUpScene(withCell(room, 3, 2, '1'), 3.0f, 3.0f, 225.0f);
  castWalls();
  EXPECT_EQ(game.depthBuffer[60], 0.01f);
  setUpScene(withCell(room, 2, 3, '1'), 3.0f, 3.0f, 225.0f);
  castWalls();
  EXPECT_GT(game.depthBuffer[60], 2.0f);
}

struct EdgeCase {
  const char* name;
  float playerAcross;  // the player's coordinate along the face
  char before;         // the neighbour on the lower side of the hit block
  char after;          // the neighbour on the higher side
  bool edge;
};

const EdgeCase kEdgeCases[] = {
    {"low band, open", 3.01f, ' ', '1', true},
    {"low band, wall", 3.01f, '1', ' ', false},
    {"low band, spawn 2", 3.01f, '2', '1', true},
    {"low band, spawn 4", 3.01f, '4', '1', true},
    {"low band, prop", 3.01f, '3', ' ', false},
    {"low band, exit", 3.01f, '5', ' ', false},
    {"low band, other code", 3.01f, 'x', ' ', false},
    {"corner hit reads the lower side", 3.0f, ' ', '1', true},
    {"corner hit ignores the higher side", 3.0f, '1', ' ', false},
    {"high band, open", 3.98f, '1', ' ', true},
    {"high band, wall", 3.98f, ' ', '1', false},
    {"outside the band", 3.04f, ' ', ' ', false},
    {"middle of the face", 3.5f, ' ', ' ', false},
};

TEST_F(CastWalls, BlockEdgesOnFacesCrossedAlongX) {
  // The hit block is (8, 3); the ray of column 60 runs straight along the player's row.
  const std::vector<std::string> base = {"1111111111", "1         ", "1         ", "1       1 ",
                                         "1         ", "1         ", "1111111111"};
  for (const EdgeCase& c : kEdgeCases) {
    SCOPED_TRACE(c.name);
    setUpScene(withCell(withCell(base, 8, 2, c.before), 8, 4, c.after), 3.5f, c.playerAcross, 0.0f);
    castWalls();
    EXPECT_EQ(columnText(60), wallColumn(40, 16, 24, c.edge));
  }
  // A neighbour outside the level gives no edge: the hit block lies on the last row.
  setUpScene({"1111111111", "1         ", "1         ", "1       1 "}, 3.5f, 3.98f, 0.0f);
  castWalls();
  EXPECT_EQ(columnText(60), wallColumn(40, 16, 24, false));
}

TEST_F(CastWalls, BlockEdgesOnFacesCrossedAlongY) {
  // The same scenes turned a quarter: the player looks along +y at block (3, 8).
  const std::vector<std::string> base = {"1111111111", "1         ", "1         ", "1       1 ",
                                         "1         ", "1         ", "1111111111"};
  for (const EdgeCase& c : kEdgeCases) {
    SCOPED_TRACE(c.name);
    setUpScene(transposed(withCell(withCell(base, 8, 2, c.before), 8, 4, c.after)), c.playerAcross,
               3.5f, 90.0f);
    castWalls();
    EXPECT_EQ(columnText(60), wallColumn(40, 16, 24, c.edge));
  }
}

TEST_F(CastWalls, FaceTurnsNeverMarkColumnZero) {
  // Two columns in a corridor: column 0 looks along it (side 0), column 1 meets its side wall.
  const std::vector<std::string> corridor = {"11111111111", "1         1", "11111111111"};
  setUpScene(corridor, 1.5f, 1.3f, 30.0f, 2, 40);
  castWalls();
  EXPECT_EQ(columnText(0), wallColumn(40, 17, 22, false)) << "d = 8.5, corrected by cos 30";
  EXPECT_EQ(columnText(1), wallColumn(40, 6, 34, true)) << "the side changed: a full line";

  // Both columns on the side wall: column 0 starts against "none" yet draws no line.
  setUpScene(corridor, 1.5f, 1.3f, 60.0f, 2, 40);
  castWalls();
  EXPECT_EQ(columnText(0), wallColumn(40, 4, 36, false));
  EXPECT_EQ(columnText(1), std::string(40, ' '))
      << "top -4 and end 45 lie off screen, so no top or bottom line";
}

TEST_F(CastWalls, RaysEndAtTheLevelEdgeAndInsideWalls) {
  // An open level edge: the first cell outside is the wall, at d = 3.5.
  setUpScene({"     "}, 1.5f, 0.5f, 0.0f);
  castWalls();
  EXPECT_EQ(game.depthBuffer[60], 3.5f);
  EXPECT_EQ(columnText(60), wallColumn(40, 14, 25, false));

  // Inside a wall every ray stops at once at the nearest distance: the wall overflows the
  // screen in every column, so all rows are blank and no outline shows.
  setUpScene({"11111", "11111", "11111", "11111", "11111"}, 2.5f, 2.5f, 0.0f);
  castWalls();
  EXPECT_EQ(game.depthBuffer[60], 0.01f);
  for (int x = 0; x < 120; ++x) {
    EXPECT_GT(game.depthBuffer[x], 0.0086f) << "column " << x;
    EXPECT_LE(game.depthBuffer[x], 0.01f) << "column " << x;
  }
  for (const std::string& row : game.screenRows) EXPECT_EQ(row, std::string(120, ' '));
}

}  // namespace
