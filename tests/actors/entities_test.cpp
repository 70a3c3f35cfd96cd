// Spawning from stored cell codes and the farthest-first draw order.
// Depends on: actors/entities.h, render/sprites.h, hand-made levels through world/level.h.
#include "actors/entities.h"

#include <gtest/gtest.h>

#include "render/sprites.h"
#include "world/game_state.h"

namespace {

const Level kMixedRows = makeLevel({
    "1 3 5 ",
    "1  2 4",
    "14",
});
const Level kNothingToSpawn = makeLevel({"1 5 1", "  "});

TEST(SpawnEntities, RowMajorFromStoredCodesWithImagesPerCode) {
  game.currentLevel = &kMixedRows;
  game.entities.assign(1, Entity{.kind = EntityKind::ExitMarker});
  spawnEntities();

  ASSERT_EQ(game.entities.size(), 5u);
  EXPECT_EQ(game.entities[0].kind, EntityKind::ExitMarker);  // the list is not emptied
  struct Expected {
    EntityKind kind;
    float x, y;
    ImageRows image;
    int32_t width, height;
  };
  const Expected expected[] = {
      {EntityKind::Prop, 2.5f, 0.5f, objectImage, 12, 9},
      {EntityKind::Enemy, 3.5f, 1.5f, enemyImage2, 16, 17},
      {EntityKind::Enemy, 5.5f, 1.5f, enemyImage4, 16, 13},
      {EntityKind::Enemy, 1.5f, 2.5f, enemyImage4, 16, 13},
  };
  for (size_t i = 0; i < std::size(expected); ++i) {
    const Entity& entity = game.entities[i + 1];
    SCOPED_TRACE(i);
    EXPECT_EQ(entity.kind, expected[i].kind);
    EXPECT_EQ(entity.x, expected[i].x);
    EXPECT_EQ(entity.y, expected[i].y);
    EXPECT_EQ(entity.image, expected[i].image);
    EXPECT_EQ(entity.imageWidth, expected[i].width);
    EXPECT_EQ(entity.imageHeight, expected[i].height);
    EXPECT_EQ(entity.state, EnemyState::Idle);
    EXPECT_FALSE(entity.mirrored || entity.attackLanded);
    EXPECT_EQ(entity.animTimer + entity.jitterX + entity.jitterY + entity.jitterTimer +
                  entity.attackTimer + entity.stuckTimer,
              0.0f);
  }

  game.currentLevel = &kNothingToSpawn;
  game.entities.clear();
  spawnEntities();
  EXPECT_TRUE(game.entities.empty());
}

Entity placedAt(float x, float y, EntityKind kind) {
  return Entity{.kind = kind, .x = x, .y = y};
}

TEST(SortEntitiesForDrawing, FarthestFirstKeepingTiesInOrder) {
  game.playerX = 5.5f;
  game.playerY = 5.5f;
  // The two props lie at the same distance from the player.
  game.entities = {
      placedAt(5.5f, 5.5f, EntityKind::Enemy),       // at the player
      placedAt(6.5f, 5.5f, EntityKind::Prop),        // distance 1
      placedAt(9.5f, 5.5f, EntityKind::ExitMarker),  // distance 4
      placedAt(5.5f, 6.5f, EntityKind::Prop),        // distance 1, same as the first prop
      placedAt(3.5f, 5.5f, EntityKind::Enemy),       // distance 2
  };
  sortEntitiesForDrawing();

  const float expectedX[] = {9.5f, 3.5f, 6.5f, 5.5f, 5.5f};
  const float expectedY[] = {5.5f, 5.5f, 5.5f, 6.5f, 5.5f};
  for (size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(game.entities[i].x, expectedX[i]) << i;
    EXPECT_EQ(game.entities[i].y, expectedY[i]) << i;
  }
}

}  // namespace
