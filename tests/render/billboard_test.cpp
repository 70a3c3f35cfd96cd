// Tests of the billboard renderer and the weapon image drawing.
// Depends on: render/sprites.h, world/game_state.h.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "render/sprites.h"
#include "world/game_state.h"

namespace {

constexpr char kUntouched = '.';
constexpr float kFov = 60.0f;

// A frame of W x H with no wall near enough to hide anything; the player at the origin
// looking along +x.
void setScreen(int width, int height) {
  game = GameState{};
  game.screenWidth = width;
  game.screenHeight = height;
  game.screenRows.assign(height, std::string(width, kUntouched));
  game.depthBuffer.assign(width, 1000.0f);
  game.playerX = game.playerY = game.viewAngle = 0.0f;
}

Entity entityAt(float x, ImageRows image, int width, int height, float y = 0.0f) {
  return {.x = x, .y = y, .image = image, .imageWidth = width, .imageHeight = height};
}

// The billboard box: its corner on screen and its size in rows (twice that in columns).
struct Box {
  int64_t left, top, size;
};

// What the cell should show when nothing hides the billboard, sampled from the box.
char expectedCell(const Entity& entity, const Box& box, int64_t x, int64_t y) {
  const int64_t cols = 2 * box.size;
  const int64_t i = x - box.left;
  const int64_t j = y - box.top;
  if (i < 0 || i >= cols || j < 0 || j >= box.size) return kUntouched;
  const int64_t sampled = (entity.imageWidth * i) / cols;
  const int64_t c = entity.mirrored ? entity.imageWidth - sampled - 1 : sampled;
  const char mask = entity.image[(entity.imageHeight * j) / box.size][c];
  return mask == '1' ? kBlock : mask == '0' ? ' ' : kUntouched;
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

TEST(Billboard, FillsItsBoxSampledAndClippedAtTheScreenEdgesWithBoundedWork) {
  // Straight ahead at distance 4 the box covers columns 50-69 and rows 15-24. The object image
  // is declared a column wider than its rows: that column is transparent. A marker at image
  // column 0 of 16 at distance 2.5 fills box columns 0-1, or 30-31 when mirrored. Then boxes
  // cut by both side edges, by the top and bottom (rows from the image's middle), and one of
  // size 41 on 40 rows whose top (40 - 41) / 2 truncates to 0. At tiny distances int(40 / d)
  // just fits an int (twice it does not), then saturates at the largest int (4e-23 squares to
  // the smallest subnormal): the work stays one screen's worth, the image's middle on it.
  constexpr int64_t kFits = 2000000000, kMost = std::numeric_limits<int32_t>::max();
  constexpr Box fits{60 - kFits, (40 - kFits) / 2, kFits},
      most{60 - kMost, (40 - kMost) / 2, kMost};
  const char* const marker[] = {"1000000000000000"};
  const struct {
    int width, height;
    float distance;
    ImageRows image;
    int imageWidth, imageHeight;
    bool mirrored;
    Box box;
    int probeX, probeY;
    char probe;
  } cases[] = {
      {120, 40, 4.0f, enemyImage4, 16, 13, false, {50, 15, 10}, 53, 15, kBlock},
      {120, 40, 4.0f, enemyImage4, 16, 13, false, {50, 15, 10}, 53, 16, ' '},
      {120, 40, 4.0f, objectImage, 12, 9, false, {50, 15, 10}, 69, 20, kUntouched},
      {120, 40, 2.5f, marker, 16, 1, false, {44, 12, 16}, 45, 12, kBlock},
      {120, 40, 2.5f, marker, 16, 1, true, {44, 12, 16}, 75, 12, kBlock},
      {120, 40, 2.5f, marker, 16, 1, true, {44, 12, 16}, 45, 12, ' '},
      {10, 40, 4.0f, enemyImage2, 16, 17, false, {-5, 15, 10}, 0, 0, kUntouched},
      {40, 10, 0.5f, enemyImage2, 16, 17, false, {0, -5, 20}, 5, 0, kBlock},
      {120, 40, 0.97f, enemyImage2, 16, 17, false, {19, 0, 41}, 45, 0, kBlock},
      {120, 40, 2e-8f, enemyImage2, 16, 17, false, fits, 0, 0, kBlock},
      {120, 40, 4e-23f, enemyImage2, 16, 17, false, most, 0, 0, kBlock},
  };
  for (const auto& c : cases) {
    setScreen(c.width, c.height);
    Entity entity = entityAt(c.distance, c.image, c.imageWidth, c.imageHeight);
    entity.mirrored = c.mirrored;
    drawBillboard(entity, 0.0f, kFov);
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " at " << c.distance);
    EXPECT_EQ(mismatchesAgainst(entity, c.box), 0);
    EXPECT_EQ(game.screenRows[c.probeY][c.probeX], c.probe);
  }
}

TEST(Billboard, NearerWallsHideWholeColumnsWithATenthOfTolerance) {
  setScreen(120, 40);
  for (int x = 50; x < 55; ++x) game.depthBuffer[x] = 3.95f;  // 4 <= 4.05: drawn
  for (int x = 55; x < 60; ++x) game.depthBuffer[x] = 3.85f;  // 4 > 3.95: hidden
  game.depthBuffer[60] = 3.9f;                                // 3.9f + 0.1f rounds to 4: drawn
  game.depthBuffer[61] = 3.8f;                                // hidden
  const Entity enemy = entityAt(4.0f, enemyImage2, 16, 17);
  drawBillboard(enemy, 0.0f, kFov);
  for (int x = 45; x < 75; ++x) {
    const bool hidden = (x >= 55 && x < 60) || x == 61;
    for (int y = 0; y < 40; ++y) {
      EXPECT_EQ(game.screenRows[y][x],
                hidden ? kUntouched : expectedCell(enemy, {50, 15, 10}, x, y))
          << x << "," << y;
    }
  }
}

TEST(Billboard, NothingDrawnBehindAtOrBesideThePlayer) {
  setScreen(120, 40);
  drawBillboard(entityAt(-4.0f, enemyImage4, 16, 13), 0.0f, kFov);
  drawBillboard(entityAt(-4.0f, enemyImage4, 16, 13, 0.1f), 0.0f, kFov);
  drawBillboard(entityAt(0.0f, enemyImage4, 16, 13), 0.0f, kFov);
  // Turned half a turn away from an entity ahead: the wrap of the angle must still reject it.
  drawBillboard(entityAt(4.0f, enemyImage4, 16, 13), 3.14159f, kFov);
  // At 1.2 radians and distance 8 the wide angular test passes, yet no column is on screen.
  drawBillboard(entityAt(2.898f, enemyImage4, 16, 13, 7.456f), 0.0f, kFov);
  drawBillboard(entityAt(4.0f, nullptr, 16, 13), 0.0f, kFov);
  // So close that the squared distance underflows to 0: like an entity at the player.
  drawBillboard(entityAt(1e-30f, enemyImage2, 16, 17), 0.0f, kFov);
  EXPECT_TRUE(frameUntouched());

  // The same entity ahead is drawn once the heading wraps to it from a whole turn away.
  drawBillboard(entityAt(4.0f, enemyImage4, 16, 13), 2 * 3.14159f, kFov);
  EXPECT_FALSE(frameUntouched());
}

TEST(WeaponImage, CoversRows32To39AndColumns54To66AndNothingBelowWidthNine) {
  setScreen(120, 40);
  setUpSprites();
  const WeaponImage gun = spriteTable.at("GunSprite1");
  drawWeaponImage(gun);
  for (int y = 0; y < 40; ++y) {
    for (int x = 0; x < 120; ++x) {
      // 13 columns sample the 12 of the image, 8 rows the 8; "0" and spaces are transparent.
      const bool filled = y >= 32 && x >= 54 && x <= 66 && gun[y - 32][((x - 54) * 12) / 13] == '1';
      EXPECT_EQ(game.screenRows[y][x], filled ? kBlock : kUntouched) << x << "," << y;
    }
  }
  EXPECT_EQ(game.screenRows[37][54], kBlock);  // row 5 starts "1111111111"
  EXPECT_EQ(game.screenRows[39][66], kBlock);  // row 7 ends "11111111"

  // Three rows high: the weapon's top five rows fall above the screen.
  setScreen(120, 3);
  drawWeaponImage(gun);
  for (int x = 54; x <= 66; ++x) {
    EXPECT_EQ(game.screenRows[0][x], gun[5][((x - 54) * 12) / 13] == '1' ? kBlock : kUntouched);
  }

  for (int width : {1, 8, 9}) {  // below 9 no column; at 9 a column but no row
    setScreen(width, 40);
    drawWeaponImage(gun);
    EXPECT_TRUE(frameUntouched()) << width;
  }
  setScreen(120, 40);
  drawWeaponImage(WeaponImage{});
  drawWeaponImage(WeaponImage{"", "1111"});
  EXPECT_TRUE(frameUntouched());

  // "0" does not blank the view under the weapon; rows shorter than row 0 end in transparency.
  setScreen(36, 10);  // dw = 4, dh = 2, left = 16, top = 8
  drawWeaponImage(WeaponImage{"0000", "11"});
  EXPECT_EQ(game.screenRows[8], std::string(36, kUntouched));
  EXPECT_EQ(game.screenRows[9].substr(15, 6), ".\xDB\xDB...");
}

}  // namespace
