// A finished frame on the console, and the console's text cursor.
// Owns: presentFrame, hideConsoleCursor, homeConsoleCursor. Depends on: world/game_state.h,
// render/frame_buffer.h (its invariant), platform/platform.h.
#pragma once

void presentFrame();       // the rows go to the console, one write per row, then a 16 ms pause
void hideConsoleCursor();  // the console cursor becomes invisible
void homeConsoleCursor();  // the console cursor goes to column 0, row 0
