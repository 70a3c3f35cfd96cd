// The frame invariants of the soak: the frame buffer as large as the screen says, health that
// falls only in the 10s of landed attacks, kills within the target, one entity gone per kill and
// the exit marker once the exit opens, and nobody standing inside a wall.
// Depends on: soak_checks.h, render/frame_buffer.h, world/game_state.h, world/level.h.
#include "tools/soak/soak_checks.h"

#include <cmath>
#include <string>

#include "render/frame_buffer.h"
#include "world/game_state.h"

namespace {

std::string frameBufferProblem() {
  const int width = game.screenWidth;
  const int height = game.screenHeight;
  const std::string size = std::to_string(width) + "x" + std::to_string(height);
  if (width < 1 || width > kLargestScreen || height < 1 || height > kLargestScreen) {
    return "screen size " + size + " beyond what the settings screen takes";
  }
  if (!frameBufferMatchesScreen()) return "the frame buffer is not " + size;
  if (game.depthBuffer.size() != static_cast<size_t>(width)) {
    return "depth buffer holds " + std::to_string(game.depthBuffer.size()) + " columns";
  }
  return "";
}

// Attacking enemies stand still, so a swing that landed in this frame is found at the place its
// enemy stood before. A swing can also land and end in one frame, or its enemy be shot after it
// landed; those are allowed for but not seen, so the count seen is a lower bound.
std::string healthProblem(const FrameBefore& before) {
  const int fall = before.health - game.health;
  if (fall < 0 || fall % 10 != 0) {
    return "health went from " + std::to_string(before.health) + " to " +
           std::to_string(game.health);
  }
  size_t seen = 0;
  for (const Entity& swing : before.swinging) {
    for (const Entity& entity : game.entities) {
      if (entity.kind == EntityKind::Enemy && entity.state == EnemyState::Attack &&
          entity.attackLanded && entity.x == swing.x && entity.y == swing.y) {
        ++seen;
        break;
      }
    }
  }
  const size_t landed = static_cast<size_t>(fall / 10);
  if (landed < seen || landed > before.swinging.size()) {
    return "health fell by " + std::to_string(fall) + " with " + std::to_string(seen) +
           " attacks seen landing of " + std::to_string(before.swinging.size()) + " swinging";
  }
  return "";
}

std::string countProblem(const GameRecord& record, const FrameBefore& before) {
  if (game.kills < before.kills || game.kills > before.kills + 1) {
    return "kills went from " + std::to_string(before.kills) + " to " + std::to_string(game.kills);
  }
  if (game.kills > game.killTarget) {
    return "kills " + std::to_string(game.kills) + " beyond the target " +
           std::to_string(game.killTarget);
  }
  size_t markers = 0;
  for (const Entity& entity : game.entities) markers += entity.kind == EntityKind::ExitMarker;
  const size_t open = game.kills >= game.killTarget ? 1 : 0;
  const size_t expected = record.spawned - static_cast<size_t>(game.kills) + open;
  if (markers != open || game.entities.size() != expected) {
    return std::to_string(game.entities.size()) + " entities and " + std::to_string(markers) +
           " exit markers after " + std::to_string(game.kills) + " kills of " +
           std::to_string(record.spawned) + " spawned; expected " + std::to_string(expected);
  }
  return "";
}

std::string placeProblem() {
  const Level& level = *game.currentLevel;
  if (!std::isfinite(game.playerX) || !std::isfinite(game.playerY) ||
      !std::isfinite(game.viewAngle)) {
    return "player position or heading is not finite";
  }
  const char under = cellAt(level, static_cast<int>(game.playerX), static_cast<int>(game.playerY));
  if (under != kFloorCell && under != kExitCell) {
    return "player stands on a '" + std::string(1, under) + "' cell";
  }
  for (const Entity& entity : game.entities) {
    if (!std::isfinite(entity.x) || !std::isfinite(entity.y) ||
        cellAt(level, static_cast<int>(entity.x), static_cast<int>(entity.y)) == kWallCell) {
      return "an entity stands in a wall at (" + std::to_string(entity.x) + ", " +
             std::to_string(entity.y) + ")";
    }
  }
  return "";
}

}  // namespace

FrameBefore noteBeforeFrame() {
  FrameBefore before{game.health, game.kills, {}};
  for (const Entity& entity : game.entities) {
    if (entity.kind == EntityKind::Enemy && entity.state == EnemyState::Attack &&
        !entity.attackLanded) {
      before.swinging.push_back(entity);
    }
  }
  return before;
}

std::string checkAfterFrame(const GameRecord& record, const FrameBefore& before) {
  std::string problem = frameBufferProblem();
  if (problem.empty()) problem = healthProblem(before);
  if (problem.empty()) problem = placeProblem();
  if (problem.empty() && game.appState == AppState::Playing) {
    problem = countProblem(record, before);
  }
  return problem;
}
