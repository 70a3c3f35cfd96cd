// The X server's key state as a source of held keys, polled where no key protocol is in force
// and the terminal's focus can be told. Owns: KeySources. Depends on: key_tracker.h,
// x11_keys.h, x11_display.h.
#pragma once

#include <cstdint>

#include "platform/terminal/key_tracker.h"
#include "platform/terminal/x11_keys.h"

namespace term {

struct KeySources {
  bool xOpen = false;
  int64_t lastPollMs = -1;
};

// Connects to the X server when it may be used, and learns its auto-repeat.
KeySources openKeySources(KeyTracker& keys, bool x11Allowed);
// The X server's key state, read at most once per few milliseconds; the terminal's focus
// reports decide where the server cannot tell whose the focus is.
void pollKeySources(KeySources& sources, KeyTracker& keys, Focus reportedFocus, int64_t nowMs);

}  // namespace term
