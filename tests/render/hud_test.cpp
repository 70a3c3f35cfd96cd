// Tests of the status line and the level map overlay.
// Depends on: render/hud.h, render/sprites.h, world/game_state.h, world/level.h.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "render/hud.h"
#include "render/sprites.h"
#include "world/game_state.h"
#include "world/level.h"

namespace {

constexpr char kUntouched = '.';

// Every cell code once; the third row is shorter than the first.
const Level kSmallLevel = makeLevel({"11111", "12345", "1 1", "11111"});

// A frame of W x H at the start of a game of 10 kills on the small level.
void setScreen(int width, int height) {
  game = GameState{};
  game.screenWidth = width;
  game.screenHeight = height;
  game.screenRows.assign(height, std::string(width, kUntouched));
  game.playerX = game.playerY = 3.0f;
  game.viewAngle = 0.0f;
  game.killTarget = 10;
  game.currentLevel = &kSmallLevel;
}

TEST(StatusLine, PositionThenScoreOrCongratsCutAtTheEdge) {
  // The column after the position text keeps what was there; the score is cut at the right
  // edge. Negative numbers, a heading not yet normalised and huge floats show in full. Only
  // level A itself congratulates (a copy of its rows does not), once the kills reach the target.
  const Level lookalike = levelA;
  const std::string at3 = "X:3.000000 Y:3.000000 A:0.000000.";
  const struct {
    const Level* level;
    int width;
    float x, y, angle;
    int kills, health;
    std::string row0;
  } cases[] = {
      {&kSmallLevel, 20, 3, 3, 0, 0, 100, "X:3.000000 Y:3.00000"},
      {&kSmallLevel, 40, 3, 3, 0, 0, 100, at3 + "E:0/10 "},
      {&kSmallLevel, 50, -12.5f, 3, -0.1f, -3, -10,
       "X:-12.500000 Y:3.000000 A:-0.100000.E:-3/10 H:-10."},
      {&kSmallLevel, 123, 3e38f, -3.40282347e38f, 0, 0, 100,
       "X:300000000549775575777803994281145270272.000000"
       " Y:-340282346638528859811704183484516925440.000000 A:0.000000.E:0/10 H:100."},
      {&levelA, 66, 3, 3, 0, 11, 100, at3 + "Congrats! You killed all enemies."},
      {&levelA, 50, 3, 3, 0, 9, 100, at3 + "E:9/10 H:100....."},
      {&levelB, 50, 3, 3, 0, 10, 100, at3 + "E:10/10 H:100...."},
      {&lookalike, 50, 3, 3, 0, 10, 100, at3 + "E:10/10 H:100...."},
  };
  for (const auto& c : cases) {
    setScreen(c.width, 3);
    game.currentLevel = c.level;
    game.playerX = c.x;
    game.playerY = c.y;
    game.viewAngle = c.angle;
    game.kills = c.kills;
    game.health = c.health;
    drawStatusLine();
    EXPECT_EQ(game.screenRows[0], c.row0);
    EXPECT_EQ(game.screenRows[1], std::string(c.width, kUntouched));
  }
}

// The map as it should look on screen, read back from screen cells to level cells.
char expectedMapCell(const Level& level, int cellWidth, int x, int y) {
  const int left = (game.screenWidth - static_cast<int>(level.rows[0].size()) * cellWidth) / 2;
  const int top = (game.screenHeight - level.rowCount) / 2;
  const int markerLeft = left + static_cast<int>(game.playerX) * cellWidth;
  if (y == top + static_cast<int>(game.playerY) && x >= markerLeft && x < markerLeft + cellWidth) {
    return kBlock;
  }
  const int row = y - top;
  if (row < 0 || row >= level.rowCount || x < left) return kUntouched;
  const size_t column = static_cast<size_t>((x - left) / cellWidth);
  if (column >= level.rows[row].size()) return kUntouched;
  return level.rows[row][column] == kWallCell ? kBlock : ' ';
}

int mapMismatches(const Level& level, int cellWidth) {
  int mismatches = 0;
  for (int y = 0; y < game.screenHeight; ++y) {
    for (int x = 0; x < game.screenWidth; ++x) {
      mismatches += game.screenRows[y][x] != expectedMapCell(level, cellWidth, x, y);
    }
  }
  return mismatches;
}

// The map centred on every screen size, cells two wide from width 172, whatever falls off the
// frame cut away: a shipped level, and one wider (even doubled) and taller than the largest
// screen whose rows are mostly short, to keep the sweep quick.
TEST(LevelMap, CentredAndCutToTheFrameAtEverySize) {
  std::vector<std::string> hugeRows;
  for (int i = 0; i < 600; ++i) {
    std::string row(i % 50 == 0 ? 300 : 1 + i % 7, ' ');
    for (size_t j = 0; j < row.size(); j += 3) row[j] = kWallCell;
    hugeRows.push_back(row);
  }
  const Level huge = makeLevel(hugeRows);
  const int sizes[] = {1, 3, 16, 120, 171, 172, 512};
  const float positions[][2] = {{2.5f, 1.5f}, {-0.5f, -0.5f}, {-7.0f, 2.0f}, {299.5f, 599.5f}};
  for (const Level* level : {&kSmallLevel, &levelB, &huge}) {
    for (int width : sizes) {
      for (int height : sizes) {
        for (const auto& position : positions) {
          setScreen(width, height);
          game.currentLevel = level;
          game.playerX = position[0];
          game.playerY = position[1];
          drawLevelMap();
          ASSERT_EQ(mapMismatches(*level, width >= 172 ? 2 : 1), 0)
              << width << "x" << height << " at " << position[0] << "," << position[1];
        }
      }
    }
  }
  // A player far off any map leaves no marker, just as one a little off it.
  setScreen(120, 40);
  game.playerX = 3e38f;
  game.playerY = -3e38f;
  drawLevelMap();
  game.playerX = game.playerY = -100.0f;
  EXPECT_EQ(mapMismatches(kSmallLevel, 1), 0);
}

}  // namespace
