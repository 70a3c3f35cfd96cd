// Spawning entities from the level and sorting them into drawing order.
// Owns: spawnEntities, sortEntitiesForDrawing. Depends on: world/game_state.h, render/sprites.h
// (the images an entity points at).
#pragma once

// Appends one entity per "2", "3" or "4" cell of the current level, in row-major order.
void spawnEntities();
// Stable sort of the entities, farthest from the player first.
void sortEntitiesForDrawing();
