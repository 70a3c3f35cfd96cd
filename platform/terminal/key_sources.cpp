// Polling the X server's key state. Depends on: key_sources.h, x11_display.h.
#include "platform/terminal/key_sources.h"

#include "platform/terminal/x11_display.h"

namespace term {
namespace {

// A frame reads many keys within a millisecond or two: one server round trip serves them all.
constexpr int64_t kPollIntervalMs = 4;

}  // namespace

KeySources openKeySources(KeyTracker& keys, bool x11Allowed) {
  KeySources sources;
  sources.xOpen = x11Allowed && openXDisplay();
  int delayMs = 0, intervalMs = 0;
  if (sources.xOpen && readXRepeatRate(delayMs, intervalMs)) {
    noteServerRepeat(keys.repeat, delayMs, intervalMs);
  }
  return sources;
}

void pollKeySources(KeySources& sources, KeyTracker& keys, Focus reportedFocus, int64_t nowMs) {
  if (!sources.xOpen || keys.exact || nowMs - sources.lastPollMs < kPollIntervalMs) return;
  sources.lastPollMs = nowMs;
  const XKeyboardState state = readXKeyboard(reportedFocus);
  if (state.focus == Focus::Elsewhere) releaseAllKeys(keys);
  noteServerKeys(keys, state.focus != Focus::Unknown, state.down);
}

}  // namespace term
