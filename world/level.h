// The three compiled-in level grids, their cell codes and the shared cell lookup.
// Owns: Level, the cell codes, levelA/levelB/levelC, makeLevel, cellAt. Depends on: nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The cell codes a level's rows are written in; any other character is open floor as well.
inline constexpr char kWallCell = '1';
inline constexpr char kFloorCell = ' ';
inline constexpr char kEnemy2Cell = '2';  // floor where an enemy of the first kind spawns
inline constexpr char kPropCell = '3';
inline constexpr char kEnemy4Cell = '4';  // floor where an enemy of the second kind spawns
inline constexpr char kExitCell = '5';    // where the exit marker appears once it opens

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

// The stored character, except: a wall outside the grid, floor for the enemy spawn codes.
char cellAt(const Level& level, int x, int y);
