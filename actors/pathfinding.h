// Breadth-first grid routes between cells of the current level (eight neighbours).
// Owns: CellPos, the neighbour order, findPath, findRouteStep, findPathReference.
// Depends on: world/game_state.h, world/level.h.
#pragma once

#include <cstdint>
#include <vector>

struct CellPos {
  int32_t x;  // column
  int32_t y;  // row
  friend bool operator==(const CellPos&, const CellPos&) = default;
  friend auto operator<=>(const CellPos&, const CellPos&) = default;  // x first, then y
};

// Orthogonal steps come first so that, among routes of equal length, straight ones win. Of the
// shortest routes, the one returned is the first in this order, compared step by step.
inline constexpr CellPos kNeighbourSteps[] = {{1, 0}, {-1, 0}, {0, 1},  {0, -1},
                                              {1, 1}, {-1, 1}, {1, -1}, {-1, -1}};

// A shortest route from start to goal, both included, or empty when the goal cannot be reached.
// Only '1' cells and cells outside the grid are closed; the start itself is never tested, and a
// diagonal step may not cut past a closed cell.
std::vector<CellPos> findPath(int startX, int startY, int goalX, int goalY);

// The second cell of findPath's route, without building the route; false when that route has
// fewer than two cells.
bool findRouteStep(int startX, int startY, int goalX, int goalY, CellPos& next);

// The plain search findPath must match: a queue and an ordered map of parents, nothing kept
// between calls. Slow; for tests and measurements.
std::vector<CellPos> findPathReference(int startX, int startY, int goalX, int goalY);
