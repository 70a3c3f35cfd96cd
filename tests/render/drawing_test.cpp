// Tests of what is drawn over the walls (billboards, the level map), each against a plain
// cell-by-cell account of the frame, at the sizes and places that recorded games do not reach
// (the golden runs draw the status line and the weapon at every size they play).
// Depends on: render/sprites.h, render/hud.h, world/angles.h, world/game_state.h, world/level.h.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "render/hud.h"
#include "render/sprites.h"
#include "world/angles.h"
#include "world/game_state.h"
#include "world/level.h"

namespace {

constexpr char kUntouched = '.';

// Every cell code once; the third row is shorter than the first.
const Level kSmallLevel = makeLevel({"11111", "12345", "1 1", "11111"});

// A frame of W x H with no wall near enough to hide anything, the player at the origin looking
// along +x, in a game of 10 kills on the small level.
void setScreen(int width, int height) {
  game = GameState{};
  game.screenWidth = width;
  game.screenHeight = height;
  game.screenRows.assign(height, std::string(width, kUntouched));
  game.depthBuffer.assign(width, 1000.0f);
  game.playerX = game.playerY = game.viewAngle = 0.0f;
  game.killTarget = 10;
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

bool frameUntouched() {
  return mismatches([](int, int) { return kUntouched; }) == 0;
}

Entity entityAt(float x, Sprite sprite, float y = 0.0f) {
  return {.x = x, .y = y, .sprite = sprite};
}

// The billboard box: its corner on screen and its size in rows (twice that in columns).
struct Box {
  int64_t left, top, size;
};

// What the cell should show when nothing hides the billboard, sampled from the box.
char expectedCell(const Entity& entity, const Box& box, int64_t x, int64_t y) {
  const SpriteImage image = spriteImage(entity.sprite);
  const int64_t cols = 2 * box.size;
  const int64_t i = x - box.left;
  const int64_t j = y - box.top;
  if (i < 0 || i >= cols || j < 0 || j >= box.size) return kUntouched;
  const char mask = image.rows[(image.height * j) / box.size][(image.width * i) / cols];
  return mask == '1' ? kBlock : mask == '0' ? ' ' : kUntouched;
}

TEST(Billboard, FillsItsBoxSampledAndClippedAtTheScreenEdgesWithBoundedWork) {
  // Straight ahead at distance 4 the box covers columns 50-69 and rows 15-24; the object image
  // (which no recorded game shows) is declared a column wider than its rows, and that column is
  // transparent. Then boxes cut by both side edges, by the top and bottom (rows
  // from the image's middle), and one of size 41 on 40 rows whose top (40 - 41) / 2 truncates
  // to 0. At tiny distances int(40 / d) just fits an int (twice it does not), then saturates at
  // the largest int (4e-23 squares to the smallest subnormal): the work stays one screen's
  // worth. Boxes of size 0 draw nothing: behind, at or beside the player, without an image.
  constexpr int64_t kFits = 2000000000, kMost = std::numeric_limits<int32_t>::max();
  const struct {
    int width, height;
    float x, y, heading;
    Sprite sprite;
    Box box;
  } cases[] = {
      {120, 40, 4.0f, 0, 0, Sprite::Enemy4, {50, 15, 10}},
      {120, 40, 4.0f, 0, 0, Sprite::Object, {50, 15, 10}},
      {10, 40, 4.0f, 0, 0, Sprite::Enemy2, {-5, 15, 10}},
      {40, 10, 0.5f, 0, 0, Sprite::Enemy2, {0, -5, 20}},
      {120, 40, 0.97f, 0, 0, Sprite::Enemy2, {19, 0, 41}},
      {120, 40, 2e-8f, 0, 0, Sprite::Enemy2, {60 - kFits, (40 - kFits) / 2, kFits}},
      {120, 40, 4e-23f, 0, 0, Sprite::Enemy2, {60 - kMost, (40 - kMost) / 2, kMost}},
      {120, 40, -4.0f, 0, 0, Sprite::Enemy4, {}},
      {120, 40, -4.0f, 0.1f, 0, Sprite::Enemy4, {}},
      {120, 40, 0.0f, 0, 0, Sprite::Enemy4, {}},
      {120, 40, 1e-30f, 0, 0, Sprite::Enemy2, {}},       // the squared distance underflows
      {120, 40, 4.0f, 0, kPi, Sprite::Enemy4, {}},       // turned half a turn away
      {120, 40, 2.898f, 7.456f, 0, Sprite::Enemy4, {}},  // wide enough, yet off screen
      {120, 40, 4.0f, 0, 0, Sprite::None, {}},
      {120, 40, 4.0f, 0, 0, static_cast<Sprite>(99), {}},
  };
  for (const auto& c : cases) {
    setScreen(c.width, c.height);
    const Entity entity = entityAt(c.x, c.sprite, c.y);
    drawBillboard(entity, c.heading);
    EXPECT_EQ(mismatches([&](int x, int y) { return expectedCell(entity, c.box, x, y); }), 0)
        << c.width << "x" << c.height << " at " << c.x << ", " << c.y << " facing " << c.heading;
    EXPECT_EQ(frameUntouched(), c.box.size == 0);
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
