// The state of a Windows-style console screen buffer, shared by the scripted and terminal
// backends. Owns: ConsoleModel and the operations that change it. Depends on: nothing.
// Pure: no I/O; the terminal backend renders it, tests read it back.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

// Attribute byte as on the console: background in the high nibble, foreground in the low one.
inline constexpr uint8_t kDefaultAttribute = 0x07;

struct ConsoleModel {
  int width = 0;
  int height = 0;
  std::vector<char> chars;     // width * height bytes, row-major
  std::vector<uint8_t> attrs;  // one attribute per cell
  int cursorX = 0;
  int cursorY = 0;
  bool cursorVisible = true;
  uint8_t textAttribute = kDefaultAttribute;  // attribute given to newly written text
};

// A buffer of the given size filled with spaces in the default attribute, cursor at (0, 0).
ConsoleModel makeConsole(int width, int height);
// Keeps the overlapping top-left part; new cells are blank; the cursor is clamped inside.
void resizeConsole(ConsoleModel& console, int width, int height);

char charAt(const ConsoleModel& console, int x, int y);
uint8_t attributeAt(const ConsoleModel& console, int x, int y);
// Row y as text (tests and tools).
std::string_view rowText(const ConsoleModel& console, int y);

// Text at the cursor in the text attribute: wraps at the row end, '\n' starts the next row,
// '\r' returns to column 0, '\b' moves one column back; past the bottom the buffer scrolls up.
void writeText(ConsoleModel& console, std::string_view text);
// Characters only, from column 0 of row y, continuing onto the following rows; stops at the end.
void writeRow(ConsoleModel& console, int y, const char* bytes, int length);
void setCursor(ConsoleModel& console, int x, int y);  // clamped inside the buffer
// "cls": every cell blank in the text attribute, the cursor home.
void clearConsole(ConsoleModel& console);
// The attribute of "color XY": background X and foreground Y, each 0..15 and not equal (the
// command interpreter refuses equal colours rather than making the text invisible).
std::optional<uint8_t> colourAttribute(int background, int foreground);
// "color XY": every cell and the text written after get colourAttribute's value; a refused
// pair changes nothing.
void setConsoleColours(ConsoleModel& console, int background, int foreground);
