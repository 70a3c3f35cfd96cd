// The player's hitscan shot: kills the first enemy on the line of fire and opens the exit at the
// kill target. Depends on: world/game_state.h, world/level.h (cellAt, cell codes),
// world/angles.h.
#include "actors/combat.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "world/angles.h"
#include "world/game_state.h"
#include "world/level.h"

namespace {

constexpr float kStepLength = 0.1f;
constexpr float kTravelLimit = 999.0f;
constexpr float kHitHalfSize = 0.25f;

bool isHitBy(const Entity& entity, float x, float y) {
  return entity.kind == EntityKind::Enemy && std::fabs(entity.x - x) < kHitHalfSize &&
         std::fabs(entity.y - y) < kHitHalfSize;
}

// The marker goes on the first stored exit cell in row-major order; a level without one never
// opens.
void placeExitMarker() {
  const Level& level = *game.currentLevel;
  for (int row = 0; row < level.rowCount; ++row) {
    const std::string& text = level.rows[row];
    const size_t column = text.find(kExitCell);
    if (column == std::string::npos) continue;
    game.entities.push_back(Entity{.kind = EntityKind::ExitMarker,
                                   .x = static_cast<float>(column) + 0.5f,
                                   .y = static_cast<float>(row) + 0.5f,
                                   .sprite = Sprite::Exit});
    return;
  }
}

}  // namespace

void fireShot() {
  const float heading = radians(game.viewAngle);
  const float stepX = static_cast<float>(std::cos(static_cast<double>(heading))) * kStepLength;
  const float stepY = static_cast<float>(std::sin(static_cast<double>(heading))) * kStepLength;

  // The player's own position is never tested: the first point lies one step ahead.
  float x = game.playerX;
  float y = game.playerY;
  float travelled = 0.0f;
  auto target = game.entities.end();
  do {
    travelled += kStepLength;
    x += stepX;
    y += stepY;
    if (cellAt(*game.currentLevel, static_cast<int>(x), static_cast<int>(y)) == kWallCell) return;
    // The list is in draw order, farthest first, so of two enemies in the box the farther dies.
    target = std::find_if(game.entities.begin(), game.entities.end(),
                          [x, y](const Entity& entity) { return isHitBy(entity, x, y); });
  } while (target == game.entities.end() && kTravelLimit > travelled);
  if (target == game.entities.end()) return;

  game.kills += 1;
  game.entities.erase(target);
  if (game.kills >= game.killTarget) placeExitMarker();
}
