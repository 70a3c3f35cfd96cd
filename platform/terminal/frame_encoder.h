// Encodes the console model for a terminal as the difference from what the terminal shows, a
// full block as a cell painted in its colour where the terminal can paint every colour.
// Owns: ShownScreen, the console-colour to SGR mapping. Depends on: platform/console_model.h.
// Pure: returns bytes, writes nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/console_model.h"

namespace term {

// What the terminal displays as far as the encoder knows. Sizes differing from the model's
// (for instance 0 after the window was resized) make the next update clear the screen first.
struct ShownScreen {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> chars;
  std::vector<uint8_t> attrs;
  int cursorX = -1;  // -1: unknown, the next cursor move is absolute
  int cursorY = -1;
  int pen = -1;               // the attribute new text gets; -1 unknown
  int cursorVisible = -1;     // -1 unknown
  bool synchronized = false;  // the terminal supports synchronized updates (mode 2026)
  // Full blocks go as spaces on a background of their colour: a font's block glyph may not
  // fill its cell (seams between blocks) and may be drawn two columns wide. Off where bright
  // backgrounds cannot be shown, so the glyph carries the colour.
  bool paintBlocks = true;
  // The model as last encoded: an idle menu re-writes the same text a hundred times a second,
  // and comparing against this copy is far cheaper than comparing cell by cell.
  ConsoleModel encoded;
};

// Whether blocks may be painted on the terminal TERM names (null when unset): everywhere but on
// the Linux console ("linux" and its variants), whose backgrounds have no bright colours.
bool paintsBlocks(const char* terminalName);

// Makes the terminal show the model: only changed cells, the cursor last. Updates `shown`.
// Returns "" when nothing differs.
std::string encodeUpdate(ShownScreen& shown, const ConsoleModel& console);

// Every cell written from a cleared screen: the cost a full repaint would have (measurements).
std::string encodeFullRepaint(const ConsoleModel& console);

}  // namespace term
