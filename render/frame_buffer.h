// The frame buffer: its sizing and clearing. Owns: resizeScreen, clearFrame,
// frameBufferMatchesScreen. Depends on: world/game_state.h. Writes bytes only; the shell presents.
#pragma once

// The settings screen takes widths and heights from 1 to this many cells.
inline constexpr int kLargestScreen = 512;

void resizeScreen();  // screenRows becomes screenHeight rows of screenWidth bytes
void clearFrame();    // every cell of the frame becomes a space
// The invariant whenever a frame runs: exactly screenHeight rows of exactly screenWidth bytes.
// Clearing, drawing and presenting index by the two screen fields, not by the rows' own sizes.
bool frameBufferMatchesScreen();
