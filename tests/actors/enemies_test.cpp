// Enemy behaviour at the frame loop's fixed step: sight, the chase step and its refusals, the
// separation push, the attack's timing and damage, the jitter draw.
// Depends on: actors/enemies.h, world/walkability.h and hand-made levels through world/level.h.
#include "actors/enemies.h"

#include <gtest/gtest.h>

#include <cstdlib>
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
const Level kRoom = makeLevel({
    "11111111",
    "1      1",
    "1      1",
    "1      1",
    "11111111",
});
const Level kTwoByTwo = makeLevel({"1111", "1  1", "1  1", "1111"});

void startScene(const Level& level, float playerX, float playerY) {
  game.currentLevel = &level;
  game.playerX = playerX;
  game.playerY = playerY;
  game.health = 100;
  game.entities.clear();
}

size_t addEnemy(float x, float y, EnemyState state) {
  game.entities.push_back(Entity{.kind = EntityKind::Enemy, .x = x, .y = y, .state = state});
  return game.entities.size() - 1;
}

// Frames (1-based) after which the enemy's image had flipped.
std::vector<int> flipFrames(size_t enemy, int frames) {
  std::vector<int> flips;
  for (int frame = 1; frame <= frames; ++frame) {
    const bool before = game.entities[enemy].mirrored;
    updateEnemies(kFrameStep);
    if (game.entities[enemy].mirrored != before) flips.push_back(frame);
  }
  return flips;
}

TEST(EnemySight, StrictlyWithin32CellsAndOnlyWallsBlock) {
  startScene(kLongCorridor, 33.4f, 1.5f);
  size_t enemy = addEnemy(1.5f, 1.5f, EnemyState::Idle);
  updateEnemies(kFrameStep);
  EXPECT_EQ(game.entities[enemy].state, EnemyState::Chase);
  EXPECT_EQ(game.entities[enemy].x, 1.5f);  // the switch itself does not move it

  startScene(kLongCorridor, 33.5f, 1.5f);
  enemy = addEnemy(1.5f, 1.5f, EnemyState::Idle);
  updateEnemies(kFrameStep);
  EXPECT_EQ(game.entities[enemy].state, EnemyState::Idle);

  const Level openCodes = corridor(" 2 3 4 5 6    ");
  startScene(openCodes, 13.5f, 1.5f);
  addEnemy(7.5f, 1.5f, kInert);
  enemy = addEnemy(1.5f, 1.5f, EnemyState::Idle);
  updateEnemies(kFrameStep);
  EXPECT_EQ(game.entities[enemy].state, EnemyState::Chase);

  const Level walled = corridor("     1       ");
  startScene(walled, 12.5f, 1.5f);
  enemy = addEnemy(1.5f, 1.5f, EnemyState::Idle);
  updateEnemies(kFrameStep);
  EXPECT_EQ(game.entities[enemy].state, EnemyState::Idle);
  game.currentLevel = &kRoom;  // the local levels die with the test
}

TEST(EnemyChase, WalkFlipsEverySevenFramesOrFourWithoutARouteStep) {
  startScene(kLongCorridor, 30.5f, 1.5f);
  size_t enemy = addEnemy(1.5f, 1.5f, EnemyState::Chase);
  updateEnemies(kFrameStep);
  EXPECT_FLOAT_EQ(game.entities[enemy].x, 1.62f);
  EXPECT_EQ(game.entities[enemy].y, 1.5f);
  EXPECT_EQ(flipFrames(enemy, 20), (std::vector<int>{6, 13, 20}));  // frames 7, 14, 21

  // Same cell as the player but 1.2 away: a one-cell route, so the enemy stands still.
  startScene(kRoom, 2.05f, 1.05f);
  enemy = addEnemy(2.9f, 1.9f, EnemyState::Chase);
  EXPECT_EQ(flipFrames(enemy, 12), (std::vector<int>{4, 8, 12}));
  EXPECT_EQ(game.entities[enemy].x, 2.9f);
  EXPECT_EQ(game.entities[enemy].y, 1.9f);
}

TEST(EnemyChase, DiagonalRouteStepGoesAlongXAndJitterWaitsForTheTwentyFifthStep) {
  startScene(kRoom, 3.5f, 3.5f);
  const size_t diagonal = addEnemy(1.5f, 1.5f, EnemyState::Chase);
  updateEnemies(kFrameStep);
  EXPECT_FLOAT_EQ(game.entities[diagonal].x, 1.62f);
  EXPECT_EQ(game.entities[diagonal].y, 1.5f);

  std::srand(1);
  const float expectedX = static_cast<float>(std::rand() % 200 - 100) / 100.0f;
  const float expectedY = static_cast<float>(std::rand() % 200 - 100) / 100.0f;
  std::srand(1);
  startScene(kLongCorridor, 35.5f, 1.5f);
  const size_t enemy = addEnemy(1.5f, 1.5f, EnemyState::Chase);
  for (int frame = 1; frame <= 24; ++frame) updateEnemies(kFrameStep);
  EXPECT_EQ(game.entities[enemy].jitterX, 0.0f);
  EXPECT_EQ(game.entities[enemy].y, 1.5f);  // aimed at exact cell centres so far
  updateEnemies(kFrameStep);
  EXPECT_EQ(game.entities[enemy].jitterX, expectedX);
  EXPECT_EQ(game.entities[enemy].jitterY, expectedY);
  EXPECT_EQ(game.entities[enemy].jitterTimer, 0.0f);
}

TEST(EnemyChase, StepsRefusedNearThePlayerWhenCrowdedOrWalled) {
  // Exactly 1.0 away: no attack yet. A step of 0.45 would end 0.55 from the player.
  startScene(kRoom, 2.5f, 1.5f);
  size_t enemy = addEnemy(1.5f, 1.5f, EnemyState::Chase);
  updateEnemies(0.15f);
  EXPECT_EQ(game.entities[enemy].x, 1.5f);
  updateEnemies(kFrameStep);
  EXPECT_FLOAT_EQ(game.entities[enemy].x, 1.62f);

  // Crowded: the step is refused and the push goes away from the neighbour, onto free floor.
  startScene(kRoom, 6.5f, 1.5f);
  addEnemy(3.2f, 1.5f, kInert);
  enemy = addEnemy(2.5f, 1.5f, EnemyState::Chase);
  updateEnemies(kFrameStep);
  EXPECT_NEAR(game.entities[enemy].x, 2.42f, 1e-5f);
  EXPECT_EQ(game.entities[enemy].y, 1.5f);

  // The same push from next to a wall would put the body half into it, so it is not taken.
  startScene(kRoom, 6.5f, 1.5f);
  addEnemy(2.2f, 1.5f, kInert);
  enemy = addEnemy(1.5f, 1.5f, EnemyState::Chase);
  updateEnemies(kFrameStep);
  EXPECT_EQ(game.entities[enemy].x, 1.5f);
  EXPECT_EQ(game.entities[enemy].y, 1.5f);

  // A long step overshoots the neighbour cell into the wall: refused; uncrowded, it is not
  // counted as stuck.
  startScene(kTwoByTwo, 2.5f, 2.5f);
  enemy = addEnemy(1.5f, 1.5f, EnemyState::Chase);
  updateEnemies(0.5f);
  EXPECT_EQ(game.entities[enemy].x, 1.5f);
  EXPECT_EQ(game.entities[enemy].stuckTimer, 0.0f);

  // Walled and crowded counts; past the limit the walk flip is forced on the next step.
  startScene(kTwoByTwo, 2.5f, 2.5f);
  addEnemy(2.6f, 1.5f, kInert);
  enemy = addEnemy(1.5f, 1.5f, EnemyState::Chase);
  updateEnemies(0.5f);
  EXPECT_EQ(game.entities[enemy].stuckTimer, 0.5f);
  updateEnemies(0.5f);
  EXPECT_EQ(game.entities[enemy].stuckTimer, 0.0f);
  EXPECT_EQ(game.entities[enemy].animTimer, 1.0f);
  const bool mirrored = game.entities[enemy].mirrored;
  updateEnemies(kFrameStep);
  EXPECT_NE(game.entities[enemy].mirrored, mirrored);
}

TEST(EnemyAttack, TenHealthEveryNineteenFramesPerEnemyInReach) {
  startScene(kRoom, 3.5f, 2.5f);
  const size_t enemy = addEnemy(2.8f, 2.5f, EnemyState::Chase);
  std::vector<int> healthAfter{game.health};
  std::vector<bool> poseAfter{false};
  for (int frame = 1; frame <= 38; ++frame) {
    updateEnemies(kFrameStep);
    healthAfter.push_back(game.health);
    poseAfter.push_back(game.entities[enemy].mirrored);
  }
  EXPECT_EQ(game.entities[enemy].x, 2.8f);  // never moves while attacking
  EXPECT_EQ(healthAfter[1], 100);
  EXPECT_EQ(healthAfter[11], 100);  // attack frame 10
  EXPECT_EQ(healthAfter[12], 90);   // attack frame 11: 0.4 s reached
  EXPECT_EQ(healthAfter[30], 90);
  EXPECT_EQ(healthAfter[31], 80);  // frame 19 is a chase step that starts the next attack
  EXPECT_EQ(healthAfter[38], 80);
  const std::vector<bool> firstSwing(poseAfter.begin() + 11, poseAfter.begin() + 18);
  EXPECT_EQ(firstSwing, (std::vector<bool>{false, true, true, true, true, true, false}));

  startScene(kRoom, 3.5f, 2.5f);
  addEnemy(2.8f, 2.5f, EnemyState::Chase);
  addEnemy(4.2f, 2.5f, EnemyState::Chase);
  for (int frame = 1; frame <= 38; ++frame) updateEnemies(kFrameStep);
  EXPECT_EQ(game.health, 60);
}

TEST(EnemyAttack, LandsOnTheFirstFrameInReachFromElevenOnOrMisses) {
  startScene(kRoom, 3.5f, 2.5f);
  const size_t enemy = addEnemy(2.8f, 2.5f, EnemyState::Attack);
  for (int frame = 1; frame <= 10; ++frame) updateEnemies(kFrameStep);
  game.playerX = 5.5f;
  for (int frame = 11; frame <= 13; ++frame) updateEnemies(kFrameStep);
  EXPECT_EQ(game.health, 100);
  game.playerX = 3.5f;
  updateEnemies(kFrameStep);
  EXPECT_EQ(game.health, 90);
  EXPECT_TRUE(game.entities[enemy].attackLanded);

  startScene(kRoom, 5.5f, 2.5f);
  const size_t missing = addEnemy(2.8f, 2.5f, EnemyState::Attack);
  for (int frame = 1; frame <= 17; ++frame) updateEnemies(kFrameStep);
  EXPECT_EQ(game.entities[missing].state, EnemyState::Attack);
  updateEnemies(kFrameStep);
  EXPECT_EQ(game.entities[missing].state, EnemyState::Chase);
  EXPECT_EQ(game.health, 100);
  EXPECT_FALSE(game.entities[missing].attackLanded || game.entities[missing].mirrored);
}

TEST(EnemyUpdate, ScenerySleepersAndTheRandomFallback) {
  startScene(kRoom, 3.5f, 2.5f);
  game.entities.push_back(Entity{.kind = EntityKind::Prop, .x = 2.8f, .y = 2.5f});
  game.entities.push_back(Entity{.kind = EntityKind::ExitMarker, .x = 5.5f, .y = 2.5f});
  game.entities[0].state = EnemyState::Chase;
  game.entities[1].state = EnemyState::Attack;
  addEnemy(4.2f, 2.5f, kInert);
  for (int frame = 1; frame <= 40; ++frame) updateEnemies(kFrameStep);
  EXPECT_EQ(game.health, 100);
  for (const Entity& entity : game.entities) {
    EXPECT_EQ(entity.animTimer + entity.attackTimer + entity.jitterTimer, 0.0f);
    EXPECT_FALSE(entity.mirrored);
  }
  EXPECT_EQ(game.entities[0].x, 2.8f);
  EXPECT_EQ(game.entities[2].x, 4.2f);

  // Without a route step the fallback never fires at the fixed step: no wandering, no draws.
  const Level pocket = corridor("  ");
  std::srand(1);  // the unseeded sequence
  std::vector<int> draws(4);
  for (int& draw : draws) draw = std::rand();
  const int first = draws[0];
  const int fourth = draws[3];
  std::srand(1);
  startScene(pocket, 1.05f, 1.05f);
  const size_t enemy = addEnemy(1.9f, 1.9f, EnemyState::Chase);
  for (int frame = 1; frame <= 200; ++frame) updateEnemies(kFrameStep);
  EXPECT_EQ(game.entities[enemy].x, 1.9f);
  EXPECT_EQ(std::rand(), first);

  // A step over a second does fire it: one draw for the direction, two for the jitter...
  std::srand(1);
  updateEnemies(1.1f);
  EXPECT_EQ(std::rand(), fourth);

  // ...unless every neighbour is walled or held by another enemy.
  std::srand(1);
  startScene(pocket, 1.05f, 1.05f);
  addEnemy(2.5f, 1.5f, kInert);
  addEnemy(1.9f, 1.9f, EnemyState::Chase);
  updateEnemies(1.1f);
  EXPECT_EQ(std::rand(), first);
  EXPECT_EQ(game.entities[1].x, 1.9f);
  game.currentLevel = &kRoom;
}

}  // namespace
