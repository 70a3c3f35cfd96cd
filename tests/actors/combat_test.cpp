// Spawning from stored cell codes, the farthest-first draw order, and the hitscan shot: where
// the march starts and stops, which enemy it takes, the exit marker.
// Depends on: actors/combat.h, actors/entities.h, render/sprites.h, hand-made and shipped levels.
#include "actors/combat.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <tuple>
#include <utility>
#include <vector>

#include "actors/entities.h"
#include "render/sprites.h"
#include "world/game_state.h"

namespace {

const Level kMixedRows = makeLevel({"1 3 5 ", "1  2 4", "14"});
const Level kNothingToSpawn = makeLevel({"1 5 1", "  "});
const Level kGallery =
    makeLevel({"11111111111111", "1   2345     1", "1       1    1", "11111111111111"});

void place(EntityKind kind, float x, float y) {
  game.entities.push_back(Entity{.kind = kind, .x = x, .y = y});
}

using Placed = std::tuple<EntityKind, float, float, ImageRows, int32_t, int32_t>;

Placed placed(const Entity& e) {
  return {e.kind, e.x, e.y, e.image, e.imageWidth, e.imageHeight};
}

TEST(SpawnEntities, RowMajorFromStoredCodesWithImagesPerCode) {
  game.currentLevel = &kMixedRows;
  game.entities.assign(1, Entity{.kind = EntityKind::ExitMarker});  // the list is not emptied
  spawnEntities();
  const std::vector<Placed> expected{
      placed(Entity{.kind = EntityKind::ExitMarker}),
      {EntityKind::Prop, 2.5f, 0.5f, objectImage, 12, 9},
      {EntityKind::Enemy, 3.5f, 1.5f, enemyImage2, 16, 17},
      {EntityKind::Enemy, 5.5f, 1.5f, enemyImage4, 16, 13},
      {EntityKind::Enemy, 1.5f, 2.5f, enemyImage4, 16, 13},
  };
  std::vector<Placed> actual;
  for (const Entity& entity : game.entities) {
    actual.push_back(placed(entity));
    EXPECT_EQ(entity.state, EnemyState::Idle);
  }
  EXPECT_EQ(actual, expected);

  game.currentLevel = &kNothingToSpawn;
  game.entities.clear();
  spawnEntities();
  EXPECT_TRUE(game.entities.empty());
}

TEST(SortEntitiesForDrawing, FarthestFirstKeepingTiesInOrder) {
  game.playerX = 5.5f;
  game.playerY = 5.5f;
  game.entities.clear();
  place(EntityKind::Enemy, 5.5f, 5.5f);       // at the player
  place(EntityKind::Prop, 6.5f, 5.5f);        // distance 1
  place(EntityKind::ExitMarker, 9.5f, 5.5f);  // distance 4
  place(EntityKind::Prop, 5.5f, 6.5f);        // distance 1, same as the first prop
  place(EntityKind::Enemy, 3.5f, 5.5f);       // distance 2
  sortEntitiesForDrawing();
  std::vector<std::pair<float, float>> order;
  for (const Entity& entity : game.entities) order.emplace_back(entity.x, entity.y);
  EXPECT_EQ(order, (std::vector<std::pair<float, float>>{
                       {9.5f, 5.5f}, {3.5f, 5.5f}, {6.5f, 5.5f}, {5.5f, 6.5f}, {5.5f, 5.5f}}));
}

void aimFrom(float x, float y) {
  game.currentLevel = &kGallery;
  game.playerX = x;
  game.playerY = y;
  game.viewAngle = 0.0f;
  game.kills = 0;
  game.killTarget = 99;
  game.entities.clear();
}

TEST(FireShot, MarchStartsOneStepAheadAndStopsAtTheFirstWall) {
  const struct {
    const char* what;
    float playerY, enemyX;
    bool killed;
  } cases[] = {
      {"behind, in the box of the player's own position", 1.5f, 1.3f, false},
      {"in the box of the first point, 0.1 ahead, but not the next", 1.5f, 1.84f, true},
      {"behind the wall at column 8 of row 2", 2.5f, 10.5f, false},
      {"before that wall", 2.5f, 7.5f, true},
  };
  for (const auto& c : cases) {
    aimFrom(1.5f, c.playerY);
    place(EntityKind::Enemy, c.enemyX, c.playerY);
    fireShot();
    EXPECT_EQ(game.kills, c.killed ? 1 : 0) << c.what;
    EXPECT_EQ(game.entities.size(), c.killed ? 0u : 1u) << c.what;
  }
}

TEST(FireShot, PassesSceneryAndOpenCodesAndTakesTheFartherOfTwo) {
  // Row 1 holds the codes 2 to 5 in columns 4 to 7; a prop and a marker stand on the line.
  aimFrom(1.5f, 1.5f);
  place(EntityKind::Prop, 3.5f, 1.5f);
  place(EntityKind::ExitMarker, 5.5f, 1.5f);
  place(EntityKind::Enemy, 11.5f, 1.5f);
  fireShot();
  EXPECT_EQ(game.kills, 1);
  ASSERT_EQ(game.entities.size(), 2u);
  EXPECT_EQ(game.entities[0].kind, EntityKind::Prop);
  EXPECT_EQ(game.entities[1].kind, EntityKind::ExitMarker);

  // Both enter the box at the same step; the draw order puts the farther one first.
  aimFrom(1.5f, 1.5f);
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
  aimFrom(3.0f, 3.0f);
  game.currentLevel = &levelB;
  game.killTarget = 230;
  game.kills = 229;
  place(EntityKind::Enemy, 6.5f, 3.0f);
  fireShot();
  EXPECT_EQ(game.kills, 230);
  ASSERT_EQ(game.entities.size(), 1u);
  EXPECT_EQ(placed(game.entities[0]),
            Placed(EntityKind::ExitMarker, 78.5f, 8.5f, exitImage, 26, 5));

  // Below the target no marker; a level without a "5" never gets one.
  aimFrom(1.5f, 1.5f);
  game.killTarget = 2;
  place(EntityKind::Enemy, 2.5f, 1.5f);
  fireShot();
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
