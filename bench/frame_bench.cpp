// Whole frames of play with every enemy chasing, per program and size: the frame's own work
// (everything but the 16 ms pause, which the scripted console does not take).
// Depends on: bench/bench_game.h, shell/frame_loop.h, world/game_state.h.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <vector>

#include "bench/bench_game.h"
#include "shell/frame_loop.h"
#include "world/game_state.h"

namespace {

const Variant* const kVariants[] = {&marbekVariant, &tolvanVariant, &ziravoVariant};
const char* const kVariantNames[] = {"marbek", "tolvan", "ziravo"};

// Long enough for a woken level's enemies to reach a player who stands still and crowd him.
constexpr int kGatheringFrames = 400;

struct Spot {
  float x;
  float y;
};

// The centres of the floor cells of the current level, row by row.
std::vector<Spot> floorCentres() {
  std::vector<Spot> spots;
  const Level& level = *game.currentLevel;
  for (int y = 0; y < level.rowCount; ++y) {
    for (int x = 0; x < static_cast<int>(level.rows[static_cast<size_t>(y)].size()); ++x) {
      if (cellAt(level, x, y) == ' ') spots.push_back({x + 0.5f, y + 0.5f});
    }
  }
  return spots;
}

void startWokenGame(benchmark::State& state) {
  const int variant = static_cast<int>(state.range(0));
  startBenchGame(*kVariants[variant], static_cast<int>(state.range(1)),
                 static_cast<int>(state.range(2)));
  wakeEveryEnemy();
  state.SetLabel(kVariantNames[variant]);
}

// The player stands at the start and every enemy of the level has gathered round, so every
// chase step scans the crowd and most end in a separation push. Health is topped up so that
// the game never ends.
void GatheredFrame(benchmark::State& state) {
  startWokenGame(state);
  for (int frame = 0; frame < kGatheringFrames; ++frame) {
    game.health = kStartHealth;
    runFrame();
  }
  for (auto _ : state) {
    game.health = kStartHealth;
    runFrame();
  }
}

// The player stands on a different floor cell in every frame, so every frame asks for routes to
// a new goal, from wherever the chasing enemies have got to.
void RoamingFrame(benchmark::State& state) {
  startWokenGame(state);
  const std::vector<Spot> spots = floorCentres();
  size_t next = 0;
  for (auto _ : state) {
    // A stride through the level: consecutive goals lie far apart.
    next = (next + 97) % spots.size();
    game.playerX = spots[next].x;
    game.playerY = spots[next].y;
    game.health = kStartHealth;
    runFrame();
  }
}

void frameSizes(benchmark::internal::Benchmark* bench) {
  for (int variant = 0; variant < 3; ++variant) {
    bench->Args({variant, 120, 40});
    bench->Args({variant, 512, 512});
  }
  bench->ArgNames({"variant", "width", "height"});
  bench->Unit(benchmark::kMicrosecond);
}

}  // namespace

BENCHMARK(GatheredFrame)->Apply(frameSizes);
BENCHMARK(RoamingFrame)->Apply(frameSizes);
