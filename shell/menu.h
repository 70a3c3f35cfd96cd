// The main menu. Owns: runMenuPass. Depends on: world/game_state.h, shell/game_start.h,
// shell/present.h, platform/platform.h.
#pragma once

#include "variants/variant.h"

// One pass: title and entries at the top left, Up/Down move the "<--", Enter chooses.
void runMenuPass(const Variant& variant);
