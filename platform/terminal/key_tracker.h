// Which keys are down, by virtual-key code, from key events and the times they arrived.
// Owns: KeyTracker and the key-hold lingers. Depends on: input_decoder.h. Pure: the caller
// passes the time in milliseconds.
#pragma once

#include <array>
#include <cstdint>

#include "platform/terminal/input_decoder.h"

namespace term {

// Without release events a key counts as held until no repeat of it has come for a linger.
// The first must bridge the terminal's auto-repeat delay (500 ms on most desktops, so 550 ms
// leaves room for a loaded link); once repeats flow, at 25 to 33 a second, 100 ms bridges a
// late one while a released key stops within about six frames. As the terminal repeats only
// the last key pressed, a new key ends the others' lingers.
inline constexpr int64_t kFirstRepeatLingerMs = 550;
inline constexpr int64_t kRepeatLingerMs = 100;

struct KeyState {
  bool down = false;
  bool repeating = false;  // a repeat has come since the press (shorter linger)
  bool pressed = false;    // pressed since the last takeKeyPress
  bool unseen = false;     // pressed since the last queryKeyHeld: a tap between two polls counts
  int64_t lastEventMs = 0;
};

struct KeyTracker {
  bool exact = false;  // the terminal reports presses, repeats and releases (kitty protocol)
  std::array<KeyState, 256> keys{};
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

}  // namespace term
