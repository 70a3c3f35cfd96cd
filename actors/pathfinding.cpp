// Breadth-first routes over the eight neighbours of a cell of the current level.
// Depends on: world/game_state.h (currentLevel), world/level.h (cellAt).
#include "actors/pathfinding.h"

#include <algorithm>
#include <deque>
#include <map>

#include "world/game_state.h"

namespace {

// Orthogonal steps come first so that, among routes of equal length, straight ones win.
constexpr CellPos kNeighbourSteps[] = {{1, 0}, {-1, 0}, {0, 1},  {0, -1},
                                       {1, 1}, {-1, 1}, {1, -1}, {-1, -1}};

constexpr CellPos kNoParent{-1, -1};

bool isClosed(const Level& level, int x, int y) {
  return cellAt(level, x, y) == '1';
}

}  // namespace

std::vector<CellPos> findPath(int startX, int startY, int goalX, int goalY) {
  const Level& level = *game.currentLevel;
  const CellPos start{startX, startY};
  const CellPos goal{goalX, goalY};

  std::deque<CellPos> frontier{start};
  std::map<CellPos, CellPos> parentOf{{start, kNoParent}};
  while (!frontier.empty()) {
    const CellPos cell = frontier.front();
    frontier.pop_front();
    if (cell == goal) break;
    for (const CellPos& step : kNeighbourSteps) {
      const CellPos next{cell.x + step.x, cell.y + step.y};
      if (isClosed(level, next.x, next.y)) continue;
      // A diagonal step may not cut past the corner of a closed cell.
      const bool diagonal = step.x != 0 && step.y != 0;
      if (diagonal && (isClosed(level, next.x, cell.y) || isClosed(level, cell.x, next.y))) {
        continue;
      }
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
