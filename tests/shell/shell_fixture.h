// Shared set-up for the shell tests: a fresh program with the scripted console.
// Owns: freshProgram, consoleRow, held-key helpers. Depends on: platform/scripted.h, shell.
#pragma once

#include <string>

#include "platform/scripted.h"
#include "shell/start_up.h"
#include "world/game_state.h"

// A fresh program at width x height on a console as large.
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
