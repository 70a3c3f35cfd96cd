// Enemy behaviour at the frame loop's fixed step, where whole hunting levels (the golden crowd)
// seldom go: the edge of sight, the chase step's refusals and push, getting stuck.
// Depends on: actors/enemies.h, world/walkability.h and hand-made levels through world/level.h.
#include "actors/enemies.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
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
// No route from the west to a player east of the wall.
const Level kSealedOff = makeLevel({"11111111", "1   11 1", "1   11 1", "1   11 1", "1   11 1",
                                    "1   11 1", "1   11 1", "11111111"});

void startScene(const Level& level, float playerX, float playerY) {
  game.currentLevel = &level;
  game.playerX = playerX;
  game.playerY = playerY;
  game.entities.clear();
  game.entities.reserve(8);  // so that references to the enemies stay valid
}

const Entity& addEnemy(float x, float y, EnemyState state) {
  return game.entities.emplace_back(
      Entity{.kind = EntityKind::Enemy, .x = x, .y = y, .state = state});
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
  } cases[] = {{&kLongCorridor, 1.5f, EnemyState::Chase},  // no distance, nothing between
               {&kLongCorridor, 33.4f, EnemyState::Chase},
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

// Stuck in the wall row, its step walled while a neighbour crowds it: every half second stuck
// forces the next walk flip, so the flips leave the seven-frame rhythm once.
TEST(EnemyChase, WalledWhileCrowdedForHalfASecondForcesAWalkFlip) {
  startScene(kRoom, 6.5f, 1.5f);
  addEnemy(1.5f, 1.3f, kInert);
  const Entity& stuck = addEnemy(1.5f, 0.6f, EnemyState::Chase);
  EXPECT_EQ(flipFrames(stuck, 30), (std::vector<int>{7, 14, 21, 27}));
  EXPECT_EQ(stuck.y, 0.6f);
}

TEST(EnemyChase, StepsRefusedNearThePlayerWhenCrowdedOrWalled) {
  // From 1.0 away a step of 0.45 would end 0.55 from the player; one at the frame step is
  // taken. Crowded, the step is refused and the push goes away from the neighbour onto free
  // floor, unless that would put the body half into a wall. A long step overshoots the
  // neighbour cell into the wall; uncrowded, that is not being stuck.
  const struct {
    const Level* level;
    float playerX, playerY, neighbourX, enemyX, dt, expectedX;
  } cases[] = {
      {&kRoom, 2.5f, 1.5f, 0, 1.5f, 0.15f, 1.5f},
      {&kRoom, 2.5f, 1.5f, 0, 1.5f, kFrameStep, 1.62f},
      {&kRoom, 6.5f, 1.5f, 3.2f, 2.5f, kFrameStep, 2.42f},
      {&kRoom, 6.5f, 1.5f, 2.2f, 1.5f, kFrameStep, 1.5f},
      {&kTwoByTwo, 2.5f, 2.5f, 0, 1.5f, 0.5f, 1.5f},
  };
  for (const auto& c : cases) {
    startScene(*c.level, c.playerX, c.playerY);
    if (c.neighbourX > 0) addEnemy(c.neighbourX, 1.5f, kInert);
    const Entity& enemy = addEnemy(c.enemyX, 1.5f, EnemyState::Chase);
    updateEnemies(c.dt);
    EXPECT_NEAR(enemy.x, c.expectedX, 1e-5f) << c.enemyX << " in " << c.dt;
    EXPECT_EQ(enemy.y, 1.5f);
    EXPECT_EQ(enemy.stuckTimer, 0.0f);
  }
}

// With no route, a step of over a second goes the free way (north), never onto a neighbour;
// in the open but with neighbours on all four sides, nowhere at all.
TEST(EnemyChase, WithoutARouteALongStepWandersTheFreeWay) {
  startScene(kSealedOff, 6.5f, 2.5f);
  for (const auto& [x, y] : {std::pair{1.5f, 5.5f}, {3.5f, 5.5f}, {2.5f, 6.5f}})
    addEnemy(x, y, kInert);
  const Entity& enemy = addEnemy(2.5f, 5.5f, EnemyState::Chase);
  updateEnemies(1.1f);
  EXPECT_LT(enemy.y, 4.5f);
  const Level open = makeLevel(std::vector<std::string>(13, std::string(13, ' ')));
  startScene(open, 99.5f, 99.5f);  // the player off the level: no route
  for (const auto& [x, y] : {std::pair{5.5f, 6.5f}, {7.5f, 6.5f}, {6.5f, 5.5f}, {6.5f, 7.5f}})
    addEnemy(x, y, kInert);
  const Entity& boxedIn = addEnemy(6.5f, 6.5f, EnemyState::Chase);
  updateEnemies(1.1f);
  EXPECT_EQ(std::pair(boxedIn.x, boxedIn.y), std::pair(6.5f, 6.5f));
}

}  // namespace
