// Breadth-first grid routes between cells of the current level (eight neighbours).
// Owns: findPath, findRouteStep. Depends on: actors/cell_pos.h, world/game_state.h,
// world/level.h.
#pragma once

#include <vector>

#include "actors/cell_pos.h"

// A shortest route from start to goal, both included, or empty when the goal cannot be reached.
// Only wall cells and cells outside the grid are closed; the start itself is never tested, and a
// diagonal step may not cut past a closed cell.
std::vector<CellPos> findPath(int startX, int startY, int goalX, int goalY);

// The second cell of findPath's route, without building the route; false when that route has
// fewer than two cells.
bool findRouteStep(int startX, int startY, int goalX, int goalY, CellPos& next);
