// The soak player's choices. Owns: steerSoakPlayer. Depends on: world/game_state.h, world/angles.h,
// actors/pathfinding.h (findRouteStep), platform/scripted.h.
#include "tools/soak/soak_player.h"

#include <cmath>

#include "actors/pathfinding.h"
#include "platform/platform.h"
#include "platform/scripted.h"
#include "world/angles.h"
#include "world/game_state.h"

namespace {

// Degrees to turn from the current heading to face (x, y), in -180..180.
float turnTowards(float x, float y) {
  const float wanted =
      static_cast<float>(std::atan2(y - game.playerY, x - game.playerX) * 180.0 / kPi);
  float turn = std::fmod(wanted - game.viewAngle, 360.0f);
  if (turn > 180.0f) turn -= 360.0f;
  if (turn < -180.0f) turn += 360.0f;
  return turn;
}

// The line from the player to (x, y) crosses no wall cell.
bool inClearSight(float x, float y) {
  const float dx = x - game.playerX;
  const float dy = y - game.playerY;
  const int steps = static_cast<int>(std::sqrt(dx * dx + dy * dy) * 20.0f) + 1;
  for (int k = 1; k <= steps; ++k) {
    const int cellX = static_cast<int>(game.playerX + dx * static_cast<float>(k) / steps);
    const int cellY = static_cast<int>(game.playerY + dy * static_cast<float>(k) / steps);
    if (cellAt(*game.currentLevel, cellX, cellY) == kWallCell) return false;
  }
  return true;
}

}  // namespace

void steerSoakPlayer() {
  const Entity* nearest = nullptr;
  float nearestSquared = 0.0f;
  float goalX = game.playerX;
  float goalY = game.playerY;
  for (const Entity& entity : game.entities) {
    if (entity.kind == EntityKind::ExitMarker && nearest == nullptr) {
      goalX = entity.x;
      goalY = entity.y;
    }
    if (entity.kind != EntityKind::Enemy) continue;
    const float dx = entity.x - game.playerX;
    const float dy = entity.y - game.playerY;
    if (nearest == nullptr || dx * dx + dy * dy < nearestSquared) {
      nearest = &entity;
      nearestSquared = dx * dx + dy * dy;
      goalX = entity.x;
      goalY = entity.y;
    }
  }
  float turn = 0.0f;
  bool walk = false;
  bool fire = false;
  if (nearest != nullptr && inClearSight(goalX, goalY)) {
    turn = turnTowards(goalX, goalY);
    fire = std::fabs(turn) < 1.0f;
  } else {
    CellPos next{};
    if (findRouteStep(static_cast<int>(game.playerX), static_cast<int>(game.playerY),
                      static_cast<int>(goalX), static_cast<int>(goalY), next)) {
      goalX = static_cast<float>(next.x) + 0.5f;
      goalY = static_cast<float>(next.y) + 0.5f;
    }
    turn = turnTowards(goalX, goalY);
    walk = std::fabs(turn) < 20.0f;
  }
  scripted::setKeyHeld('W', walk);
  scripted::setKeyHeld(platform::kVkSpace, fire);
  scripted::moveCursor(static_cast<int>(std::lround(turn * 10.0f)), 0);
}
