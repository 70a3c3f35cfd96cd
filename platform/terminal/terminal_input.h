// What the terminal has told us about itself, the keys and the pointer, and what each of its
// replies and reports changes: which key protocol is in force (the kitty protocol once its flags
// are read back with release events, else win32-input-mode once its records come), the pixel
// mouse, the cell width, the focus. Owns: TerminalInput, KeyChoice, measureCells, noteReply,
// noteKey, steerWithArrows. Depends on: input_decoder.h, key_tracker.h, virtual_pointer.h. Pure:
// the OS part sends the answers and passes the time.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/terminal/input_decoder.h"
#include "platform/terminal/key_tracker.h"
#include "platform/terminal/virtual_pointer.h"

namespace term {

// A cell's width in pixels when the terminal tells no pixel size.
inline constexpr int kFallbackCellWidth = 8;

// The key sources a run may use: all of them, or the one TERMINAL_KEYS forces (the repeat
// lingers always remain the last resort).
struct KeyChoice {
  bool kitty = true;
  bool win32 = true;
  bool x11 = true;
};
// TERMINAL_KEYS's value (unset or empty: choose by itself); nothing for a value it cannot mean.
std::optional<KeyChoice> parseKeyChoice(const char* value);

enum class KittyStage { Asked, Pushed, Confirmed, Refused };

struct TerminalInput {
  KeyTracker keys;
  VirtualPointer pointer;
  KeyChoice choice;
  KittyStage kitty = KittyStage::Asked;
  bool win32Asked = false;          // win32-input-mode has been asked for
  bool win32InForce = false;        // its records have come (or the terminal said it is on)
  int attributesAwaited = 1;        // device-attribute queries sent and not yet answered
  bool attributesAnswered = false;  // the start-up queries are all answered
  bool pixelMouse = false;          // mouse reports come in pixels
  int columns = 80;
  int sizePixelWidth = 0;   // the window's width as the window size says, 0 if unknown
  int replyPixelWidth = 0;  // the window's width as the window-size reply says, 0 if none
  int cellWidth = kFallbackCellWidth;
  Focus reportedFocus = Focus::Unknown;  // the terminal's focus reports
};

// What the terminal is to be sent in answer to an event, as bits: push the kitty flags and read
// them back (with another device-attributes query behind), pop them again, switch on
// win32-input-mode and ask whether it is on, pixel mouse reports; and whether frames may use
// synchronized updates.
enum Answer : unsigned {
  kAnswerNone = 0,
  kPushKeyboard = 1,
  kPopKeyboard = 2,
  kAskWin32 = 4,
  kPixelMouse = 8,
  kSynchronizedOutput = 16,
};

// The queries that open a session, for the sources the choice allows.
std::string startQueries(const KeyChoice& choice);
// The window is `columns` cells and (if known, else 0) `pixelWidth` pixels wide.
void measureCells(TerminalInput& input, int columns, int pixelWidth);
// A reply to a start-up query, a mouse report or a focus report (losing the focus lets go of
// every key); key events go to noteKey.
unsigned noteReply(TerminalInput& input, const InputEvent& event, int64_t nowMs);
// A key event: switches key protocols where the event shows another in force, then holds keys.
unsigned noteKey(TerminalInput& input, const InputEvent& event, int64_t nowMs);
// Left and Right held turn the view by moving the pointer, once per reading of it (the page's
// console steers the same way).
void steerWithArrows(KeyTracker& keys, VirtualPointer& pointer, int64_t nowMs);

}  // namespace term
