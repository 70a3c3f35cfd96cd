// Grid cells as routes name them, and the order in which a route search tries a cell's
// neighbours. Owns: CellPos, kNeighbourSteps. Depends on: nothing.
#pragma once

#include <cstdint>

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
