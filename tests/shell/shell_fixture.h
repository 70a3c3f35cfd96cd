// Shared set-up for the shell tests: a fresh program on the scripted console.
// Owns: freshProgram, consoleRow, countPauses. Depends on: platform/scripted.h, shell/start_up.h,
// world/game_state.h.
#pragma once

#include <string>

#include "platform/scripted.h"
#include "shell/start_up.h"
#include "world/game_state.h"

inline void freshProgram(int width = 120, int height = 40) {
  scripted::reset(width, height);
  startUp(width, height);
}

inline std::string consoleRow(int y) {
  return std::string(rowText(scripted::console(), y));
}

inline int countPauses(int milliseconds) {
  int count = 0;
  for (int pause : scripted::pauses()) count += pause == milliseconds;
  return count;
}
