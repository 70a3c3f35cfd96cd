// Tests of the billboard renderer and the weapon image drawing, against a plain sampling of the
// images cell by cell. Depends on: render/sprites.h, world/game_state.h.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "render/sprites.h"
#include "world/angles.h"
#include "world/game_state.h"

namespace {

constexpr char kUntouched = '.';

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
  const int64_t sampled = (image.width * i) / cols;
  const int64_t c = entity.mirrored ? image.width - sampled - 1 : sampled;
  const char mask = image.rows[(image.height * j) / box.size][c];
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
  // Straight ahead at distance 4 the box covers columns 50-69 and rows 15-24, also from a whole
  // turn away; the object image is declared a column wider than its rows, and that column is
  // transparent. Then a mirrored box, boxes cut by both side edges, by the top and bottom (rows
  // from the image's middle), and one of size 41 on 40 rows whose top (40 - 41) / 2 truncates
  // to 0. At tiny distances int(40 / d) just fits an int (twice it does not), then saturates at
  // the largest int (4e-23 squares to the smallest subnormal): the work stays one screen's
  // worth. Boxes of size 0 draw nothing: behind, at or beside the player, without an image.
  constexpr int64_t kFits = 2000000000, kMost = std::numeric_limits<int32_t>::max();
  const struct {
    int width, height;
    float x, y, heading;
    Sprite sprite;
    bool mirrored;
    Box box;
  } cases[] = {
      {120, 40, 4.0f, 0, 0, Sprite::Enemy4, false, {50, 15, 10}},
      {120, 40, 4.0f, 0, 2 * kPi, Sprite::Enemy4, false, {50, 15, 10}},
      {120, 40, 4.0f, 0, 0, Sprite::Object, false, {50, 15, 10}},
      {120, 40, 2.5f, 0, 0, Sprite::Enemy2, true, {44, 12, 16}},
      {120, 40, 2.5f, 0, 0, Sprite::Exit, false, {44, 12, 16}},
      {10, 40, 4.0f, 0, 0, Sprite::Enemy2, false, {-5, 15, 10}},
      {40, 10, 0.5f, 0, 0, Sprite::Enemy2, false, {0, -5, 20}},
      {120, 40, 0.97f, 0, 0, Sprite::Enemy2, false, {19, 0, 41}},
      {120, 40, 2e-8f, 0, 0, Sprite::Enemy2, false, {60 - kFits, (40 - kFits) / 2, kFits}},
      {120, 40, 4e-23f, 0, 0, Sprite::Enemy2, false, {60 - kMost, (40 - kMost) / 2, kMost}},
      {120, 40, -4.0f, 0, 0, Sprite::Enemy4, false, {}},
      {120, 40, -4.0f, 0.1f, 0, Sprite::Enemy4, false, {}},
      {120, 40, 0.0f, 0, 0, Sprite::Enemy4, false, {}},
      {120, 40, 1e-30f, 0, 0, Sprite::Enemy2, false, {}},       // the squared distance underflows
      {120, 40, 4.0f, 0, kPi, Sprite::Enemy4, false, {}},       // turned half a turn away
      {120, 40, 2.898f, 7.456f, 0, Sprite::Enemy4, false, {}},  // wide enough, yet off screen
      {120, 40, 4.0f, 0, 0, Sprite::None, false, {}},
      {120, 40, 4.0f, 0, 0, static_cast<Sprite>(99), false, {}},
  };
  for (const auto& c : cases) {
    setScreen(c.width, c.height);
    Entity entity = entityAt(c.x, c.sprite, c.y);
    entity.mirrored = c.mirrored;
    drawBillboard(entity, c.heading);
    EXPECT_EQ(mismatchesAgainst(entity, c.box), 0)
        << c.width << "x" << c.height << " at " << c.x << ", " << c.y << " facing " << c.heading;
    EXPECT_EQ(frameUntouched(), c.box.size == 0);
  }
}

// Recorded games show the weapon on ordinary screens; these are the ones where it cannot show,
// images without rows or columns, and rows shorter than the first, where "0" is transparent too.
TEST(WeaponImage, DrawsNothingWhereItHasNoSizeAndOnlyFilledCellsElsewhere) {
  setUpSprites();
  for (int width : {1, 8, 9}) {  // below 9 no column; at 9 a column but no row
    setScreen(width, 40);
    drawWeaponImage(spriteTable.at("GunSprite1"));
    EXPECT_TRUE(frameUntouched()) << width;
  }
  setScreen(120, 40);
  drawWeaponImage(WeaponImage{});
  drawWeaponImage(WeaponImage{"", "1111"});
  EXPECT_TRUE(frameUntouched());
  setScreen(36, 10);  // dw = 4, dh = 2, left = 16, top = 8
  drawWeaponImage(WeaponImage{"0000", "11"});
  EXPECT_EQ(game.screenRows[8], std::string(36, kUntouched));
  EXPECT_EQ(game.screenRows[9].substr(15, 6), ".\xDB\xDB...");
}

}  // namespace
