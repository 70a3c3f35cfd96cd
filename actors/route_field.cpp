// Distance fields for routes: a breadth-first pass outward from the goal over the open cells,
// reused while every chasing enemy asks for a route to the same player cell.
// Depends on: actors/route_field.h, world/level.h (cellAt, the shipped levels).
#include "actors/route_field.h"

#include <algorithm>
#include <iterator>

namespace {

// One field is kept: within a frame every route leads to the player's cell.
RouteField keptField;
const Level* keptLevel = nullptr;
std::vector<std::ptrdiff_t> frontier;

// The shipped levels are constant for the whole run, so their address names their contents. A
// hand-made level (tests build them) can be changed in place, or a new one can be built where an
// old one was, so it must match by contents.
bool stillDescribesLevel(const Level& level) {
  if (keptLevel != &level) return false;
  if (&level == &levelA || &level == &levelB || &level == &levelC) return true;
  return keptField.rowCount == level.rowCount && keptField.rows == level.rows;
}

void markOpenCells(RouteField& field, const Level& level) {
  size_t longest = 0;
  for (const std::string& row : level.rows) longest = std::max(longest, row.size());
  field.width = static_cast<int64_t>(longest) + 2;
  field.height = int64_t{level.rowCount} + 2;
  field.open.assign(static_cast<size_t>(field.width * field.height), 0);
  for (int32_t y = 0; y < level.rowCount; ++y) {
    const auto length = static_cast<int32_t>(level.rows[static_cast<size_t>(y)].size());
    for (int32_t x = 0; x < length; ++x) {
      field.open[static_cast<size_t>(fieldIndex(field, x, y))] = cellAt(level, x, y) != kWallCell;
    }
  }
}

// Moves between open cells are allowed both ways or neither (a diagonal cuts past the same two
// cells in either direction), so steps outward from the goal are the steps back to it.
void measureFromGoal(RouteField& field) {
  std::ptrdiff_t offsets[std::size(kNeighbourSteps)];
  for (size_t k = 0; k < std::size(kNeighbourSteps); ++k) {
    offsets[k] = kNeighbourSteps[k].x + kNeighbourSteps[k].y * field.width;
  }
  field.steps.assign(field.open.size(), -1);
  const std::ptrdiff_t goal = fieldIndex(field, field.goal.x, field.goal.y);
  field.steps[static_cast<size_t>(goal)] = 0;
  frontier.assign(1, goal);
  for (size_t head = 0; head < frontier.size(); ++head) {
    const std::ptrdiff_t cell = frontier[head];
    const int32_t nextSteps = field.steps[static_cast<size_t>(cell)] + 1;
    for (size_t k = 0; k < std::size(kNeighbourSteps); ++k) {
      const auto next = static_cast<size_t>(cell + offsets[k]);
      if (!field.open[next] || field.steps[next] >= 0) continue;
      const CellPos step = kNeighbourSteps[k];
      if (step.x != 0 && step.y != 0 &&
          (!field.open[static_cast<size_t>(cell + step.x)] ||
           !field.open[static_cast<size_t>(cell + step.y * field.width)])) {
        continue;
      }
      field.steps[next] = nextSteps;
      frontier.push_back(static_cast<std::ptrdiff_t>(next));
    }
  }
}

}  // namespace

std::ptrdiff_t fieldIndex(const RouteField& field, int64_t x, int64_t y) {
  if (x < -1 || y < -1 || x > field.width - 2 || y > field.height - 2) return kOutsideField;
  return static_cast<std::ptrdiff_t>((y + 1) * field.width + (x + 1));
}

const RouteField& routeFieldFor(const Level& level, CellPos goal) {
  // The open cells depend on the level only; the steps are measured again for a new goal.
  if (!stillDescribesLevel(level)) {
    keptLevel = &level;
    keptField.rows = level.rows;
    keptField.rowCount = level.rowCount;
    markOpenCells(keptField, level);
  } else if (keptField.goal == goal) {
    return keptField;
  }
  keptField.goal = goal;
  measureFromGoal(keptField);
  return keptField;
}
