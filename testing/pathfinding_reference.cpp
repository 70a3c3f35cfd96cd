// The plain breadth-first route search with an ordered map: the reference that findPath must
// match route for route; the game itself calls findPath.
// Owns: findPathReference. Depends on: world/game_state.h (currentLevel), world/level.h (cellAt).
#include <algorithm>
#include <cstdint>
#include <deque>
#include <map>

#include "testing/pathfinding_reference.h"
#include "world/game_state.h"

namespace {

constexpr CellPos kNoParent{-1, -1};

// The order in which a cell's neighbours are tried decides every tie between routes of equal
// length: east, west, south, north, then south-east, south-west, north-east, north-west (rows
// grow southwards). Written out here rather than shared with the game, so that a slip in the
// game's own order shows as a different route.
constexpr int kStepOrder[8][2] = {{1, 0}, {-1, 0}, {0, 1},  {0, -1},
                                  {1, 1}, {-1, 1}, {1, -1}, {-1, -1}};

// Coordinates are widened: a start at the edge of the int range has neighbours beyond it,
// which lie outside every grid.
bool isClosed(const Level& level, int64_t x, int64_t y) {
  if (x < INT32_MIN || x > INT32_MAX || y < INT32_MIN || y > INT32_MAX) return true;
  return cellAt(level, static_cast<int>(x), static_cast<int>(y)) == kWallCell;
}

}  // namespace

std::vector<CellPos> findPathReference(int startX, int startY, int goalX, int goalY) {
  const Level& level = *game.currentLevel;
  const CellPos start{startX, startY};
  const CellPos goal{goalX, goalY};

  std::deque<CellPos> frontier{start};
  std::map<CellPos, CellPos> parentOf{{start, kNoParent}};
  while (!frontier.empty()) {
    const CellPos cell = frontier.front();
    frontier.pop_front();
    if (cell == goal) break;
    for (const auto [dx, dy] : kStepOrder) {
      const int64_t nextX = int64_t{cell.x} + dx;
      const int64_t nextY = int64_t{cell.y} + dy;
      if (isClosed(level, nextX, nextY)) continue;
      // A diagonal step may not cut past the corner of a closed cell.
      const bool diagonal = dx != 0 && dy != 0;
      if (diagonal && (isClosed(level, nextX, cell.y) || isClosed(level, cell.x, nextY))) {
        continue;
      }
      const CellPos next{static_cast<int32_t>(nextX), static_cast<int32_t>(nextY)};
      if (parentOf.contains(next)) continue;
      parentOf.emplace(next, cell);
      frontier.push_back(next);
    }
  }

  if (!parentOf.contains(goal)) return {};
  // Walk back until the start itself rather than until a coordinate of -1: a start outside the
  // grid may have one, and must still head its route.
  std::vector<CellPos> route;
  for (CellPos cell = goal;; cell = parentOf.at(cell)) {
    route.push_back(cell);
    if (cell == start) break;
  }
  std::reverse(route.begin(), route.end());
  return route;
}
