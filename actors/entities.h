// Spawning entities from the level and sorting them into drawing order.
// Owns: spawnEntities, sortEntitiesForDrawing. Depends on: world/game_state.h, world/level.h.
#pragma once

// Appends one entity per enemy or prop cell of the current level, in row-major order.
void spawnEntities();
// Stable sort of the entities, farthest from the player first.
void sortEntitiesForDrawing();
