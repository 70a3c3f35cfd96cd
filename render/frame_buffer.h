// The frame buffer and its presentation on the console.
// Owns: resizeScreen, clearFrame, presentFrame, hideConsoleCursor, homeConsoleCursor.
// Depends on: world/game_state.h, platform/platform.h (this is the frame presenter).
#pragma once

void resizeScreen();       // screenRows becomes screenHeight rows of screenWidth bytes
void clearFrame();         // every cell of the frame becomes a space
void presentFrame();       // the rows go to the console, one write per row, then a 16 ms pause
void hideConsoleCursor();  // the console cursor becomes invisible
void homeConsoleCursor();  // the console cursor goes to column 0, row 0
