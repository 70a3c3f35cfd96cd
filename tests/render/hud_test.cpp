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

void setScreen(int width, int height) {
  game = GameState{};
  game.screenWidth = width;
  game.screenHeight = height;
  game.screenRows.assign(height, std::string(width, kUntouched));
  game.depthBuffer.assign(width, 1000.0f);
}

// Every row still screenHeight x screenWidth: the overlays never grow or shrink the frame.
void expectFrameShape(int width, int height) {
  ASSERT_EQ(game.screenRows.size(), static_cast<size_t>(height));
  for (const std::string& row : game.screenRows) ASSERT_EQ(row.size(), static_cast<size_t>(width));
}

const Level& smallLevel() {
  // Every cell code once; the third row is shorter than the first.
  static const Level level = makeLevel({"11111", "12345", "1 1", "11111"});
  return level;
}

void startTolvanLike() {
  game.playerX = 3.0f;
  game.playerY = 3.0f;
  game.viewAngle = 0.0f;
  game.kills = 0;
  game.killTarget = 230;
  game.health = 100;
  game.currentLevel = &smallLevel();
}

TEST(StatusLine, PositionThenScoreWithColumnPKeptAndCutAtTheEdge) {
  setScreen(120, 40);
  startTolvanLike();
  drawStatusLine();
  const std::string position = "X:3.000000 Y:3.000000 A:0.000000";
  ASSERT_EQ(position.size(), 32u);
  EXPECT_EQ(game.screenRows[0], position + "." + "E:0/230 H:100" + std::string(120 - 46, '.'));
  expectFrameShape(120, 40);

  // Negative numbers and a heading not yet normalised.
  setScreen(120, 40);
  startTolvanLike();
  game.viewAngle = -0.1f;
  game.playerX = -12.5f;
  game.kills = -3;
  game.health = -10;
  drawStatusLine();
  EXPECT_EQ(game.screenRows[0].substr(0, 51),
            "X:-12.500000 Y:3.000000 A:-0.100000.E:-3/230 H:-10.");

  // Narrower than the position text: the score never shows.
  setScreen(20, 3);
  startTolvanLike();
  drawStatusLine();
  EXPECT_EQ(game.screenRows[0], "X:3.000000 Y:3.00000");
  EXPECT_EQ(game.screenRows[1], std::string(20, kUntouched));

  // The score cut at the right edge.
  setScreen(40, 3);
  startTolvanLike();
  drawStatusLine();
  EXPECT_EQ(game.screenRows[0], position + ".E:0/230");
  expectFrameShape(40, 3);

  setScreen(1, 1);
  startTolvanLike();
  drawStatusLine();
  EXPECT_EQ(game.screenRows[0], "X");
}

TEST(StatusLine, HugeFloatsShowEveryDigit) {
  setScreen(512, 2);
  startTolvanLike();
  game.playerX = 3e38f;
  game.playerY = -3.40282347e38f;
  drawStatusLine();
  const std::string position =
      "X:300000000549775575777803994281145270272.000000"
      " Y:-340282346638528859811704183484516925440.000000 A:0.000000";
  EXPECT_EQ(game.screenRows[0].substr(0, position.size() + 14), position + ".E:0/230 H:100");
  EXPECT_EQ(game.screenRows[0][position.size() + 14], kUntouched);
  expectFrameShape(512, 2);
}

TEST(StatusLine, CongratsOnlyOnLevelAOnceTheTargetIsReached) {
  const std::string congrats = "Congrats! You killed all enemies";
  struct Case {
    const Level* level;
    int kills;
    bool congratulated;
  };
  const Case cases[] = {
      {&levelA, 10, true},        {&levelA, 11, true},  {&levelA, 9, false},
      {&smallLevel(), 10, false}, {&levelB, 10, false}, {&levelC, 10, false},
  };
  for (const Case& c : cases) {
    setScreen(120, 40);
    startTolvanLike();
    game.currentLevel = c.level;
    game.killTarget = 10;
    game.kills = c.kills;
    drawStatusLine();
    const std::string afterGap = game.screenRows[0].substr(33, congrats.size());
    if (c.congratulated) {
      EXPECT_EQ(afterGap, congrats) << c.kills;
    } else {
      const std::string score = "E:" + std::to_string(c.kills) + "/10 H:100";
      EXPECT_EQ(afterGap.substr(0, score.size()), score) << c.kills;
    }
    EXPECT_EQ(game.screenRows[0][32], kUntouched);
  }
  // A copy of level A's rows is not level A.
  setScreen(120, 40);
  const Level lookalike = levelA;
  game.currentLevel = &lookalike;
  game.kills = game.killTarget = 10;
  drawStatusLine();
  EXPECT_EQ(game.screenRows[0].find("Congrats"), std::string::npos);
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
  startTolvanLike();
  game.playerX = 2.5f;  // over the "3" cell
  game.playerY = 1.5f;
  drawLevelMap();
  // left = (120 - 5) / 2 = 57, top = (40 - 4) / 2 = 18.
  EXPECT_EQ(game.screenRows[17].substr(56, 7), ".......");
  EXPECT_EQ(game.screenRows[18].substr(56, 7), ".\xDB\xDB\xDB\xDB\xDB.");
  EXPECT_EQ(game.screenRows[19].substr(56, 7), ".\xDB \xDB  .");
  EXPECT_EQ(game.screenRows[20].substr(56, 7), ".\xDB \xDB...");
  EXPECT_EQ(game.screenRows[21].substr(56, 7), ".\xDB\xDB\xDB\xDB\xDB.");
  EXPECT_EQ(mapMismatches(smallLevel(), 1), 0);

  // Width 172 draws every cell, and the marker, two characters wide.
  setScreen(172, 40);
  startTolvanLike();
  game.playerX = 1.0f;
  game.playerY = 2.0f;
  drawLevelMap();
  // left = (172 - 10) / 2 = 81.
  EXPECT_EQ(game.screenRows[19].substr(80, 12), ".\xDB\xDB        .");
  EXPECT_EQ(game.screenRows[20].substr(80, 12), ".\xDB\xDB\xDB\xDB\xDB\xDB.....");
  EXPECT_EQ(mapMismatches(smallLevel(), 2), 0);

  setScreen(171, 40);
  startTolvanLike();
  drawLevelMap();
  EXPECT_EQ(mapMismatches(smallLevel(), 1), 0);
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
          expectFrameShape(width, height);
          ASSERT_EQ(mapMismatches(*level, width >= 172 ? 2 : 1), 0)
              << width << "x" << height << " at " << position[0] << "," << position[1];
        }
      }
    }
  }

  // A player far off any map leaves no marker anywhere.
  setScreen(120, 40);
  game.currentLevel = &smallLevel();
  game.playerX = 3e38f;
  game.playerY = -3e38f;
  drawLevelMap();
  int blocks = 0;
  for (const std::string& row : game.screenRows) {
    for (char cell : row) blocks += cell == kBlock;
  }
  EXPECT_EQ(blocks, 13);  // exactly the level's "1" cells
}

TEST(Weapon, FrameChoosesTheImageAndAMissingNameDrawsNothing) {
  setUpSprites();
  struct Case {
    int frame;
    const char* image;  // nullptr: nothing drawn
  };
  for (const Case& c : {Case{1, "GunSprite1"}, Case{2, "GunSprite2"}, Case{0, nullptr},
                        Case{3, nullptr}, Case{-1, nullptr}}) {
    setScreen(120, 40);
    if (c.image != nullptr) drawWeaponImage(spriteTable.at(c.image));
    const std::vector<std::string> expected = game.screenRows;
    setScreen(120, 40);
    game.weaponFrame = c.frame;
    drawWeapon();
    EXPECT_EQ(game.screenRows, expected) << c.frame;
  }
  EXPECT_NE(spriteTable.at("GunSprite1"), spriteTable.at("GunSprite2"));

  spriteTable.clear();
  setScreen(120, 40);
  drawWeapon();
  EXPECT_EQ(game.screenRows, std::vector<std::string>(40, std::string(120, kUntouched)));
  ASSERT_EQ(spriteTable.count("GunSprite1"), 1u);
  EXPECT_TRUE(spriteTable.at("GunSprite1").empty());
  spriteTable.clear();
  setUpSprites();
}

}  // namespace
