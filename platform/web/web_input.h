// What the page's key, focus and pointer events do to the state the game polls, and how the
// console grid grows to hold the picture. Owns: WebInput, the start-up grid and the monitor the
// game is shown. Depends on: platform/console_model.h and the terminal's key tracker, line
// editor and virtual pointer. Pure: the browser part passes the events in.
#pragma once

#include <string_view>

#include "platform/console_model.h"
#include "platform/terminal/input_decoder.h"
#include "platform/terminal/key_tracker.h"
#include "platform/terminal/line_editor.h"
#include "platform/terminal/virtual_pointer.h"

namespace web {

// The start-up picture of 120 x 40 cells and a row below it, so that text ending on the
// picture's last row never scrolls it.
inline constexpr int kStartColumns = 120;
inline constexpr int kStartRows = 41;
// A page cannot see the monitor, and under Pointer Lock the pointer has no position: the game is
// shown a monitor of this size with the pointer resting in its middle, moved by movementX.
inline constexpr int kMonitorWidth = 1920;
inline constexpr int kMonitorHeight = 1080;

struct WebInput {
  term::KeyTracker keys;  // exact: a page reports every press, repeat and release
  term::VirtualPointer pointer;
  term::LineEditor editor;
  bool editing = false;  // a typed line is being read
  term::LineStatus lineStatus = term::LineStatus::Editing;
};

WebInput makeWebInput();

// The key a KeyboardEvent.code names, numbered as the terminal's decoder numbers keys; the
// physical key counts, so W A S D stay where they are on every keyboard layout.
int keyOfCode(std::string_view code);

// A keydown (KeyAction::Repeat when it auto-repeats) or keyup. `text` is the printable ASCII
// character the key types on the user's layout, 0 if none; `modifiers` as term::kMod*. While a
// line is read the key also edits it, echoed into the console.
void noteKey(WebInput& input, ConsoleModel& console, std::string_view code, int text,
             term::KeyAction action, int modifiers);
// The page lost the focus: no release will come for the keys held, so all are let go.
void noteFocusLoss(WebInput& input);
// Horizontal movement under Pointer Lock, in CSS pixels.
void notePointerMovement(WebInput& input, int dx);

// Starts reading a typed line; the caller feeds keys until lineStatus is Finished.
void startLine(WebInput& input);

// Grows the console (never shrinks it) so that `length` bytes written at `row` fit on that one
// row with a row to spare below: the grid always holds the whole picture.
void fitConsole(ConsoleModel& console, int row, int length);

}  // namespace web
