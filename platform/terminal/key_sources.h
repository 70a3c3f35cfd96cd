// Where held keys come from, in order of preference: the kitty keyboard protocol, the X
// server's key state, the repeat lingers; TERMINAL_KEYS=kitty, x11 or linger forces one.
// Owns: KeySources. Depends on: key_tracker.h, x11_display.h.
#pragma once

#include <cstdint>

#include "platform/terminal/key_tracker.h"
#include "platform/terminal/x11_keys.h"

namespace term {

struct KeySources {
  bool kittyAllowed = true;
  bool xOpen = false;
  Focus reportedFocus = Focus::Unknown;  // the terminal's focus reports
  int64_t lastPollMs = -1;
};

// Reads TERMINAL_KEYS and connects to the X server unless told not to.
KeySources openKeySources(KeyTracker& keys);
// The X server's key state, read at most once per few milliseconds.
void pollKeySources(KeySources& sources, KeyTracker& keys, int64_t nowMs);
// A focus report from the terminal; losing the focus lets go of every key.
void noteFocusReport(KeySources& sources, KeyTracker& keys, bool gained);

}  // namespace term
