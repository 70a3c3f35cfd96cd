// "Run DEMO": the game-start sequence.
// Owns: startGame. Depends on: world/game_state.h, actors/entities.h, platform/platform.h.
#include "shell/game_start.h"

#include "actors/entities.h"
#include "platform/platform.h"
#include "world/game_state.h"

void startGame(const Variant& variant) {
  game.currentLevel = variant.level;
  platform::clearConsole();
  game.playerX = variant.startX;
  game.playerY = variant.startY;
  game.viewAngle = variant.startHeading;
  game.killTarget = variant.killTarget;
  game.playerDead = false;
  game.health = kStartHealth;
  // kills, the cool-down, the weapon image and the saved cursor carry over from the last game:
  // an end screen has already set kills back to 0.
  game.entities.clear();
  spawnEntities();
  game.appState = AppState::Playing;
}
