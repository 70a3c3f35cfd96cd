// Whole levels of enemies woken at once and left to hunt a player who keeps changing place: a
// digest of every enemy record and the health after every update must stay what it was when the
// enemies scanned their records one by one (crowding, the separation sum, routes, jitter).
// Depends on: actors/enemies.h, actors/entities.h, world/game_state.h.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <utility>
#include <vector>

#include "actors/enemies.h"
#include "actors/entities.h"
#include "actors/runtime_random.h"
#include "world/game_state.h"

namespace {

struct Digest {
  uint64_t value = 14695981039346656037u;  // 64-bit FNV-1a
  void add(uint32_t word) {
    for (int byte = 0; byte < 4; ++byte) {
      value = (value ^ ((word >> (8 * byte)) & 0xFF)) * 1099511628211u;
    }
  }
  void add(float number) { add(std::bit_cast<uint32_t>(number)); }
  void add(bool flag) { add(uint32_t{flag}); }
};

// Field by field in the record's order, as first recorded.
void addEntity(Digest& digest, const Entity& e) {
  digest.add(static_cast<uint32_t>(e.kind));
  for (float f : {e.x, e.y}) digest.add(f);
  digest.add(static_cast<uint32_t>(e.state));
  digest.add(e.animTimer);
  digest.add(e.mirrored);
  for (float f : {e.jitterX, e.jitterY, e.jitterTimer, e.attackTimer}) digest.add(f);
  digest.add(e.attackLanded);
  digest.add(e.stuckTimer);
}

// The player stands on floor cells spread over the level in turn, long enough for the nearer
// enemies to gather and push themselves apart at each, and is never allowed to die.
uint64_t huntDigest(const Level& level, float startX, float startY) {
  resetRuntimeRand();
  game = GameState{};
  game.currentLevel = &level;
  game.playerX = startX;
  game.playerY = startY;
  spawnEntities();
  std::vector<std::pair<float, float>> floor;
  for (int y = 0; y < level.rowCount; ++y) {
    for (int x = 0; x < static_cast<int>(level.rows[static_cast<size_t>(y)].size()); ++x) {
      if (cellAt(level, x, y) == ' ') floor.push_back({x + 0.5f, y + 0.5f});
    }
  }
  for (Entity& entity : game.entities) {
    if (entity.kind == EntityKind::Enemy) entity.state = EnemyState::Chase;
  }
  Digest digest;
  constexpr int kFramesPerSpot = 120;
  for (int frame = 0; frame < 6 * kFramesPerSpot; ++frame) {
    if (frame % kFramesPerSpot == kFramesPerSpot - 1) {
      const auto& [x, y] = floor[static_cast<size_t>(frame * 37) % floor.size()];
      game.playerX = x;
      game.playerY = y;
    }
    game.health = kStartHealth;
    updateEnemies(0.04f);
    sortEntitiesForDrawing();
    digest.add(static_cast<uint32_t>(game.health));
    for (const Entity& entity : game.entities) addEntity(digest, entity);
  }
  game = GameState{};
  return digest.value;
}

// Recorded from the enemy update as first written; the runs take about 1,200 (level A), 86,000
// (B) and 210,000 (C) separation pushes.
TEST(GoldenCrowd, EveryEnemyOfEachLevelHuntingAMovingPlayer) {
  EXPECT_EQ(huntDigest(levelA, 15.0f, 3.5f), 11108896706742104095u);
  EXPECT_EQ(huntDigest(levelB, 3.0f, 3.0f), 2776934827375865839u);
  EXPECT_EQ(huntDigest(levelC, 5.0f, 5.0f), 964149107569096760u);
}

}  // namespace
