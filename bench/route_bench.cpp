// Routes: findPath against the plain search it replaced, on the same queries, and the single
// route step the enemies ask for. Depends on: actors/pathfinding.h, world/game_state.h.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <vector>

#include "actors/pathfinding.h"
#include "testing/pathfinding_reference.h"
#include "world/game_state.h"

namespace {

const Level* const kLevels[] = {&levelA, &levelB, &levelC};
const char* const kLevelNames[] = {"level A (marbek)", "level B (tolvan)", "level C (ziravo)"};
constexpr size_t kGoalsPerLevel = 8;

struct Query {
  CellPos start;
  CellPos goal;
};

std::vector<CellPos> openCells(const Level& level) {
  std::vector<CellPos> cells;
  for (int y = 0; y < level.rowCount; ++y) {
    for (int x = 0; x < static_cast<int>(level.rows[static_cast<size_t>(y)].size()); ++x) {
      if (cellAt(level, x, y) != kWallCell) cells.push_back({x, y});
    }
  }
  return cells;
}

// As a frame asks: one goal (the player's cell) and a route from every open cell to it, for a
// few goals spread over the level. Unreachable pairs are included, as they are in play.
std::vector<Query> chaseQueries(const Level& level) {
  const std::vector<CellPos> cells = openCells(level);
  std::vector<Query> queries;
  for (size_t g = 0; g < kGoalsPerLevel; ++g) {
    const CellPos goal = cells[g * cells.size() / kGoalsPerLevel];
    for (const CellPos& start : cells) queries.push_back({start, goal});
  }
  return queries;
}

// The same queries start by start, so that consecutive queries never share a goal.
std::vector<Query> scatteredQueries(const Level& level) {
  std::vector<Query> queries;
  const std::vector<Query> byGoal = chaseQueries(level);
  const size_t starts = byGoal.size() / kGoalsPerLevel;
  for (size_t s = 0; s < starts; ++s) {
    for (size_t g = 0; g < kGoalsPerLevel; ++g) queries.push_back(byGoal[g * starts + s]);
  }
  return queries;
}

template <typename Search>
void runQueries(benchmark::State& state, const std::vector<Query>& queries, Search search) {
  const int level = static_cast<int>(state.range(0));
  game.currentLevel = kLevels[level];
  for (auto _ : state) {
    for (const Query& query : queries) {
      benchmark::DoNotOptimize(search(query));
    }
  }
  // Seconds per route, shown with an SI prefix (u for microseconds, n for nanoseconds).
  state.counters["per_route"] =
      benchmark::Counter(static_cast<double>(state.iterations() * queries.size()),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
  state.SetLabel(kLevelNames[level]);
}

std::vector<CellPos> plain(const Query& q) {
  return findPathReference(q.start.x, q.start.y, q.goal.x, q.goal.y);
}
std::vector<CellPos> fast(const Query& q) {
  return findPath(q.start.x, q.start.y, q.goal.x, q.goal.y);
}
bool stepOnly(const Query& q) {
  CellPos next{};
  return findRouteStep(q.start.x, q.start.y, q.goal.x, q.goal.y, next);
}

void FindPathReference(benchmark::State& state) {
  runQueries(state, chaseQueries(*kLevels[state.range(0)]), plain);
}
void FindPath(benchmark::State& state) {
  runQueries(state, chaseQueries(*kLevels[state.range(0)]), fast);
}
void FindRouteStep(benchmark::State& state) {
  runQueries(state, chaseQueries(*kLevels[state.range(0)]), stepOnly);
}
// The distance field's worst case: a new field for every query.
void FindPathScattered(benchmark::State& state) {
  runQueries(state, scatteredQueries(*kLevels[state.range(0)]), fast);
}
void FindPathReferenceScattered(benchmark::State& state) {
  runQueries(state, scatteredQueries(*kLevels[state.range(0)]), plain);
}

}  // namespace

BENCHMARK(FindPathReference)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(FindPath)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(FindRouteStep)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(FindPathReferenceScattered)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(FindPathScattered)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
