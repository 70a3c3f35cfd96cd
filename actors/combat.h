// The player's hitscan shot.
// Owns: fireShot. Depends on: world/game_state.h, world/level.h, world/angles.h.
#pragma once

// Marches a point along the heading until a wall or an enemy; a hit kills, counts and, at the
// kill target, places the exit marker.
void fireShot();
