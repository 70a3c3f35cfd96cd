// The X server behind the terminal, reached through libX11 loaded at run time so that the
// programs start and play on machines without it. Owns: the one display connection.
// Depends on: x11_keys.h.
#pragma once

#include "platform/terminal/x11_keys.h"

namespace term {

// Connects to the display that DISPLAY names, if libX11 loads and the server answers; the
// terminal's window is WINDOWID's. False when there is no display whose keys are the terminal's.
bool openXDisplay();

struct XKeyboardState {
  Focus focus = Focus::Unknown;
  KeySet down;  // the game's keys down now; empty unless the focus is ours
};
// reportedFocus is the terminal's own word (focus reports), taken where the server's focus
// cannot be judged.
XKeyboardState readXKeyboard(Focus reportedFocus);

// The server's auto-repeat delay and interval in milliseconds; false when it does not say.
bool readXRepeatRate(int& delayMs, int& intervalMs);

}  // namespace term
