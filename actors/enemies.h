// Enemy behaviour: sight, chase along grid routes, separation, attacks.
// Owns: updateEnemies. Depends on: world/game_state.h, world/walkability.h,
// actors/pathfinding.h.
#pragma once

// Advances every enemy by one time step of dt seconds (the frame loop passes 0.04).
void updateEnemies(float dt);
