// Key holding: exact with release events or the X server's key state, by repeat lingers
// without them. Depends on: key_tracker.h.
#include "platform/terminal/key_tracker.h"

namespace term {
namespace {

// A real auto-repeat sends a dozen repeats a second; a tap or two between polls never three.
constexpr int kServerMissesToDoubt = 3;
constexpr int kVkBackspace = 0x08;
constexpr int kVkTab = 0x09;
constexpr int kVkReturn = 0x0D;
constexpr int kVkShift = 0x10;
constexpr int kVkEscape = 0x1B;
constexpr int kVkLeft = 0x25;
constexpr int kVkUp = 0x26;
constexpr int kVkRight = 0x27;
constexpr int kVkDown = 0x28;

bool lingering(const KeyTracker& tracker, const KeyState& state, int64_t nowMs) {
  if (!state.down) return false;
  const int64_t linger =
      state.repeating ? repeatLinger(tracker.repeat) : firstRepeatLinger(tracker.repeat);
  return nowMs - state.lastEventMs < linger;
}

// A doubtful key-down that no repeat followed at once was a press after all.
void settle(const KeyTracker& tracker, KeyState& state, int64_t nowMs) {
  if (state.doubtful && nowMs - state.doubtfulMs >= repeatLinger(tracker.repeat)) {
    state.doubtful = false;
    state.pressed = true;
  }
}

// Whether a key-down the terminal sent is a new press: the X server's key state says so where
// it is read; the kitty protocol says so itself; otherwise a key-down of a key not held is one,
// unless the key may have been held since before its source took over.
bool isNewPress(KeyTracker& tracker, KeyState& state, const InputEvent& event, bool wasHeld,
                int64_t nowMs) {
  if (tracker.serverKnown && !tracker.exact) return state.seenUp;
  if (wasHeld) {
    state.doubtful = false;  // a repeat at once: the key was held all along
    return false;
  }
  // A kitty repeat with no press before it (a press lost to a focus change, a key held before
  // the protocol was on) holds the key but is no press.
  if (tracker.exact && event.form != KeyForm::Win32Record) return event.action == KeyAction::Press;
  if (state.seenUp || nowMs - tracker.sinceMs >= firstRepeatLinger(tracker.repeat)) return true;
  state.doubtful = true;
  state.doubtfulMs = nowMs;
  return false;
}

void noteDown(KeyTracker& tracker, int virtualKey, const InputEvent& event, int64_t nowMs) {
  KeyState& state = tracker.keys[virtualKey];
  const bool wasHeld = tracker.exact ? state.down : lingering(tracker, state, nowMs);
  settle(tracker, state, nowMs);
  const bool newPress = isNewPress(tracker, state, event, wasHeld, nowMs);
  state.pressed = state.pressed || newPress;
  // With the X server's key state a terminal key is held only by the server's word; elsewhere
  // a key going down is held at least until the next query, however soon it comes up.
  if (newPress || (!wasHeld && (tracker.exact || !tracker.serverKnown))) state.unseen = true;
  state.repeating = wasHeld && !tracker.exact;
  if (tracker.serverKnown && !tracker.exact) {
    tracker.serverMisses = wasHeld && state.seenUp ? tracker.serverMisses + 1 : 0;
    if (tracker.serverMisses >= kServerMissesToDoubt) tracker.serverKnown = false;
  }
  state.seenUp = false;
  state.down = true;
  state.lastEventMs = nowMs;
}

}  // namespace

int virtualKeyOf(int key) {
  if (key >= 'a' && key <= 'z') return key - 'a' + 'A';
  if ((key >= '0' && key <= '9') || key == ' ') return key;
  switch (key) {
    case kKeyEnter:
      return kVkReturn;
    case kKeyTab:
      return kVkTab;
    case kKeyBackspace:
      return kVkBackspace;
    case kKeyEscape:
      return kVkEscape;
    case kKeyShift:
      return kVkShift;
    case kKeyUp:
      return kVkUp;
    case kKeyDown:
      return kVkDown;
    case kKeyLeft:
      return kVkLeft;
    case kKeyRight:
      return kVkRight;
  }
  return 0;
}

bool isGameKey(int virtualKey) {
  switch (virtualKey) {
    case 'W':
    case 'A':
    case 'S':
    case 'D':
    case kVkShift:
    case ' ':
    case kVkTab:
    case kVkReturn:
    case kVkLeft:
    case kVkUp:
    case kVkRight:
    case kVkDown:
      return true;
  }
  return false;
}

void takeOverKeys(KeyTracker& tracker, bool exact, int64_t nowMs) {
  tracker.exact = exact;
  tracker.sinceMs = nowMs;
  for (KeyState& state : tracker.keys) {
    state.down = state.repeating = state.doubtful = false;
    state.seenUp = false;
  }
}

void noteKeyEvent(KeyTracker& tracker, const InputEvent& event, int64_t nowMs) {
  if (event.kind != EventKind::Key) return;
  const int virtualKey = virtualKeyOf(event.key);
  if (event.action == KeyAction::Release) {
    tracker.keys[virtualKey].down = false;
    tracker.keys[virtualKey].seenUp = true;
    return;
  }
  if (tracker.exact) {
    if (virtualKey != 0) noteDown(tracker, virtualKey, event, nowMs);
    return;
  }
  // Without the kitty protocol Shift is seen only through the keys typed with it.
  if (event.modifiers & kModShift) {
    noteDown(tracker, kVkShift, event, nowMs);
  } else {
    tracker.keys[kVkShift].down = false;
  }
  if (virtualKey == 0) return;
  noteRepeatEvent(tracker.repeat, !lingering(tracker, tracker.keys[virtualKey], nowMs), nowMs);
  // The terminal repeats only the last key pressed, so a key still lingering from before can
  // no longer be told held; dropping it keeps a menu arrow from bouncing back.
  for (int other = 0; other < static_cast<int>(tracker.keys.size()); ++other) {
    if (other != virtualKey && other != kVkShift) tracker.keys[other].down = false;
  }
  noteDown(tracker, virtualKey, event, nowMs);
}

bool isKeyHeld(const KeyTracker& tracker, int virtualKey, int64_t nowMs) {
  if (virtualKey < 0 || virtualKey >= static_cast<int>(tracker.keys.size())) return false;
  const KeyState& state = tracker.keys[virtualKey];
  if (tracker.exact) return state.down;
  return tracker.serverKnown ? tracker.serverDown[virtualKey] : lingering(tracker, state, nowMs);
}

bool queryKeyHeld(KeyTracker& tracker, int virtualKey, int64_t nowMs) {
  if (virtualKey < 0 || virtualKey >= static_cast<int>(tracker.keys.size())) return false;
  settle(tracker, tracker.keys[virtualKey], nowMs);
  const bool unseen = tracker.keys[virtualKey].unseen;
  tracker.keys[virtualKey].unseen = false;
  // Like the console's key state, any query of a key forgets an earlier press of it.
  tracker.keys[virtualKey].pressed = false;
  return unseen || isKeyHeld(tracker, virtualKey, nowMs);
}

bool takeKeyPress(KeyTracker& tracker, int virtualKey, int64_t nowMs) {
  if (virtualKey < 0 || virtualKey >= static_cast<int>(tracker.keys.size())) return false;
  settle(tracker, tracker.keys[virtualKey], nowMs);
  const bool pressed = tracker.keys[virtualKey].pressed;
  tracker.keys[virtualKey].pressed = false;
  return pressed;
}

void forgetKeyPresses(KeyTracker& tracker) {
  for (KeyState& state : tracker.keys) state.pressed = state.unseen = state.doubtful = false;
}

void noteServerKeys(KeyTracker& tracker, bool known, const KeySet& down) {
  // A key already down when the server's word starts to count (the first polls, the focus
  // coming back) is no press: it may be the Enter that started the program.
  const bool takingOver = !tracker.serverKnown;
  tracker.serverKnown = known && tracker.serverMisses < kServerMissesToDoubt;
  tracker.serverDown = known ? down : KeySet{};
  // A press counts once, whether the server or the terminal shows it first.
  for (int virtualKey = 0; virtualKey < kVirtualKeyCount; ++virtualKey) {
    KeyState& state = tracker.keys[virtualKey];
    if (tracker.serverDown[virtualKey] && state.seenUp && !takingOver) state.pressed = true;
    state.seenUp = !tracker.serverDown[virtualKey];
  }
}

void releaseAllKeys(KeyTracker& tracker) {
  for (KeyState& state : tracker.keys) state.down = false;
  tracker.serverDown.reset();
}

}  // namespace term
