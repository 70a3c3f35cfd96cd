// Tests of the billboard renderer and the weapon image drawing.
// Depends on: render/sprites.h, world/game_state.h.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "render/sprites.h"
#include "world/game_state.h"

namespace {

constexpr char kUntouched = '.';
constexpr float kFieldOfView = 60.0f;

// A cleared frame of W x H with no wall near enough to hide anything; the player at the origin
// looking along +x.
void setScreen(int width, int height) {
  game = GameState{};
  game.screenWidth = width;
  game.screenHeight = height;
  game.screenRows.assign(height, std::string(width, kUntouched));
  game.depthBuffer.assign(width, 1000.0f);
  game.playerX = 0.0f;
  game.playerY = 0.0f;
  game.viewAngle = 0.0f;
}

Entity entityAt(float x, float y, ImageRows image, int width, int height) {
  Entity entity;
  entity.x = x;
  entity.y = y;
  entity.image = image;
  entity.imageWidth = width;
  entity.imageHeight = height;
  return entity;
}

char shown(char mask) {
  if (mask == '1') return kBlock;
  if (mask == '0') return ' ';
  return kUntouched;
}

// The billboard box: its corner on screen and its size in rows (twice that in columns).
struct Box {
  int64_t left;
  int64_t top;
  int64_t size;
};

// What the cell should show when nothing hides the billboard, sampled from the box.
char expectedCell(const Entity& entity, const Box& box, int64_t x, int64_t y) {
  const int64_t cols = 2 * box.size;
  const int64_t i = x - box.left;
  const int64_t j = y - box.top;
  if (i < 0 || i >= cols || j < 0 || j >= box.size) return kUntouched;
  const int64_t sampled = (entity.imageWidth * i) / cols;
  const int64_t c = entity.mirrored ? entity.imageWidth - sampled - 1 : sampled;
  return shown(entity.image[(entity.imageHeight * j) / box.size][c]);
}

// Counts the cells that differ from the box (the whole frame is compared).
int mismatchesAgainst(const Entity& entity, const Box& box) {
  int mismatches = 0;
  for (int y = 0; y < game.screenHeight; ++y) {
    for (int x = 0; x < game.screenWidth; ++x) {
      mismatches += game.screenRows[y][x] != expectedCell(entity, box, x, y);
    }
  }
  return mismatches;
}

bool frameUntouched() {
  for (const std::string& row : game.screenRows) {
    if (row.find_first_not_of(kUntouched) != std::string::npos) return false;
  }
  return true;
}

TEST(Billboard, StraightAheadAtDistanceFourFillsTheWorkedBox) {
  setScreen(120, 40);
  const Entity enemy = entityAt(4.0f, 0.0f, enemyImage4, 16, 13);
  drawBillboard(enemy, 0.0f, kFieldOfView);
  EXPECT_EQ(mismatchesAgainst(enemy, {50, 15, 10}), 0);
  // Cell (50 + i, 15 + j) shows image row 13j/10, column 16i/20.
  EXPECT_EQ(game.screenRows[15][53], kBlock);  // row 0, column 2
  EXPECT_EQ(game.screenRows[16][53], ' ');     // row 1, column 2: "0"

  // The object image is declared a column wider than its rows: that column is transparent.
  setScreen(120, 40);
  const Entity prop = entityAt(4.0f, 0.0f, objectImage, 12, 9);
  drawBillboard(prop, 0.0f, kFieldOfView);
  EXPECT_EQ(mismatchesAgainst(prop, {50, 15, 10}), 0);
  for (int y = 15; y < 25; ++y) EXPECT_EQ(game.screenRows[y][69], kUntouched);
}

TEST(Billboard, NearerWallsHideWholeColumnsWithATenthOfTolerance) {
  setScreen(120, 40);
  for (int x = 50; x < 55; ++x) game.depthBuffer[x] = 3.95f;  // 4 <= 4.05: drawn
  for (int x = 55; x < 60; ++x) game.depthBuffer[x] = 3.85f;  // 4 > 3.95: hidden
  game.depthBuffer[60] = 3.9f;                                // 3.9f + 0.1f rounds to 4: drawn
  game.depthBuffer[61] = 3.8f;                                // hidden
  const Entity enemy = entityAt(4.0f, 0.0f, enemyImage2, 16, 17);
  drawBillboard(enemy, 0.0f, kFieldOfView);
  const Box box{50, 15, 10};
  for (int x = 45; x < 75; ++x) {
    const bool hidden = (x >= 55 && x < 60) || x == 61;
    for (int y = 0; y < 40; ++y) {
      const char expected = hidden ? kUntouched : expectedCell(enemy, box, x, y);
      EXPECT_EQ(game.screenRows[y][x], expected) << "column " << x << " row " << y;
    }
  }
}

TEST(Billboard, MirroredSamplingReadsColumnsFromTheRight) {
  // One row with a single filled cell at column 0 of 16; distance 2.5 gives size 16, cols 32.
  const char* const marker[] = {"1000000000000000"};
  for (bool mirrored : {false, true}) {
    SCOPED_TRACE(mirrored ? "mirrored" : "plain");
    setScreen(120, 40);
    Entity entity = entityAt(2.5f, 0.0f, marker, 16, 1);
    entity.mirrored = mirrored;
    drawBillboard(entity, 0.0f, kFieldOfView);
    const Box box{60 - 16, 12, 16};
    EXPECT_EQ(mismatchesAgainst(entity, box), 0);
    // Screen column i of the box samples image column 16i/32, or 15 minus that when mirrored.
    const int filledFrom = mirrored ? box.left + 30 : box.left;
    EXPECT_EQ(game.screenRows[12][filledFrom], kBlock);
    EXPECT_EQ(game.screenRows[12][filledFrom + 1], kBlock);
    EXPECT_EQ(game.screenRows[12][mirrored ? box.left : box.left + 30], ' ');
  }
}

TEST(Billboard, NothingDrawnBehindAtOrBesideThePlayer) {
  setScreen(120, 40);
  drawBillboard(entityAt(-4.0f, 0.0f, enemyImage4, 16, 13), 0.0f, kFieldOfView);
  drawBillboard(entityAt(-4.0f, 0.1f, enemyImage4, 16, 13), 0.0f, kFieldOfView);
  drawBillboard(entityAt(0.0f, 0.0f, enemyImage4, 16, 13), 0.0f, kFieldOfView);
  // Turned half a turn away from an entity ahead: the wrap of the angle must still reject it.
  drawBillboard(entityAt(4.0f, 0.0f, enemyImage4, 16, 13), 180.0f * 3.14159f / 180.0f,
                kFieldOfView);
  // At 1.2 radians and distance 8 the wide angular test passes, yet no column is on screen.
  drawBillboard(entityAt(2.898f, 7.456f, enemyImage4, 16, 13), 0.0f, kFieldOfView);
  // A record without an image has nothing to show.
  drawBillboard(entityAt(4.0f, 0.0f, nullptr, 16, 13), 0.0f, kFieldOfView);
  EXPECT_TRUE(frameUntouched());

  // The same entity ahead is drawn once the heading wraps to it from a whole turn away.
  drawBillboard(entityAt(4.0f, 0.0f, enemyImage4, 16, 13), 360.0f * 3.14159f / 180.0f,
                kFieldOfView);
  EXPECT_FALSE(frameUntouched());
}

TEST(Billboard, ClippedAtEveryScreenEdge) {
  // Ten columns wide: the box of 20 columns starts at -5, so both side edges cut it.
  setScreen(10, 40);
  const Entity enemy = entityAt(4.0f, 0.0f, enemyImage4, 16, 13);
  drawBillboard(enemy, 0.0f, kFieldOfView);
  EXPECT_EQ(mismatchesAgainst(enemy, {-5, 15, 10}), 0);

  // Taller than the screen: size 20 on 10 rows; the visible rows come from the image's middle.
  setScreen(40, 10);
  const Entity nearEnemy = entityAt(0.5f, 0.0f, enemyImage2, 16, 17);
  drawBillboard(nearEnemy, 0.0f, kFieldOfView);
  EXPECT_EQ(mismatchesAgainst(nearEnemy, {0, -5, 20}), 0);
  EXPECT_EQ(game.screenRows[0][5], kBlock);  // image row 17 * 5 / 20 = 4, column 16 * 5 / 40 = 2

  // size 41 on 40 rows: top = (40 - 41) / 2 truncates to 0, so row 0 shows image row 0.
  setScreen(120, 40);
  const Entity justNear = entityAt(0.97f, 0.0f, enemyImage4, 16, 13);
  drawBillboard(justNear, 0.0f, kFieldOfView);
  EXPECT_EQ(mismatchesAgainst(justNear, {60 - 41, 0, 41}), 0);
}

TEST(Billboard, TinyDistancesCostOneScreenAndShowTheImageMiddle) {
  // int(40 / dist) still fits an int here, but twice it does not.
  setScreen(120, 40);
  const float fitting = 2e-8f;
  const int64_t fittingSize = static_cast<int64_t>(40.0f / fitting);
  ASSERT_GT(fittingSize, int64_t{1} << 30);
  ASSERT_LT(fittingSize, int64_t{1} << 31);
  const Entity close = entityAt(fitting, 0.0f, enemyImage2, 16, 17);
  drawBillboard(close, 0.0f, kFieldOfView);
  EXPECT_EQ(mismatchesAgainst(close, {60 - fittingSize, (40 - fittingSize) / 2, fittingSize}), 0);
  EXPECT_FALSE(frameUntouched());

  // Far beyond the int range: the size saturates at the largest int.
  // 4e-23 squares to the smallest subnormal: about the nearest an entity can be and not be at 0.
  for (const float tiny : {1e-20f, 4e-23f}) {
    setScreen(120, 40);
    const Entity touching = entityAt(tiny, 0.0f, enemyImage2, 16, 17);
    drawBillboard(touching, 0.0f, kFieldOfView);
    const int64_t most = std::numeric_limits<int32_t>::max();
    EXPECT_EQ(mismatchesAgainst(touching, {60 - most, (40 - most) / 2, most}), 0);
  }

  // So close that the squared distance underflows to 0: nothing, like an entity at the player.
  setScreen(120, 40);
  drawBillboard(entityAt(1e-30f, 0.0f, enemyImage2, 16, 17), 0.0f, kFieldOfView);
  EXPECT_TRUE(frameUntouched());
}

TEST(WeaponImage, DefaultScreenCoversRows32To39AndColumns54To66) {
  setScreen(120, 40);
  setUpSprites();
  const WeaponImage& gun = spriteTable.at("GunSprite1");
  drawWeaponImage(gun);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 120; ++x) {
      const bool inBox = y >= 32 && x >= 54 && x <= 66;
      // 13 columns sample the 12 of the image, 8 rows the 8; "0" and spaces are transparent.
      const bool filled = inBox && gun[y - 32][((x - 54) * 12) / 13] == '1';
      EXPECT_EQ(game.screenRows[y][x], filled ? kBlock : kUntouched) << x << "," << y;
    }
  }
  EXPECT_EQ(game.screenRows[37][54], kBlock);  // row 5 starts "1111111111"
  EXPECT_EQ(game.screenRows[39][66], kBlock);  // row 7 ends "11111111"
}

TEST(WeaponImage, SmallScreensAndEmptyImagesDrawNothingOutside) {
  setUpSprites();
  const WeaponImage& gun = spriteTable.at("GunSprite1");
  for (int width : {1, 8, 9}) {  // below 9 no column; at 9 a column but no row
    setScreen(width, 40);
    drawWeaponImage(gun);
    EXPECT_TRUE(frameUntouched()) << width;
  }
  setScreen(120, 40);
  drawWeaponImage(WeaponImage{});
  drawWeaponImage(WeaponImage{"", "1111"});
  EXPECT_TRUE(frameUntouched());

  // Three rows high: the weapon's top five rows fall above the screen.
  setScreen(120, 3);
  drawWeaponImage(gun);
  for (int x = 54; x <= 66; ++x) {
    EXPECT_EQ(game.screenRows[0][x], gun[5][((x - 54) * 12) / 13] == '1' ? kBlock : kUntouched);
  }

  // "0" does not blank the view under the weapon; rows shorter than row 0 end in transparency.
  setScreen(36, 10);  // dw = 4, dh = 2, left = 16, top = 8
  drawWeaponImage(WeaponImage{"0000", "11"});
  EXPECT_EQ(game.screenRows[8], std::string(36, kUntouched));
  EXPECT_EQ(game.screenRows[9].substr(15, 6), ".\xDB\xDB...");
}

}  // namespace
