// How long a key without release events counts as held after its last event: learned from the
// terminal's own auto-repeat (the delay before the first repeat, then the interval), or taken
// from the X server's repeat settings. Owns: RepeatTiming. Depends on: nothing. Pure: the
// caller passes the time in milliseconds.
#pragma once

#include <cstdint>

namespace term {

// Until the delay is known the first linger must bridge the slowest common first-repeat delay
// (X's default is 660 ms); until the interval is known, 100 ms bridges a late repeat.
inline constexpr int64_t kUnknownFirstLingerMs = 700;
inline constexpr int64_t kUnknownRepeatLingerMs = 100;
// A known delay or interval is bridged with this much to spare: a repeat read one or two frames
// late still holds the key, and a release is seen within the interval plus a frame.
inline constexpr int64_t kFirstLingerMarginMs = 32;
inline constexpr int64_t kRepeatLingerMarginMs = 16;

struct RepeatTiming {
  int64_t delayMs = 0;  // 0: not known yet
  int64_t intervalMs = 0;
  // The key being held now: when it was pressed, its first repeat, its latest event.
  int64_t pressMs = 0;
  int64_t firstRepeatMs = 0;
  int64_t lastMs = 0;
  int repeats = 0;
};

int64_t firstRepeatLinger(const RepeatTiming& timing);
int64_t repeatLinger(const RepeatTiming& timing);
// The X server's repeat settings, in milliseconds; values it could not mean are ignored.
void noteServerRepeat(RepeatTiming& timing, int delayMs, int intervalMs);
// A key event without release events: a new press, or another event of the key held.
void noteRepeatEvent(RepeatTiming& timing, bool newPress, int64_t nowMs);

}  // namespace term
