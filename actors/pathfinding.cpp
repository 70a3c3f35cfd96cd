// Routes read off a distance field: from the start, repeatedly the first neighbour in the
// neighbour order that may be entered and lies one step nearer the goal. Among the shortest
// routes that is the one the plain breadth-first search returns, since its queue reaches every
// cell first along the route that is first in neighbour order.
// Depends on: actors/pathfinding.h, actors/route_field.h, world/game_state.h (currentLevel),
// world/level.h.
#include <cstddef>

#include "actors/pathfinding.h"
#include "actors/route_field.h"
#include "world/game_state.h"

namespace {

bool isOpen(const RouteField& field, int64_t x, int64_t y) {
  const std::ptrdiff_t index = fieldIndex(field, x, y);
  return index != kOutsideField && field.open[static_cast<size_t>(index)];
}

// The route's second cell and its steps to the goal (-1: no route). The start need not be open,
// nor even near the grid, so it is looked at with bounds checks: of the neighbours it may enter,
// the first in order among those nearest the goal.
int32_t firstStep(const RouteField& field, CellPos start, CellPos& next) {
  int32_t nearest = -1;
  for (const CellPos& step : kNeighbourSteps) {
    const int64_t x = int64_t{start.x} + step.x;
    const int64_t y = int64_t{start.y} + step.y;
    if (!isOpen(field, x, y)) continue;
    if (step.x != 0 && step.y != 0 && (!isOpen(field, x, start.y) || !isOpen(field, start.x, y))) {
      continue;
    }
    const int32_t steps = field.steps[static_cast<size_t>(fieldIndex(field, x, y))];
    if (steps < 0 || (nearest >= 0 && steps >= nearest)) continue;
    nearest = steps;
    next = CellPos{static_cast<int32_t>(x), static_cast<int32_t>(y)};
  }
  return nearest;
}

// From an open cell of the field, on to the goal. The closed ring round the grid keeps every
// neighbour index inside the field.
void walkToGoal(const RouteField& field, CellPos from, std::vector<CellPos>& route) {
  CellPos cell = from;
  std::ptrdiff_t index = fieldIndex(field, cell.x, cell.y);
  for (int32_t steps = field.steps[static_cast<size_t>(index)]; steps > 0; --steps) {
    for (const CellPos& step : kNeighbourSteps) {
      const std::ptrdiff_t next = index + step.x + step.y * field.width;
      if (field.steps[static_cast<size_t>(next)] != steps - 1) continue;
      if (step.x != 0 && step.y != 0 &&
          (!field.open[static_cast<size_t>(index + step.x)] ||
           !field.open[static_cast<size_t>(index + step.y * field.width)])) {
        continue;
      }
      index = next;
      cell = CellPos{cell.x + step.x, cell.y + step.y};
      break;
    }
    route.push_back(cell);
  }
}

// A goal on a closed cell can never be entered, so no field is needed to know there is no route.
const RouteField* fieldTowards(CellPos goal) {
  const Level& level = *game.currentLevel;
  if (cellAt(level, goal.x, goal.y) == kWallCell) return nullptr;
  return &routeFieldFor(level, goal);
}

}  // namespace

std::vector<CellPos> findPath(int startX, int startY, int goalX, int goalY) {
  const CellPos start{startX, startY};
  const CellPos goal{goalX, goalY};
  if (start == goal) return {start};
  const RouteField* field = fieldTowards(goal);
  if (field == nullptr) return {};
  CellPos second{};
  const int32_t remaining = firstStep(*field, start, second);
  if (remaining < 0) return {};
  std::vector<CellPos> route;
  route.reserve(static_cast<size_t>(remaining) + 2);
  route.push_back(start);
  route.push_back(second);
  walkToGoal(*field, second, route);
  return route;
}

bool findRouteStep(int startX, int startY, int goalX, int goalY, CellPos& next) {
  const CellPos start{startX, startY};
  const CellPos goal{goalX, goalY};
  if (start == goal) return false;
  const RouteField* field = fieldTowards(goal);
  return field != nullptr && firstStep(*field, start, next) >= 0;
}
