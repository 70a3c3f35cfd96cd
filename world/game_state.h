// The one global game state that every subsystem reads and writes.
// Owns: GameState, AppState, the global `game`. Depends on: world/level.h, world/entity.h.
// It sits at the bottom of the dependency graph so that the shell, actors and renderer can all
// reach it without depending on one another.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "world/entity.h"
#include "world/level.h"

// The health every game starts with.
inline constexpr int32_t kStartHealth = 100;

enum class AppState : int32_t { Menu = 0, Settings = 1, Playing = 2 };

struct CursorPoint {
  int32_t x = 0;
  int32_t y = 0;
};

// Field initialisers are the values at program start. Each comment names who writes the field.
struct GameState {
  float playerX = 4.0f;                 // game start; movement in the frame loop
  float playerY = 11.0f;                // game start; movement in the frame loop
  int32_t health = kStartHealth;        // game start; landed enemy attacks subtract 10
  const Level* currentLevel = &levelC;  // game start (the build's level); never null
  int32_t screenHeight = 40;            // settings screen; 1..512
  int32_t screenWidth = 120;            // settings screen; 1..512
  float viewAngle = 180.0f;             // degrees; game start, mouse look, normalisation
  int32_t weaponFrame = 1;              // 1 idle, 2 firing, else none; shot and cool-down steps
  bool playerDead = false;              // frame loop sets; game start clears
  bool levelComplete = false;           // movement onto the open exit sets; every menu pass clears
  bool widthAccepted = false;           // settings screen only; false outside the dialogue
  int32_t fireCooldown = 0;             // frames until the next shot; frame loop
  int32_t killTarget = 0;               // game start (the build's value)
  int32_t kills = 0;                    // the shot adds 1; both end screens reset to 0
  AppState appState = AppState::Menu;   // menu, settings screen, end screens
  CursorPoint savedCursor;              // start-up reads it; mouse look stores each reading
  int32_t menuSelection = 0;            // 0 "Run DEMO", 2 "Settings"; menu pass
  std::vector<Entity> entities;         // spawning, the shot; reordered by the draw sort
  std::vector<float> depthBuffer;       // resized by the frame loop, filled by the raycaster
  std::vector<std::string> screenRows;  // frame buffer: screenHeight rows of screenWidth bytes
};

extern GameState game;

// The only solid glyph: the full block of code page 437.
inline constexpr char kBlock = '\xDB';
