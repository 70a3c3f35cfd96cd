// Which keys are down, by virtual-key code: from the kitty protocol's press and release events,
// from the X server's key state polled alongside the terminal's keys, or from the terminal's
// keys and the times they arrived (lingers). Owns: KeyTracker. Depends on: input_decoder.h,
// repeat_timing.h, x11_keys.h. Pure: the caller passes the time in milliseconds.
#pragma once

#include <array>
#include <cstdint>

#include "platform/terminal/input_decoder.h"
#include "platform/terminal/repeat_timing.h"
#include "platform/terminal/x11_keys.h"

namespace term {

// Without release events a key counts as held until no repeat of it has come for a linger
// (repeat_timing.h). As the terminal repeats only the last key pressed, a new key ends the
// others' lingers.
struct KeyState {
  bool down = false;
  bool repeating = false;  // a repeat has come since the press (shorter linger)
  bool pressed = false;    // pressed since the last takeKeyPress
  bool unseen = false;     // pressed since the last queryKeyHeld: a tap between two polls counts
  int64_t lastEventMs = 0;
  bool seenUp = true;  // the X server showed the key up since its last counted press
};

struct KeyTracker {
  bool exact = false;  // the terminal reports presses, repeats and releases (kitty protocol)
  std::array<KeyState, kVirtualKeyCount> keys{};
  RepeatTiming repeat;
  bool serverKnown = false;  // the X server's key state is ours to read (we have the focus)
  KeySet serverDown;
  int serverMisses = 0;  // terminal repeats, in a row, of keys the server showed up
};

// The console's virtual-key code for a decoded key (letters upper-case), 0 for none.
int virtualKeyOf(int key);

void noteKeyEvent(KeyTracker& tracker, const InputEvent& event, int64_t nowMs);
bool isKeyHeld(const KeyTracker& tracker, int virtualKey, int64_t nowMs);
// As isKeyHeld, but a key pressed and already released since the previous query of it still
// counts once: release events can arrive in the same read as their press. It also clears the
// key's pressed flag, as every query of a key does on a console.
bool queryKeyHeld(KeyTracker& tracker, int virtualKey, int64_t nowMs);
// True once per press: clears the key's pressed flag.
bool takeKeyPress(KeyTracker& tracker, int virtualKey);
void forgetKeyPresses(KeyTracker& tracker);
// The X server's key state from a poll; known is false when it cannot be read as ours. A
// server that keeps showing up keys the terminal is repeating is not this keyboard's (a stale
// WINDOWID, another machine's display): from then on the lingers decide.
void noteServerKeys(KeyTracker& tracker, bool known, const KeySet& down);
// The terminal lost the keyboard focus: no key it held is held any more.
void releaseAllKeys(KeyTracker& tracker);

}  // namespace term
