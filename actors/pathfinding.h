// Breadth-first grid routes between cells of the current level (eight neighbours).
// Owns: CellPos, findPath. Depends on: world/game_state.h, world/level.h.
#pragma once

#include <cstdint>
#include <vector>

struct CellPos {
  int32_t x;  // column
  int32_t y;  // row
  friend bool operator==(const CellPos&, const CellPos&) = default;
  friend auto operator<=>(const CellPos&, const CellPos&) = default;  // x first, then y
};

// A shortest route from start to goal, both included, or empty when the goal cannot be reached.
std::vector<CellPos> findPath(int startX, int startY, int goalX, int goalY);
