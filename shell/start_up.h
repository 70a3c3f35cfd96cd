// Start-up of a fresh program. Owns: startUp. Depends on: world/game_state.h, render (frame
// buffer, sprites), shell/present.h, platform/platform.h.
#pragma once

// Every game-state field at its start value and the random sequence as never seeded; then the
// weapon images, the hidden text cursor, the pointer's place saved for mouse look, and the frame
// buffer sized to width x height (the program starts at 120 x 40; tools and tests that start many
// programs in one process choose their size, as the settings screen would).
void startUp(int width, int height);
