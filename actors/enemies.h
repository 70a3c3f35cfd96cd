// Enemy behaviour: sight, chase along grid routes, separation, attacks.
// Owns: updateEnemies, the keep-off distance. Depends on: world/game_state.h,
// world/walkability.h, actors/pathfinding.h.
#pragma once

// Nothing comes nearer an enemy than this: another enemy's chase step and the player's move both
// stop short of it. Compared squared, as the float product.
inline constexpr float kKeepOffDistance = 0.7f;
inline constexpr float kKeepOffSquared = kKeepOffDistance * kKeepOffDistance;

// Advances every enemy by one time step of dt seconds (the frame loop passes 0.04).
void updateEnemies(float dt);
