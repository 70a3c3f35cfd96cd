// Running a variant headless: the game-start sequence, then frames driven by a script.
// Owns: ReplayOptions, runReplay. Depends on: tools/replay_script.h, variants/variant.h.
#pragma once

#include <iosfwd>

#include "tools/replay_script.h"
#include "variants/variant.h"

enum class PrintMode { All, Last, None };

struct ReplayOptions {
  const Variant* variant = nullptr;
  int width = 120;  // frame size, as the settings screen sets it
  int height = 40;
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
