// Learning the terminal's auto-repeat from the events it sends. Depends on: repeat_timing.h.
#include "platform/terminal/repeat_timing.h"

#include <algorithm>

namespace term {
namespace {

// Bounds of a believable repeat delay and interval; anything else is a lost or doubled event.
constexpr int64_t kShortestDelayMs = 100;
constexpr int64_t kLongestDelayMs = 2000;
constexpr int64_t kShortestIntervalMs = 5;
constexpr int64_t kLongestIntervalMs = 500;

bool believable(int64_t delayMs, int64_t intervalMs) {
  return delayMs >= kShortestDelayMs && delayMs <= kLongestDelayMs &&
         intervalMs >= kShortestIntervalMs && intervalMs <= kLongestIntervalMs &&
         intervalMs < delayMs;
}

}  // namespace

int64_t firstRepeatLinger(const RepeatTiming& timing) {
  return timing.delayMs > 0 ? timing.delayMs + kFirstLingerMarginMs : kUnknownFirstLingerMs;
}

int64_t repeatLinger(const RepeatTiming& timing) {
  return timing.intervalMs > 0 ? timing.intervalMs + kRepeatLingerMarginMs : kUnknownRepeatLingerMs;
}

void noteServerRepeat(RepeatTiming& timing, int delayMs, int intervalMs) {
  if (!believable(delayMs, intervalMs)) return;
  timing.delayMs = delayMs;
  timing.intervalMs = intervalMs;
}

void noteRepeatEvent(RepeatTiming& timing, bool newPress, int64_t nowMs) {
  if (newPress) {
    timing.pressMs = nowMs;
    timing.repeats = 0;
  } else if (++timing.repeats == 1) {
    timing.firstRepeatMs = nowMs;
  } else {
    // Two quick presses look like a press and a repeat: only repeats coming faster than the
    // first gap show that gap was the terminal's delay.
    const int64_t delay = timing.firstRepeatMs - timing.pressMs;
    const int64_t gap = nowMs - timing.lastMs;
    if (believable(delay, gap) && gap * 2 < delay) {
      if (timing.repeats == 2) timing.delayMs = delay;
      // A running mean; one repeat held up by a busy machine moves it only a little.
      timing.intervalMs = timing.intervalMs == 0
                              ? gap
                              : (timing.intervalMs * 3 + std::min(gap, timing.intervalMs * 2)) / 4;
    }
  }
  timing.lastMs = nowMs;
}

}  // namespace term
