// What must hold after every frame of a soaked game. Owns: GameRecord, FrameBefore,
// noteBeforeFrame, checkAfterFrame. Depends on: world/game_state.h.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "world/entity.h"

// Fixed when a game starts.
struct GameRecord {
  size_t spawned = 0;  // entities the game started with, props included
};

// What the checks compare a frame's result with.
struct FrameBefore {
  int health = 0;
  int kills = 0;
  // Enemies in an attack that has not landed yet: each may land once in the coming frame.
  std::vector<Entity> swinging;
};

FrameBefore noteBeforeFrame();

// Empty when everything holds after the frame; otherwise what broke. The counts of kills and
// entities are checked only while the game goes on, since an end screen resets the kills.
std::string checkAfterFrame(const GameRecord& record, const FrameBefore& before);
