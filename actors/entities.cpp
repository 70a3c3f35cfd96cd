// Spawning the entity list from the current level and ordering it for drawing.
// Depends on: world/game_state.h (entities, currentLevel, player position), render/sprites.h.
#include "actors/entities.h"

#include <algorithm>
#include <cassert>
#include <string>

#include "render/sprites.h"
#include "world/game_state.h"

namespace {

Entity spawnedEntity(EntityKind kind, int column, int row, ImageRows image, int32_t width,
                     int32_t height) {
  return Entity{.kind = kind,
                .x = static_cast<float>(column) + 0.5f,
                .y = static_cast<float>(row) + 0.5f,
                .image = image,
                .imageWidth = width,
                .imageHeight = height};
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
        case '2':
          game.entities.push_back(
              spawnedEntity(EntityKind::Enemy, column, row, enemyImage2, 16, 17));
          break;
        case '3':
          // Declared one column wider than the rows: the last sampled column is transparent.
          game.entities.push_back(spawnedEntity(EntityKind::Prop, column, row, objectImage, 12, 9));
          break;
        case '4':
          game.entities.push_back(
              spawnedEntity(EntityKind::Enemy, column, row, enemyImage4, 16, 13));
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
