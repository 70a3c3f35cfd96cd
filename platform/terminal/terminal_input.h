// What the terminal has told us about itself, the keys and the pointer, and what each of its
// replies and reports changes. Owns: TerminalInput, measureCells, noteReply, steerWithArrows.
// Depends on: input_decoder.h, key_tracker.h, virtual_pointer.h. Pure: the OS part sends the
// answers and passes the time.
#pragma once

#include <cstdint>

#include "platform/terminal/input_decoder.h"
#include "platform/terminal/key_tracker.h"
#include "platform/terminal/virtual_pointer.h"

namespace term {

// A cell's width in pixels when the terminal tells no pixel size.
inline constexpr int kFallbackCellWidth = 8;

struct TerminalInput {
  KeyTracker keys;
  VirtualPointer pointer;
  bool attributesAnswered = false;  // the last start-up query is answered: all replies are in
  bool pixelMouse = false;          // mouse reports come in pixels
  int columns = 80;
  int sizePixelWidth = 0;   // the window's width as the window size says, 0 if unknown
  int replyPixelWidth = 0;  // the window's width as the window-size reply says, 0 if none
  int cellWidth = kFallbackCellWidth;
};

// What the terminal is to be sent in answer to an event.
enum class Answer { None, PushKeyboard, PixelMouse, SynchronizedOutput };

// The window is `columns` cells and (if known, else 0) `pixelWidth` pixels wide.
void measureCells(TerminalInput& input, int columns, int pixelWidth);
// A reply to a start-up query, or a mouse report; key events go to the key tracker.
Answer noteReply(TerminalInput& input, const InputEvent& event);
// Left and Right held turn the view by moving the pointer, once per reading of it (the page's
// console steers the same way).
void steerWithArrows(KeyTracker& keys, VirtualPointer& pointer, int64_t nowMs);

}  // namespace term
