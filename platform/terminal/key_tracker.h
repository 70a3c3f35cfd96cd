// Which keys are down, by virtual-key code: from the kitty protocol's press and release events
// or win32-input-mode's down and up records, from the X server's key state polled alongside the
// terminal's keys, or from the terminal's keys and the times they arrived (lingers). A key that
// was already down when its source took over is no press until it has been seen up.
// Owns: KeyTracker. Depends on: input_decoder.h, repeat_timing.h, x11_keys.h. Pure: the caller
// passes the time in milliseconds.
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
  // Seen up (a release, or the X server showing it up) since its last counted press, or since
  // its source took over.
  bool seenUp = true;
  // Its first key-down after a source took over came while it may have been held all along:
  // it is a press only if no repeat follows at once (a held key repeats at the interval).
  bool doubtful = false;
  int64_t doubtfulMs = 0;
};

struct KeyTracker {
  bool exact = false;  // the terminal reports every key going down and up (kitty, win32 records)
  // When the keys' source last took over; until a held key would have repeated, a key-down
  // with no press before it may be that key's repeat.
  int64_t sinceMs = -(int64_t{1} << 40);
  std::array<KeyState, kVirtualKeyCount> keys{};
  RepeatTiming repeat;
  bool serverKnown = false;  // the X server's key state is ours to read (we have the focus)
  KeySet serverDown;
  int serverMisses = 0;  // terminal repeats, in a row, of keys the server showed up
};

// The console's virtual-key code for a decoded key (letters upper-case), 0 for none.
int virtualKeyOf(int key);
// W A S D, Shift, Space, Tab, Enter and the arrows.
bool isGameKey(int virtualKey);

// A source takes over the keys (at start-up, or the terminal switching protocols): every key
// is let go, and a key still held counts as pressed only once it has been seen up.
void takeOverKeys(KeyTracker& tracker, bool exact, int64_t nowMs);

void noteKeyEvent(KeyTracker& tracker, const InputEvent& event, int64_t nowMs);
bool isKeyHeld(const KeyTracker& tracker, int virtualKey, int64_t nowMs);
// As isKeyHeld, but a key pressed and already released since the previous query of it still
// counts once: release events can arrive in the same read as their press. It also clears the
// key's pressed flag, as every query of a key does on a console.
bool queryKeyHeld(KeyTracker& tracker, int virtualKey, int64_t nowMs);
// True once per press: clears the key's pressed flag.
bool takeKeyPress(KeyTracker& tracker, int virtualKey, int64_t nowMs);
void forgetKeyPresses(KeyTracker& tracker);
// The X server's key state from a poll; known is false when it cannot be read as ours. A
// server that keeps showing up keys the terminal is repeating is not this keyboard's (a stale
// WINDOWID, another machine's display): from then on the lingers decide.
void noteServerKeys(KeyTracker& tracker, bool known, const KeySet& down);
// The terminal lost the keyboard focus: no key it held is held any more.
void releaseAllKeys(KeyTracker& tracker);

}  // namespace term
