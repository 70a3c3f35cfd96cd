// The plain route search that findPath must match route for route.
// Owns: findPathReference. Depends on: actors/cell_pos.h, world/game_state.h (currentLevel).
#pragma once

#include <vector>

#include "actors/cell_pos.h"

// A queue and an ordered map of parents, nothing kept between calls. Slow; for tests and
// measurements.
std::vector<CellPos> findPathReference(int startX, int startY, int goalX, int goalY);
