// The farthest-first draw order and the hitscan shot: where the march starts and stops, which
// enemy it takes, the exit marker; spawning the prop.
// Depends on: actors/combat.h, actors/entities.h, hand-made and shipped levels.
#include "actors/combat.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "actors/entities.h"
#include "world/game_state.h"

namespace {

const Level kGallery =
    makeLevel({"11111111111111", "1   2345     1", "1       1    1", "11111111111111"});

using Placed = std::tuple<EntityKind, float, float, Sprite>;

Placed placed(const Entity& e) {
  return {e.kind, e.x, e.y, e.sprite};
}

std::vector<Placed> placedAll(const std::vector<Entity>& entities) {
  std::vector<Placed> all;
  for (const Entity& entity : entities) all.push_back(placed(entity));
  return all;
}

// The golden runs spawn every code but the prop's, which no shipped level holds.
TEST(SpawnEntities, ASpritePerStoredCodeFromTheTopRowOn) {
  static const Level codes = makeLevel({"  2", "345x"});
  game.currentLevel = &codes;
  game.entities.clear();
  spawnEntities();
  const std::vector<Placed> expected{{EntityKind::Enemy, 2.5f, 0.5f, Sprite::Enemy2},
                                     {EntityKind::Prop, 0.5f, 1.5f, Sprite::Object},
                                     {EntityKind::Enemy, 1.5f, 1.5f, Sprite::Enemy4}};
  EXPECT_EQ(placedAll(game.entities), expected);
}

// 48 entities at three distances, each labelled (in jitterX) by its place before sorting:
// enough that a sort which only looks stable on short lists shows its true order.
TEST(SortEntitiesForDrawing, FarthestFirstKeepingTiesInListOrder) {
  game.playerX = game.playerY = 5.5f;
  game.entities.clear();
  for (int k = 0; k < 48; ++k) {
    game.entities.push_back(Entity{.x = 6.5f + k % 3, .y = 5.5f, .jitterX = k * 1.0f});
  }
  std::vector<float> expected;
  for (int ring : {2, 1, 0}) {  // k % 3 == 2 stands farthest
    for (int k = ring; k < 48; k += 3) expected.push_back(k * 1.0f);
  }
  sortEntitiesForDrawing();
  std::vector<float> labels;
  for (const Entity& entity : game.entities) labels.push_back(entity.jitterX);
  EXPECT_EQ(labels, expected);
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
    float playerX, playerY, heading;
    std::vector<Entity> entities;
    int killed;  // the index of the entity that dies, -1 for none
  } cases[] = {
      {1.5f, 1.5f, 0, {at(1.3f, 1.5f)}, -1},         // behind, in the box of the player's place
      {1.5f, 1.5f, 0, {at(1.84f, 1.5f)}, 0},         // in the box of the first point, 0.1 ahead
      {1.5f, 2.5f, 0, {at(10.5f, 2.5f)}, -1},        // behind the wall
      {1.5f, 2.5f, 0, {at(7.5f, 2.5f)}, 0},          // before the wall
      {5.0f, 2.5f, 350.8f, {at(9.54f, 1.77f)}, -1},  // past its corner, grazed for over a step
      {1.5f, 1.5f, 0, {at(3.5f, 1.5f, prop), at(5.5f, 1.5f, marker), at(11.5f, 1.5f)}, 2},
      {1.5f, 1.5f, 0, {at(12.5f, 1.5f), at(3.0f, 1.72f), at(3.0f, 1.3f)}, 1},
  };
  for (const auto& c : cases) {
    aimFrom(c.playerX, c.playerY, c.heading);
    game.entities = c.entities;
    fireShot();
    std::vector<Entity> survivors = c.entities;
    if (c.killed >= 0) survivors.erase(survivors.begin() + c.killed);
    EXPECT_EQ(placedAll(game.entities), placedAll(survivors)) << c.entities[0].x;
    EXPECT_EQ(game.kills, c.killed >= 0 ? 1 : 0) << c.entities[0].x;
  }
}

TEST(FireShot, KillTargetPlacesTheExitMarkerOnTheFirstExitCellIfAny) {
  const Level twoExits = makeLevel({"1  5 1", "15  51"});
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
    const std::vector<Placed> marker{{EntityKind::ExitMarker, 3.5f, 0.5f, Sprite::Exit}};
    EXPECT_EQ(placedAll(game.entities), level == &noExit ? std::vector<Placed>{} : marker);
  }
  game.currentLevel = &kGallery;
}

}  // namespace
