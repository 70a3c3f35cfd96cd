// The distance field that findPath walks: for one level and one goal cell, the number of steps
// from every cell to the goal, kept while the level and the goal stay the same.
// Owns: RouteField, routeFieldFor, fieldIndex. Depends on: world/level.h, actors/cell_pos.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "actors/cell_pos.h"
#include "world/level.h"

// The grid is padded by a ring of closed cells, so that every neighbour of an open cell has an
// index and the route walk needs no bounds checks.
struct RouteField {
  std::vector<std::string> rows;  // the grid the field was computed on
  int32_t rowCount = 0;
  CellPos goal{0, 0};
  int64_t width = 0;           // the longest row plus the closed ring on both sides
  int64_t height = 0;          // rowCount plus the closed ring above and below
  std::vector<uint8_t> open;   // per padded cell: 1 where cellAt is no wall
  std::vector<int32_t> steps;  // per padded cell: steps to the goal, -1 where it is not reached
};

inline constexpr std::ptrdiff_t kOutsideField = -1;

// The padded index of cell (x, y), or kOutsideField when the cell lies beyond the ring (it is
// closed like every cell outside the grid).
std::ptrdiff_t fieldIndex(const RouteField& field, int64_t x, int64_t y);

// The field of `level` towards `goal`, which must be an open cell of it. Computed afresh only
// when the level or the goal differs from the previous call's.
const RouteField& routeFieldFor(const Level& level, CellPos goal);
