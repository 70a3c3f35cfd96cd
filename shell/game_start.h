// "Run DEMO": applies the build's variant and spawns a fresh game.
// Owns: startGame. Depends on: world/game_state.h, actors/entities.h, variants/variant.h.
#pragma once

#include "variants/variant.h"

void startGame(const Variant& variant);
