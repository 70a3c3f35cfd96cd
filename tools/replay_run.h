// Running a variant headless: the game-start sequence, then frames driven by a script.
// Owns: ReplayOptions, runReplay. Depends on: tools/replay_script.h, variants/variant.h,
// world/game_state.h (the start-up size).
#pragma once

#include <iosfwd>

#include "tools/replay_script.h"
#include "variants/variant.h"
#include "world/game_state.h"

enum class PrintMode { All, Last, None };

struct ReplayOptions {
  const Variant* variant = nullptr;
  // The frame size, as the settings screen sets it; at first the programs' own.
  int width = GameState{}.screenWidth;
  int height = GameState{}.screenHeight;
  long long frames = 1;
  PrintMode print = PrintMode::Last;
  ReplayScript script;
};

// Runs the frames (stopping after the frame in which the game ends) and writes the printed
// frames and the closing state line to `out`. The mouse starts at (960, 540) on a monitor 1920
// pixels wide.
void runReplay(const ReplayOptions& options, std::ostream& out);

// The closing line: "state playerX=... appState=... levelComplete=...".
std::string describeState();
