// The half-cell walkability test used by the enemies' separation push.
// Owns: isBlocked. Depends on: world/level.h, world/game_state.h (currentLevel).
#pragma once

// True when a body reaching half a cell from (x, y) along either axis would touch a "1" cell or
// leave the grid of the current level.
bool isBlocked(float x, float y);
