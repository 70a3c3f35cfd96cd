// The three compiled-in level grids and the shared cell lookup.
// Owns: Level, levelA/levelB/levelC, cellAt. Depends on: nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One grid of cell codes: row index is y, character index within the row is x.
// Rows may differ in length; every lookup bounds x by the length of the row it reads.
struct Level {
  std::vector<std::string> rows;
  int32_t rowCount;  // set once from rows.size() when the level is built
};

extern const Level levelA;  // played by marbek
extern const Level levelB;  // played by tolvan
extern const Level levelC;  // played by ziravo

// Builds a level from its row texts, top row first (also used by tests for hand-made grids).
Level makeLevel(std::vector<std::string> rows);

// The stored character, except: '1' outside the grid, ' ' for the enemy spawn codes '2' and '4'.
char cellAt(const Level& level, int x, int y);
