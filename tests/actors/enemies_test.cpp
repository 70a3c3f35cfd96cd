// Enemy behaviour at the frame loop's fixed step: sight, the chase step and its refusals, the
// separation push, the attack's timing and damage.
// Depends on: actors/enemies.h, world/walkability.h and hand-made levels through world/level.h.
#include "actors/enemies.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "world/game_state.h"

namespace {

constexpr float kFrameStep = 0.04f;
// An enemy in a state outside Idle, Chase and Attack does nothing: it stands in as an obstacle.
constexpr auto kInert = static_cast<EnemyState>(7);

Level corridor(const std::string& inside) {
  const std::string wall(inside.size() + 2, '1');
  return makeLevel({wall, "1" + inside + "1", wall});
}

const Level kLongCorridor = corridor(std::string(38, ' '));
const Level kRoom = makeLevel({"11111111", "1      1", "1      1", "1      1", "11111111"});
const Level kTwoByTwo = makeLevel({"1111", "1  1", "1  1", "1111"});

void startScene(const Level& level, float playerX, float playerY) {
  game.currentLevel = &level;
  game.playerX = playerX;
  game.playerY = playerY;
  game.health = 100;
  game.entities.clear();
  game.entities.reserve(8);  // so that references to the enemies stay valid
}

const Entity& addEnemy(float x, float y, EnemyState state) {
  return game.entities.emplace_back(
      Entity{.kind = EntityKind::Enemy, .x = x, .y = y, .state = state});
}

void run(int frames, float step = kFrameStep) {
  for (int frame = 0; frame < frames; ++frame) updateEnemies(step);
}

// Frames (1-based) after which the enemy's image had flipped.
std::vector<int> flipFrames(const Entity& enemy, int frames) {
  std::vector<int> flips;
  for (int frame = 1; frame <= frames; ++frame) {
    const bool before = enemy.mirrored;
    updateEnemies(kFrameStep);
    if (enemy.mirrored != before) flips.push_back(frame);
  }
  return flips;
}

TEST(EnemySight, StrictlyWithin32CellsAndOnlyWallsBlock) {
  const Level openCodes = corridor(" 2 3 4 5 6    ");  // an inert enemy stands at 7.5 too
  const Level walled = corridor("     1       ");
  const struct {
    const Level* level;
    float playerX;
    EnemyState expected;
  } cases[] = {{&kLongCorridor, 33.4f, EnemyState::Chase},
               {&kLongCorridor, 33.5f, EnemyState::Idle},
               {&openCodes, 13.5f, EnemyState::Chase},
               {&walled, 12.5f, EnemyState::Idle}};
  for (const auto& c : cases) {
    startScene(*c.level, c.playerX, 1.5f);
    if (c.level == &openCodes) addEnemy(7.5f, 1.5f, kInert);
    const Entity& enemy = addEnemy(1.5f, 1.5f, EnemyState::Idle);
    updateEnemies(kFrameStep);
    EXPECT_EQ(enemy.state, c.expected) << c.playerX;
    EXPECT_EQ(enemy.x, 1.5f);  // the switch itself does not move it
  }
  game.currentLevel = &kRoom;  // the local levels die with the test
}

TEST(EnemyChase, WalkFlipsEverySevenFramesOrFourWithoutARouteStep) {
  startScene(kLongCorridor, 30.5f, 1.5f);
  const Entity& walker = addEnemy(1.5f, 1.5f, EnemyState::Chase);
  updateEnemies(kFrameStep);
  EXPECT_FLOAT_EQ(walker.x, 1.62f);
  EXPECT_EQ(flipFrames(walker, 20), (std::vector<int>{6, 13, 20}));  // frames 7, 14, 21

  // A diagonal route step is taken along x first.
  startScene(kRoom, 3.5f, 3.5f);
  const Entity& diagonal = addEnemy(1.5f, 1.5f, EnemyState::Chase);
  updateEnemies(kFrameStep);
  EXPECT_FLOAT_EQ(diagonal.x, 1.62f);
  EXPECT_EQ(diagonal.y, 1.5f);

  // Same cell as the player but 1.2 away: a one-cell route, so the enemy stands still.
  startScene(kRoom, 2.05f, 1.05f);
  const Entity& enemy = addEnemy(2.9f, 1.9f, EnemyState::Chase);
  EXPECT_EQ(flipFrames(enemy, 12), (std::vector<int>{4, 8, 12}));
  EXPECT_EQ(enemy.x, 2.9f);
  EXPECT_EQ(enemy.y, 1.9f);
}

TEST(EnemyChase, StepsRefusedNearThePlayerWhenCrowdedOrWalled) {
  // Exactly 1.0 away: no attack yet. A step of 0.45 would end 0.55 from the player.
  startScene(kRoom, 2.5f, 1.5f);
  addEnemy(1.5f, 1.5f, EnemyState::Chase);
  updateEnemies(0.15f);
  EXPECT_EQ(game.entities[0].x, 1.5f);
  updateEnemies(kFrameStep);
  EXPECT_FLOAT_EQ(game.entities[0].x, 1.62f);

  // Crowded: the step is refused and the push goes away from the neighbour onto free floor,
  // unless that would put the body half into a wall.
  const struct {
    float neighbourX, enemyX, expectedX;
  } crowds[] = {{3.2f, 2.5f, 2.42f}, {2.2f, 1.5f, 1.5f}};
  for (const auto& c : crowds) {
    startScene(kRoom, 6.5f, 1.5f);
    addEnemy(c.neighbourX, 1.5f, kInert);
    addEnemy(c.enemyX, 1.5f, EnemyState::Chase);
    updateEnemies(kFrameStep);
    EXPECT_NEAR(game.entities[1].x, c.expectedX, 1e-5f);
    EXPECT_EQ(game.entities[1].y, 1.5f);
  }

  // A long step overshoots the neighbour cell into the wall: refused; uncrowded, it is not
  // counted as stuck.
  startScene(kTwoByTwo, 2.5f, 2.5f);
  addEnemy(1.5f, 1.5f, EnemyState::Chase);
  updateEnemies(0.5f);
  EXPECT_EQ(game.entities[0].x, 1.5f);
  EXPECT_EQ(game.entities[0].stuckTimer, 0.0f);
}

TEST(EnemyAttack, TenHealthEveryNineteenFramesPerEnemyInReach) {
  startScene(kRoom, 3.5f, 2.5f);
  const Entity& enemy = addEnemy(2.8f, 2.5f, EnemyState::Chase);
  std::vector<int> hits;
  std::vector<int> flips;
  for (int frame = 1; frame <= 38; ++frame) {
    const int health = game.health;
    const bool pose = enemy.mirrored;
    updateEnemies(kFrameStep);
    if (game.health != health) hits.push_back(frame);
    if (enemy.mirrored != pose) flips.push_back(frame);
  }
  EXPECT_EQ(enemy.x, 2.8f);  // never moves while attacking
  // Attack frame 11 reaches 0.4 s; frame 19 is a chase step that starts the next attack.
  EXPECT_EQ(hits, (std::vector<int>{12, 31}));
  EXPECT_EQ(game.health, 80);
  EXPECT_EQ(flips, (std::vector<int>{12, 17, 31, 36}));  // the swing pose holds five frames

  startScene(kRoom, 3.5f, 2.5f);
  addEnemy(2.8f, 2.5f, EnemyState::Chase);
  addEnemy(4.2f, 2.5f, EnemyState::Chase);
  run(38);
  EXPECT_EQ(game.health, 60);
}

TEST(EnemyAttack, LandsOnTheFirstFrameInReachFromElevenOnOrMisses) {
  startScene(kRoom, 3.5f, 2.5f);
  const Entity& enemy = addEnemy(2.8f, 2.5f, EnemyState::Attack);
  run(10);
  game.playerX = 5.5f;
  run(3);
  EXPECT_EQ(game.health, 100);
  game.playerX = 3.5f;
  run(1);
  EXPECT_EQ(game.health, 90);
  EXPECT_TRUE(enemy.attackLanded);

  startScene(kRoom, 5.5f, 2.5f);
  const Entity& missing = addEnemy(2.8f, 2.5f, EnemyState::Attack);
  run(17);
  EXPECT_EQ(missing.state, EnemyState::Attack);
  run(1);
  EXPECT_EQ(missing.state, EnemyState::Chase);
  EXPECT_EQ(game.health, 100);
  EXPECT_FALSE(missing.attackLanded || missing.mirrored);
}

TEST(EnemyUpdate, SceneryAndSleepersNeitherMoveNorAttack) {
  startScene(kRoom, 3.5f, 2.5f);
  game.entities.push_back(
      Entity{.kind = EntityKind::Prop, .x = 2.8f, .y = 2.5f, .state = EnemyState::Chase});
  game.entities.push_back(
      Entity{.kind = EntityKind::ExitMarker, .x = 5.5f, .y = 2.5f, .state = EnemyState::Attack});
  addEnemy(4.2f, 2.5f, kInert);
  run(40);
  EXPECT_EQ(game.health, 100);
  for (const Entity& entity : game.entities) {
    EXPECT_EQ(entity.animTimer + entity.attackTimer + entity.jitterTimer, 0.0f);
    EXPECT_FALSE(entity.mirrored);
  }
  EXPECT_EQ(game.entities[0].x, 2.8f);
  EXPECT_EQ(game.entities[2].x, 4.2f);

  game.currentLevel = &kRoom;
}

}  // namespace
