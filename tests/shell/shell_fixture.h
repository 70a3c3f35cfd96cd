// Shared set-up for the shell tests: a fresh program with the scripted console.
// Owns: freshProgram, consoleRow, held-key helpers. Depends on: platform/scripted.h, shell.
#pragma once

#include <string>

#include "actors/runtime_random.h"
#include "platform/scripted.h"
#include "render/frame_buffer.h"
#include "render/sprites.h"
#include "world/game_state.h"

// As at program start: every field at its start value, a 120 x 40 console, the frame buffer
// sized, the weapon images loaded, the random sequence as never seeded.
inline void freshProgram(int width = 120, int height = 40) {
  resetRuntimeRand();
  game = GameState{};
  scripted::reset(width, height);
  game.screenWidth = width;
  game.screenHeight = height;
  resizeScreen();
  setUpSprites();
}

inline std::string consoleRow(int y) {
  return std::string(rowText(scripted::console(), y));
}

inline int countPauses(int milliseconds) {
  int count = 0;
  for (int pause : scripted::pauses()) count += pause == milliseconds;
  return count;
}
