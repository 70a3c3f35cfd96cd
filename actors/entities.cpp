// Spawning the entity list from the current level and ordering it for drawing.
// Depends on: world/game_state.h (entities, currentLevel, player position), world/level.h.
#include "actors/entities.h"

#include <algorithm>
#include <cassert>
#include <string>

#include "world/game_state.h"
#include "world/level.h"

namespace {

Entity spawnedEntity(EntityKind kind, int column, int row, Sprite sprite) {
  return Entity{.kind = kind,
                .x = static_cast<float>(column) + 0.5f,
                .y = static_cast<float>(row) + 0.5f,
                .sprite = sprite};
}

float squaredDistanceToPlayer(const Entity& entity) {
  const float dx = entity.x - game.playerX;
  const float dy = entity.y - game.playerY;
  return dx * dx + dy * dy;
}

}  // namespace

void spawnEntities() {
  const Level& level = *game.currentLevel;
  assert(static_cast<size_t>(level.rowCount) == level.rows.size() &&
         "rowCount must be set from the rows when the level is built");
  // Stored characters, not cellAt: cellAt reads the enemy codes as floor.
  for (int row = 0; row < level.rowCount; ++row) {
    const std::string& text = level.rows[row];
    for (int column = 0; column < static_cast<int>(text.size()); ++column) {
      switch (text[column]) {
        case kEnemy2Cell:
          game.entities.push_back(spawnedEntity(EntityKind::Enemy, column, row, Sprite::Enemy2));
          break;
        case kPropCell:
          game.entities.push_back(spawnedEntity(EntityKind::Prop, column, row, Sprite::Object));
          break;
        case kEnemy4Cell:
          game.entities.push_back(spawnedEntity(EntityKind::Enemy, column, row, Sprite::Enemy4));
          break;
        default:
          break;
      }
    }
  }
}

void sortEntitiesForDrawing() {
  // Stable, so entities at equal distance keep last frame's order and the picture does not
  // flicker between them.
  std::stable_sort(game.entities.begin(), game.entities.end(),
                   [](const Entity& a, const Entity& b) {
                     return squaredDistanceToPlayer(a) > squaredDistanceToPlayer(b);
                   });
}
