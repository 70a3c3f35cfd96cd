// The raycaster and the billboards alone, on ziravo's crowd gathered round the player.
// Depends on: bench/bench_game.h, render (raycaster, sprites), shell/frame_loop.h.
#include <benchmark/benchmark.h>

#include <cstddef>

#include "bench/bench_game.h"
#include "render/raycaster.h"
#include "render/sprites.h"
#include "shell/frame_loop.h"
#include "world/angles.h"
#include "world/game_state.h"

namespace {

constexpr int kGatheringFrames = 400;

void gatherZiravo(benchmark::State& state) {
  startBenchGame(ziravoVariant, static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
  wakeEveryEnemy();
  for (int frame = 0; frame < kGatheringFrames; ++frame) {
    game.health = kStartHealth;
    runFrame();
  }
}

// The view turns 7 degrees a cast, so the walls are seen from every side.
void CastWalls(benchmark::State& state) {
  gatherZiravo(state);
  for (auto _ : state) {
    game.viewAngle += 7.0f;
    if (game.viewAngle >= 360.0f) game.viewAngle -= 360.0f;
    castWalls();
  }
}

// Every entity drawn, farthest first, over the walls as the frame leaves them.
void DrawBillboards(benchmark::State& state) {
  gatherZiravo(state);
  castWalls();
  const float heading = radians(game.viewAngle);
  for (auto _ : state) {
    for (const Entity& entity : game.entities) {
      drawBillboard(entity, heading);
    }
  }
  state.counters["entities"] = static_cast<double>(game.entities.size());
}

void screenSizes(benchmark::internal::Benchmark* bench) {
  bench->Args({120, 40})->Args({512, 512})->ArgNames({"width", "height"});
  bench->Unit(benchmark::kMicrosecond);
}

}  // namespace

BENCHMARK(CastWalls)->Apply(screenSizes);
BENCHMARK(DrawBillboards)->Apply(screenSizes);
