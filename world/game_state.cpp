// The storage of the one global game state.
// Owns: `game`. Depends on: world/game_state.h.
#include "world/game_state.h"

GameState game;
