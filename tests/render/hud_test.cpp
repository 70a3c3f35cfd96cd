// Tests of the status line, the level map overlay and the weapon overlay.
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

// A frame of W x H at the start of a game of 230 kills on the small level.
void setScreen(int width, int height) {
  game = GameState{};
  game.screenWidth = width;
  game.screenHeight = height;
  game.screenRows.assign(height, std::string(width, kUntouched));
  game.playerX = game.playerY = 3.0f;
  game.viewAngle = 0.0f;
  game.killTarget = 230;
  game.currentLevel = &kSmallLevel;
}

TEST(StatusLine, PositionThenScoreWithColumnPKeptAndCutAtTheEdge) {
  // Column p after the position text keeps what was there; the score is cut at the right edge
  // and never shows when the position text alone is wider than the screen. Negative numbers,
  // a heading not yet normalised, and huge floats show in full.
  const std::string position = "X:3.000000 Y:3.000000 A:0.000000";
  const struct {
    int width;
    float x, y, angle;
    int kills, health;
    std::string row0;
  } cases[] = {
      {120, 3.0f, 3.0f, 0.0f, 0, 100, position + ".E:0/230 H:100" + std::string(120 - 46, '.')},
      {40, 3.0f, 3.0f, 0.0f, 0, 100, position + ".E:0/230"},
      {20, 3.0f, 3.0f, 0.0f, 0, 100, "X:3.000000 Y:3.00000"},
      {1, 3.0f, 3.0f, 0.0f, 0, 100, "X"},
      {51, -12.5f, 3.0f, -0.1f, -3, -10, "X:-12.500000 Y:3.000000 A:-0.100000.E:-3/230 H:-10."},
      {124, 3e38f, -3.40282347e38f, 0.0f, 0, 100,
       "X:300000000549775575777803994281145270272.000000"
       " Y:-340282346638528859811704183484516925440.000000 A:0.000000.E:0/230 H:100."},
  };
  for (const auto& c : cases) {
    setScreen(c.width, 3);
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

TEST(StatusLine, CongratsOnlyOnLevelAOnceTheTargetIsReached) {
  const Level lookalike = levelA;  // a copy of level A's rows is not level A
  const struct {
    const Level* level;
    int kills;
    bool congratulated;
  } cases[] = {
      {&levelA, 10, true},       {&levelA, 11, true},  {&levelA, 9, false},
      {&kSmallLevel, 10, false}, {&levelB, 10, false}, {&lookalike, 10, false},
  };
  for (const auto& c : cases) {
    setScreen(120, 40);
    game.currentLevel = c.level;
    game.killTarget = 10;
    game.kills = c.kills;
    drawStatusLine();
    const std::string text = c.congratulated ? "Congrats! You killed all enemies"
                                             : "E:" + std::to_string(c.kills) + "/10 H:100.";
    EXPECT_EQ(game.screenRows[0].substr(32, 1 + text.size()), "." + text) << c.kills;
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
  return level.rows[row][column] == '1' ? kBlock : ' ';
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

TEST(LevelMap, CentredWithWallsAsBlocksAndThePlayerMarked) {
  setScreen(120, 40);
  game.playerX = 2.5f;  // over the "3" cell
  game.playerY = 1.5f;
  drawLevelMap();
  // left = (120 - 5) / 2 = 57, top = (40 - 4) / 2 = 18.
  EXPECT_EQ(game.screenRows[17].substr(56, 7), ".......");
  EXPECT_EQ(game.screenRows[18].substr(56, 7), ".\xDB\xDB\xDB\xDB\xDB.");
  EXPECT_EQ(game.screenRows[19].substr(56, 7), ".\xDB \xDB  .");
  EXPECT_EQ(game.screenRows[20].substr(56, 7), ".\xDB \xDB...");
  EXPECT_EQ(mapMismatches(kSmallLevel, 1), 0);

  // Width 172 draws every cell, and the marker, two characters wide; left = (172 - 10) / 2.
  setScreen(172, 40);
  game.playerX = 1.0f;
  game.playerY = 2.0f;
  drawLevelMap();
  EXPECT_EQ(game.screenRows[19].substr(80, 12), ".\xDB\xDB        .");
  EXPECT_EQ(game.screenRows[20].substr(80, 12), ".\xDB\xDB\xDB\xDB\xDB\xDB.....");
  EXPECT_EQ(mapMismatches(kSmallLevel, 2), 0);

  // A player far off any map leaves no marker, just as one a little off it.
  setScreen(120, 40);
  game.playerX = 3e38f;
  game.playerY = -3e38f;
  drawLevelMap();
  game.playerX = game.playerY = -100.0f;
  EXPECT_EQ(mapMismatches(kSmallLevel, 1), 0);
}

TEST(LevelMap, StaysInsideTheFrameAtEverySize) {
  // A shipped level, and one wider (even doubled) and taller than the largest screen whose
  // rows are mostly short, to keep the sweep quick.
  std::vector<std::string> hugeRows;
  for (int i = 0; i < 600; ++i) {
    std::string row(i % 50 == 0 ? 300 : 1 + i % 7, ' ');
    for (size_t j = 0; j < row.size(); j += 3) row[j] = '1';
    hugeRows.push_back(row);
  }
  const Level huge = makeLevel(hugeRows);
  const int sizes[] = {1, 2, 3, 16, 83, 120, 171, 172, 300, 512};
  const float positions[][2] = {{3.0f, 3.0f}, {-0.5f, -0.5f}, {-7.0f, 2.0f}, {299.5f, 599.5f}};
  for (const Level* level : {&levelB, &huge}) {
    for (int width : sizes) {
      for (int height : sizes) {
        for (const auto& position : positions) {
          setScreen(width, height);
          game.currentLevel = level;
          game.playerX = position[0];
          game.playerY = position[1];
          drawLevelMap();
          ASSERT_EQ(game.screenRows.size(), static_cast<size_t>(height));
          for (const std::string& row : game.screenRows) ASSERT_EQ(row.size(), size_t(width));
          ASSERT_EQ(mapMismatches(*level, width >= 172 ? 2 : 1), 0)
              << width << "x" << height << " at " << position[0] << "," << position[1];
        }
      }
    }
  }
}

TEST(Weapon, FrameChoosesTheImageAndAMissingNameDrawsNothing) {
  setUpSprites();
  for (auto [frame, image] :
       {std::pair{1, "GunSprite1"}, {2, "GunSprite2"}, {0, nullptr}, {3, nullptr}, {-1, nullptr}}) {
    setScreen(120, 40);
    if (image != nullptr) drawWeaponImage(spriteTable.at(image));
    const std::vector<std::string> expected = game.screenRows;
    setScreen(120, 40);
    game.weaponFrame = frame;
    drawWeapon();
    EXPECT_EQ(game.screenRows, expected) << frame;
  }
  EXPECT_NE(spriteTable.at("GunSprite1"), spriteTable.at("GunSprite2"));

  spriteTable.clear();
  setScreen(120, 40);
  game.weaponFrame = 1;
  drawWeapon();
  EXPECT_EQ(game.screenRows, std::vector<std::string>(40, std::string(120, kUntouched)));
  setUpSprites();
}

}  // namespace
