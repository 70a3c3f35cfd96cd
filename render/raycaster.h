// The wall raycaster: one ray per screen column, walls drawn as block outlines.
// Owns: castWalls. Depends on: world/game_state.h, world/level.h.
#pragma once

// Draws the walls into screenRows and fills depthBuffer (already sized to screenWidth).
void castWalls();
