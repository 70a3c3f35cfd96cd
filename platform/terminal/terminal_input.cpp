// The terminal's replies and reports, and the choice of key protocol. Depends on:
// terminal_input.h.
#include "platform/terminal/terminal_input.h"

namespace term {
namespace {

constexpr int kVkLeft = 0x25;
constexpr int kVkRight = 0x27;
constexpr int kPixelMouseMode = 1016;
constexpr int kSynchronizedOutputMode = 2026;
constexpr int kWin32InputMode = 9001;
// The kitty keyboard flag that says key releases are reported.
constexpr int kReportsReleases = 2;

// A mode report's state 1 to 3: set, reset or permanently set, so the mode exists.
bool supported(int modeState) {
  return modeState >= 1 && modeState <= 3;
}

void remeasure(TerminalInput& input) {
  const int pixelWidth = input.sizePixelWidth > 0 ? input.sizePixelWidth : input.replyPixelWidth;
  input.cellWidth = pixelWidth >= input.columns ? pixelWidth / input.columns : kFallbackCellWidth;
}

// The kitty protocol is not in force: undo its push, and ask for win32-input-mode instead.
unsigned refuseKitty(TerminalInput& input) {
  const bool pushed = input.kitty != KittyStage::Asked;
  input.kitty = KittyStage::Refused;
  unsigned answer = pushed ? kPopKeyboard : kAnswerNone;
  if (input.choice.win32 && !input.win32Asked) {
    input.win32Asked = true;
    answer |= kAskWin32;
  }
  return answer;
}

// The first answer to the flags query shows the protocol is spoken: push ours and read them
// back. The read-back shows whether the terminal really reports releases.
unsigned noteKittyFlags(TerminalInput& input, int flags, int64_t nowMs) {
  if (!input.choice.kitty) return kAnswerNone;
  if (input.kitty == KittyStage::Asked) {
    input.kitty = KittyStage::Pushed;
    ++input.attributesAwaited;
    return kPushKeyboard;
  }
  if (input.kitty != KittyStage::Pushed) return kAnswerNone;
  if (!(flags & kReportsReleases)) return refuseKitty(input);
  input.kitty = KittyStage::Confirmed;
  if (!input.win32InForce) takeOverKeys(input.keys, true, nowMs);
  return kAnswerNone;
}

// The last device-attributes reply: every reply that will come has come.
unsigned noteAttributes(TerminalInput& input) {
  if (input.attributesAwaited > 0 && --input.attributesAwaited > 0) return kAnswerNone;
  input.attributesAnswered = true;
  const bool undecided = input.kitty == KittyStage::Asked || input.kitty == KittyStage::Pushed;
  return undecided ? refuseKitty(input) : kAnswerNone;
}

unsigned noteModeReport(TerminalInput& input, const InputEvent& event, int64_t nowMs) {
  if (!supported(event.value)) return kAnswerNone;
  if (event.number == kPixelMouseMode && !input.pixelMouse) {
    input.pixelMouse = true;
    return kPixelMouse;
  }
  // Set or permanently set: records will come for every key from now on.
  const bool set = event.value == 1 || event.value == 3;
  if (event.number == kWin32InputMode && set && input.win32Asked && !input.win32InForce) {
    input.win32InForce = true;
    takeOverKeys(input.keys, true, nowMs);
  }
  return event.number == kSynchronizedOutputMode ? kSynchronizedOutput : kAnswerNone;
}

// A protocol that was in force has stopped: the lingers take over, and the next one is asked.
unsigned fallBack(TerminalInput& input, int64_t nowMs) {
  takeOverKeys(input.keys, false, nowMs);
  if (input.win32InForce) {
    input.win32InForce = false;
    input.choice.win32 = false;
    return kAnswerNone;
  }
  return refuseKitty(input);
}

}  // namespace

std::optional<KeyChoice> parseKeyChoice(const char* value) {
  const std::string_view name = value ? value : "";
  if (name.empty()) return KeyChoice{};
  if (name == "kitty") return KeyChoice{true, false, false};
  if (name == "win32") return KeyChoice{false, true, false};
  if (name == "x11") return KeyChoice{false, false, true};
  if (name == "linger") return KeyChoice{false, false, false};
  return std::nullopt;
}

std::string startQueries(const KeyChoice& choice) {
  // The kitty flags, SGR pixel mouse and synchronized output support, the window's pixel size,
  // and last the primary device attributes, which every terminal answers: once that reply is
  // in, every answer that will come has come.
  return std::string(choice.kitty ? "\x1b[?u" : "") + "\x1b[?1016$p\x1b[?2026$p\x1b[14t\x1b[c";
}

void measureCells(TerminalInput& input, int columns, int pixelWidth) {
  input.columns = columns;
  input.sizePixelWidth = pixelWidth;
  remeasure(input);
}

unsigned noteReply(TerminalInput& input, const InputEvent& event, int64_t nowMs) {
  switch (event.kind) {
    case EventKind::Key:
      return kAnswerNone;
    case EventKind::Focus:
      // Keys held when the focus went elsewhere (Alt+Tab) would never see their release.
      input.reportedFocus = event.number == 1 ? Focus::Ours : Focus::Elsewhere;
      if (input.reportedFocus == Focus::Elsewhere) releaseAllKeys(input.keys);
      return kAnswerNone;
    case EventKind::Mouse:
      if (input.pixelMouse) {
        notePointerReport(input.pointer, event.x - 1, event.y - 1);
      } else {
        // Cells are about twice as tall as wide; only x turns the view.
        notePointerReport(input.pointer, (event.x - 1) * input.cellWidth,
                          (event.y - 1) * input.cellWidth * 2);
      }
      return kAnswerNone;
    case EventKind::KeyboardFlags:
      return noteKittyFlags(input, event.number, nowMs);
    case EventKind::DeviceAttributes:
      return noteAttributes(input);
    case EventKind::ModeReport:
      return noteModeReport(input, event, nowMs);
    case EventKind::WindowPixels:
      if (event.x > 0) {
        input.replyPixelWidth = event.x;
        remeasure(input);
      }
      return kAnswerNone;
  }
  return kAnswerNone;
}

unsigned noteKey(TerminalInput& input, const InputEvent& event, int64_t nowMs) {
  unsigned answer = kAnswerNone;
  if (event.form == KeyForm::Win32Record && input.choice.win32 && !input.win32InForce) {
    // Records come (asked for, or a mode an earlier program left on): they hold keys exactly
    // from this one on, whichever protocol was in force before.
    input.win32InForce = true;
    takeOverKeys(input.keys, true, nowMs);
  } else if (input.keys.exact && event.form == KeyForm::Text &&
             isGameKey(virtualKeyOf(event.key))) {
    // A game key in the form every terminal sends: the protocol in force is not after all.
    answer = fallBack(input, nowMs);
  }
  noteKeyEvent(input.keys, event, nowMs);
  return answer;
}

void steerWithArrows(KeyTracker& keys, VirtualPointer& pointer, int64_t nowMs) {
  if (queryKeyHeld(keys, kVkLeft, nowMs)) nudgePointer(pointer, -kArrowPixelsPerFrame);
  if (queryKeyHeld(keys, kVkRight, nowMs)) nudgePointer(pointer, kArrowPixelsPerFrame);
}

}  // namespace term
