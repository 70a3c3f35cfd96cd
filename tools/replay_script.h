// The replay tool's input script: per line, how many frames run with which keys held and how far
// the mouse moves before each. Owns: ReplayStep, parseReplayScript. Depends on: nothing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct ReplayStep {
  long long frames = 0;
  std::vector<int> keys;  // virtual-key codes held during these frames
  int mouseDx = 0;        // cursor x movement before each of these frames, pixels
};

using ReplayScript = std::vector<ReplayStep>;

// Lines: `COUNT [KEY ...] [dx=INT]`, KEY one of W A S D SHIFT SPACE TAB; empty lines and lines
// starting with '#' are skipped. On a bad line returns false with a one-line message naming it.
bool parseReplayScript(std::string_view text, ReplayScript& script, std::string& error);
