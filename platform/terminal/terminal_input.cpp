// The terminal's replies and reports. Depends on: terminal_input.h.
#include "platform/terminal/terminal_input.h"

namespace term {
namespace {

constexpr int kVkLeft = 0x25;
constexpr int kVkRight = 0x27;
constexpr int kPixelMouseMode = 1016;
constexpr int kSynchronizedOutputMode = 2026;

// A mode report's state 1 to 3: set, reset or permanently set, so the mode exists.
bool supported(int modeState) {
  return modeState >= 1 && modeState <= 3;
}

void remeasure(TerminalInput& input) {
  const int pixelWidth = input.sizePixelWidth > 0 ? input.sizePixelWidth : input.replyPixelWidth;
  input.cellWidth = pixelWidth >= input.columns ? pixelWidth / input.columns : kFallbackCellWidth;
}

}  // namespace

void measureCells(TerminalInput& input, int columns, int pixelWidth) {
  input.columns = columns;
  input.sizePixelWidth = pixelWidth;
  remeasure(input);
}

Answer noteReply(TerminalInput& input, const InputEvent& event) {
  switch (event.kind) {
    case EventKind::Key:
    case EventKind::Focus:
      return Answer::None;
    case EventKind::Mouse:
      if (input.pixelMouse) {
        notePointerReport(input.pointer, event.x - 1, event.y - 1);
      } else {
        // Cells are about twice as tall as wide; only x turns the view.
        notePointerReport(input.pointer, (event.x - 1) * input.cellWidth,
                          (event.y - 1) * input.cellWidth * 2);
      }
      return Answer::None;
    case EventKind::KeyboardFlags:
      if (input.keys.exact) return Answer::None;
      // Keys lingering from legacy input would never see their release.
      input.keys = KeyTracker{};
      input.keys.exact = true;
      return Answer::PushKeyboard;
    case EventKind::DeviceAttributes:
      input.attributesAnswered = true;
      return Answer::None;
    case EventKind::ModeReport:
      if (!supported(event.value)) return Answer::None;
      if (event.number == kPixelMouseMode && !input.pixelMouse) {
        input.pixelMouse = true;
        return Answer::PixelMouse;
      }
      return event.number == kSynchronizedOutputMode ? Answer::SynchronizedOutput : Answer::None;
    case EventKind::WindowPixels:
      if (event.x > 0) {
        input.replyPixelWidth = event.x;
        remeasure(input);
      }
      return Answer::None;
  }
  return Answer::None;
}

void steerWithArrows(KeyTracker& keys, VirtualPointer& pointer, int64_t nowMs) {
  if (queryKeyHeld(keys, kVkLeft, nowMs)) nudgePointer(pointer, -kArrowPixelsPerFrame);
  if (queryKeyHeld(keys, kVkRight, nowMs)) nudgePointer(pointer, kArrowPixelsPerFrame);
}

}  // namespace term
