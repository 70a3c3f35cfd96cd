// The soak's player: it reads the game state and chooses one frame's input the way a person
// would, so that whole games are played and won through the real input path.
// Owns: steerSoakPlayer. Depends on: world/game_state.h, actors/pathfinding.h,
// platform/scripted.h.
#pragma once

// Sets W, Space and the mouse for the next frame: aims at the nearest enemy in sight and fires,
// otherwise walks the grid route towards it, or to the exit marker once no enemy is left.
void steerSoakPlayer();
