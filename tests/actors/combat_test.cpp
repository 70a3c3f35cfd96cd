// The hitscan shot: where the march starts and stops, which enemy it takes, the exit marker.
// Depends on: actors/combat.h, actors/entities.h (draw order), render/sprites.h, world levels.
#include "actors/combat.h"

#include <gtest/gtest.h>

#include "actors/entities.h"
#include "render/sprites.h"
#include "world/game_state.h"

namespace {

const Level kGallery = makeLevel({
    "11111111111111",
    "1   2345     1",
    "1       1    1",
    "11111111111111",
});

void aimFrom(float x, float y, float degrees) {
  game.currentLevel = &kGallery;
  game.playerX = x;
  game.playerY = y;
  game.viewAngle = degrees;
  game.kills = 0;
  game.killTarget = 99;
  game.entities.clear();
}

void place(EntityKind kind, float x, float y) {
  game.entities.push_back(Entity{.kind = kind, .x = x, .y = y});
}

TEST(FireShot, MarchStartsOneStepAheadAndStopsAtTheFirstWall) {
  // Behind the player but within the box of the player's own position: the start is not tested.
  aimFrom(1.5f, 1.5f, 0.0f);
  place(EntityKind::Enemy, 1.3f, 1.5f);
  fireShot();
  EXPECT_EQ(game.kills, 0);
  EXPECT_EQ(game.entities.size(), 1u);

  // Within the box of the first point, 0.1 ahead, but not of the next one.
  place(EntityKind::Enemy, 1.84f, 1.5f);
  fireShot();
  EXPECT_EQ(game.kills, 1);
  ASSERT_EQ(game.entities.size(), 1u);
  EXPECT_EQ(game.entities[0].x, 1.3f);

  // Row 2 has a wall at column 8: the enemy behind it survives, the one before it does not.
  aimFrom(1.5f, 2.5f, 0.0f);
  place(EntityKind::Enemy, 10.5f, 2.5f);
  fireShot();
  EXPECT_EQ(game.kills, 0);
  place(EntityKind::Enemy, 7.5f, 2.5f);
  fireShot();
  EXPECT_EQ(game.kills, 1);
  EXPECT_EQ(game.entities.size(), 1u);

  // Aimed straight at the outer wall with nothing in the way: a miss that changes nothing.
  aimFrom(1.5f, 1.5f, 270.0f);
  place(EntityKind::Enemy, 1.5f, 2.5f);
  fireShot();
  EXPECT_EQ(game.kills, 0);
  EXPECT_EQ(game.entities.size(), 1u);
}

TEST(FireShot, PassesSceneryAndOpenCodesAndTakesTheFartherOfTwo) {
  // Row 1 holds the codes 2 to 5 in columns 4 to 7; a prop and a marker stand on the line.
  aimFrom(1.5f, 1.5f, 0.0f);
  place(EntityKind::Prop, 3.5f, 1.5f);
  place(EntityKind::ExitMarker, 5.5f, 1.5f);
  place(EntityKind::Enemy, 11.5f, 1.5f);
  fireShot();
  EXPECT_EQ(game.kills, 1);
  ASSERT_EQ(game.entities.size(), 2u);
  EXPECT_EQ(game.entities[0].kind, EntityKind::Prop);
  EXPECT_EQ(game.entities[1].kind, EntityKind::ExitMarker);

  // Both enter the box at the same step; the draw order puts the farther one first.
  aimFrom(1.5f, 1.5f, 0.0f);
  place(EntityKind::Enemy, 3.0f, 1.3f);
  place(EntityKind::Enemy, 3.0f, 1.72f);
  place(EntityKind::Enemy, 12.5f, 1.5f);
  sortEntitiesForDrawing();
  fireShot();
  ASSERT_EQ(game.entities.size(), 2u);
  EXPECT_EQ(game.entities[0].x, 12.5f);  // the survivors keep their order
  EXPECT_EQ(game.entities[1].y, 1.3f);
}

TEST(FireShot, KillTargetPlacesTheExitMarkerOnTheFirstFive) {
  aimFrom(3.0f, 3.0f, 0.0f);
  game.currentLevel = &levelB;
  game.killTarget = 230;
  game.kills = 229;
  place(EntityKind::Enemy, 6.5f, 3.0f);
  fireShot();
  EXPECT_EQ(game.kills, 230);
  ASSERT_EQ(game.entities.size(), 1u);
  const Entity& marker = game.entities[0];
  EXPECT_EQ(marker.kind, EntityKind::ExitMarker);
  EXPECT_EQ(marker.x, 78.5f);
  EXPECT_EQ(marker.y, 8.5f);
  EXPECT_EQ(marker.image, exitImage);
  EXPECT_EQ(marker.imageWidth, 26);
  EXPECT_EQ(marker.imageHeight, 5);
  EXPECT_EQ(marker.state, EnemyState::Idle);

  // Below the target no marker; a level without a "5" never gets one.
  aimFrom(1.5f, 1.5f, 0.0f);
  game.killTarget = 2;
  place(EntityKind::Enemy, 2.5f, 1.5f);
  fireShot();
  EXPECT_TRUE(game.entities.empty());
  const Level noExit = makeLevel({"1   1"});
  game.currentLevel = &noExit;
  game.playerY = 0.5f;
  place(EntityKind::Enemy, 2.5f, 0.5f);
  fireShot();
  EXPECT_EQ(game.kills, 2);
  EXPECT_TRUE(game.entities.empty());
  game.currentLevel = &kGallery;
}

}  // namespace
