// Spawning from stored cell codes, the farthest-first draw order, and the hitscan shot: where
// the march starts and stops, which enemy it takes, the exit marker.
// Depends on: actors/combat.h, actors/entities.h, hand-made and shipped levels.
#include "actors/combat.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

#include "actors/entities.h"
#include "world/game_state.h"

namespace {

const Level kMixedRows = makeLevel({"1 3 5 ", "1  2 4", "14"});
const Level kGallery =
    makeLevel({"11111111111111", "1   2345     1", "1       1    1", "11111111111111"});

using Placed = std::tuple<EntityKind, float, float, Sprite>;

Placed placed(const Entity& e) {
  return {e.kind, e.x, e.y, e.sprite};
}

TEST(SpawnEntities, RowMajorFromStoredCodesWithASpritePerCode) {
  game.currentLevel = &kMixedRows;
  game.entities.assign(1, Entity{.kind = EntityKind::ExitMarker});  // the list is not emptied
  spawnEntities();
  const std::vector<Placed> expected{
      {EntityKind::ExitMarker, 0.0f, 0.0f, Sprite::None},
      {EntityKind::Prop, 2.5f, 0.5f, Sprite::Object},
      {EntityKind::Enemy, 3.5f, 1.5f, Sprite::Enemy2},
      {EntityKind::Enemy, 5.5f, 1.5f, Sprite::Enemy4},
      {EntityKind::Enemy, 1.5f, 2.5f, Sprite::Enemy4},
  };
  std::vector<Placed> actual;
  for (const Entity& entity : game.entities) {
    actual.push_back(placed(entity));
    EXPECT_EQ(entity.state, EnemyState::Idle);
  }
  EXPECT_EQ(actual, expected);
}

// Enough entities that a sort which only looks stable on short lists shows its true order:
// rings of equal distance, each entity labelled (in jitterX) by its place before sorting.
TEST(SortEntitiesForDrawing, FarthestFirstKeepingTiesInListOrder) {
  game.playerX = game.playerY = 5.5f;
  game.entities.clear();
  const float offsets[][2] = {{3, 4}, {-4, 3}, {0, -5}, {1, 0}, {-5, 0}, {0, 1}, {-1, 0}, {4, -3}};
  for (int k = 0; k < 48; ++k) {
    const auto& [dx, dy] = offsets[(k * 5) % 8];
    game.entities.push_back(Entity{.x = 5.5f + dx * (1 + k % 2),
                                   .y = 5.5f + dy * (1 + k % 2),
                                   .jitterX = static_cast<float>(k)});
  }
  sortEntitiesForDrawing();
  for (size_t k = 1; k < game.entities.size(); ++k) {
    const Entity& before = game.entities[k - 1];
    const Entity& after = game.entities[k];
    const float farBefore = std::hypot(before.x - 5.5f, before.y - 5.5f);
    const float farAfter = std::hypot(after.x - 5.5f, after.y - 5.5f);
    ASSERT_TRUE(farBefore > farAfter || (farBefore == farAfter && before.jitterX < after.jitterX))
        << k;
  }
}

void aimFrom(float x, float y, float heading = 0.0f) {
  game.currentLevel = &kGallery;
  game.playerX = x;
  game.playerY = y;
  game.viewAngle = heading;
  game.kills = 0;
  game.killTarget = 99;
  game.entities.clear();
}

Entity at(float x, float y, EntityKind kind = EntityKind::Enemy) {
  return {.kind = kind, .x = x, .y = y};
}

TEST(FireShot, KillsTheFirstEnemyOnTheLineBeforeAWall) {
  // Row 1 holds the codes 2 to 5 in columns 4 to 7, row 2 a wall at column 8. The list is in
  // draw order: of two enemies whose boxes the same point enters, the one listed first dies.
  const auto prop = EntityKind::Prop;
  const auto marker = EntityKind::ExitMarker;
  const struct {
    const char* what;
    float playerX, playerY, heading;
    std::vector<Entity> entities;
    std::vector<std::pair<float, float>> survivors;
  } cases[] = {
      {"behind, in the box of the player's position",
       1.5f,
       1.5f,
       0,
       {at(1.3f, 1.5f)},
       {{1.3f, 1.5f}}},
      {"in the box of the first point, 0.1 ahead", 1.5f, 1.5f, 0, {at(1.84f, 1.5f)}, {}},
      {"behind the wall", 1.5f, 2.5f, 0, {at(10.5f, 2.5f)}, {{10.5f, 2.5f}}},
      {"before the wall", 1.5f, 2.5f, 0, {at(7.5f, 2.5f)}, {}},
      // The line grazes the wall's corner for little more than one step.
      {"past the wall's corner", 5.0f, 2.5f, 350.8f, {at(9.54f, 1.77f)}, {{9.54f, 1.77f}}},
      {"past scenery and open codes",
       1.5f,
       1.5f,
       0,
       {at(3.5f, 1.5f, prop), at(5.5f, 1.5f, marker), at(11.5f, 1.5f)},
       {{3.5f, 1.5f}, {5.5f, 1.5f}}},
      {"the first listed of two",
       1.5f,
       1.5f,
       0,
       {at(12.5f, 1.5f), at(3.0f, 1.72f), at(3.0f, 1.3f)},
       {{12.5f, 1.5f}, {3.0f, 1.3f}}},
  };
  for (const auto& c : cases) {
    aimFrom(c.playerX, c.playerY, c.heading);
    game.entities = c.entities;
    fireShot();
    std::vector<std::pair<float, float>> survivors;
    for (const Entity& entity : game.entities) survivors.emplace_back(entity.x, entity.y);
    EXPECT_EQ(survivors, c.survivors) << c.what;
    EXPECT_EQ(game.kills, static_cast<int>(c.entities.size() - c.survivors.size())) << c.what;
  }
}

TEST(FireShot, KillTargetPlacesTheExitMarkerOnTheFirstExitCellIfAny) {
  const Level twoExits = makeLevel({"1    1", "15  51"});
  const Level noExit = makeLevel({"1    1"});
  for (const Level* level : {&twoExits, &noExit}) {
    aimFrom(1.5f, 0.5f);
    game.currentLevel = level;
    game.killTarget = 2;
    game.entities = {at(2.5f, 0.5f)};
    fireShot();  // below the target: no marker
    game.entities.push_back(at(3.5f, 0.5f));
    fireShot();
    EXPECT_EQ(game.kills, 2);
    const std::vector<Placed> marker{{EntityKind::ExitMarker, 1.5f, 1.5f, Sprite::Exit}};
    std::vector<Placed> actual;
    for (const Entity& entity : game.entities) actual.push_back(placed(entity));
    EXPECT_EQ(actual, level == &noExit ? std::vector<Placed>{} : marker);
  }
  game.currentLevel = &kGallery;
}

}  // namespace
