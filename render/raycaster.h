// The wall raycaster: one ray per screen column, walls drawn as block outlines.
// Owns: castWalls, the field of view. Depends on: world/game_state.h, world/level.h.
#pragma once

// The view's width in degrees, the same for walls and billboards.
inline constexpr float kFieldOfViewDegrees = 60.0f;

// Draws the walls into screenRows and fills depthBuffer (already sized to screenWidth).
void castWalls();
