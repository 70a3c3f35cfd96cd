// The level map against a plain cell-by-cell account of the frame, at the sizes and player places
// that recorded games do not reach (the golden runs draw the billboards, the status line and the
// weapon at every size they play). Depends on: render/hud.h, world/game_state.h, world/level.h.
#include <gtest/gtest.h>

#include <string>

#include "render/hud.h"
#include "world/game_state.h"
#include "world/level.h"

namespace {

constexpr char kUntouched = '.';

// Every cell code once; the third row is shorter than the first.
const Level kSmallLevel = makeLevel({"11111", "12345", "1 1", "11111"});

// A frame of W x H, the player at the origin looking along +x, on the small level.
void setScreen(int width, int height) {
  game = GameState{};
  game.screenWidth = width;
  game.screenHeight = height;
  game.screenRows.assign(height, std::string(width, kUntouched));
  game.playerX = game.playerY = game.viewAngle = 0.0f;
  game.currentLevel = &kSmallLevel;
}

// The cells of the frame that differ from expected(x, y).
template <typename Expected>
int mismatches(Expected expected) {
  int count = 0;
  for (int y = 0; y < game.screenHeight; ++y) {
    for (int x = 0; x < game.screenWidth; ++x) count += game.screenRows[y][x] != expected(x, y);
  }
  return count;
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

// The map centred, cells two wide from width 172, whatever falls off the frame cut away, at the
// sizes recorded games do not play: the narrowest screens and either side of 172.
TEST(LevelMap, CentredAndCutToTheFrameAtEverySize) {
  const int sizes[] = {1, 3, 16, 171, 172, 512};
  const float positions[][2] = {{2.5f, 1.5f}, {-0.5f, -0.5f}, {-7.0f, 2.0f}, {79.5f, 12.5f}};
  for (const Level* level : {&kSmallLevel, &levelB}) {
    for (int width : sizes) {
      for (int height : sizes) {
        for (const auto& position : positions) {
          setScreen(width, height);
          game.currentLevel = level;
          game.playerX = position[0];
          game.playerY = position[1];
          drawLevelMap();
          const int cellWidth = width >= 172 ? 2 : 1;
          ASSERT_EQ(
              mismatches([&](int x, int y) { return expectedMapCell(*level, cellWidth, x, y); }), 0)
              << width << "x" << height << " at " << position[0] << "," << position[1];
        }
      }
    }
  }
}

}  // namespace
