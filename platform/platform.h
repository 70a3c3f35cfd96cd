// The platform contract: the console and input services the game relies on, as free functions.
// Owns: nothing but declarations. Each backend (scripted, terminal, win32) is a whole-file
// implementation chosen at link time; only the shell calls these.
#pragma once

#include <iosfwd>

namespace platform {

// Virtual-key codes of the keys the game reads (letters are their upper-case ASCII codes).
inline constexpr int kVkTab = 0x09;
inline constexpr int kVkReturn = 0x0D;
inline constexpr int kVkShift = 0x10;
inline constexpr int kVkSpace = 0x20;
inline constexpr int kVkUp = 0x26;
inline constexpr int kVkDown = 0x28;

// True while the key is down now. Like every query of a key, it also forgets an earlier press.
bool keyHeld(int virtualKey);
// True when the key was pressed since the previous query of it (by either function), as the
// console's asynchronous key state reports it.
bool keyPressedSinceLastQuery(int virtualKey);

struct ScreenPoint {
  int x;
  int y;
};
// The mouse pointer in screen pixels, and the monitor's width in the same pixels.
ScreenPoint pointerPosition();
void setPointerPosition(int x, int y);
int monitorWidth();

// Pauses the program; output written so far is on the console before the pause begins.
void sleepMs(int milliseconds);
// Waits at most maxMilliseconds, returning at once when input arrives (keeps an idle menu cool).
void waitForInput(int maxMilliseconds);

// The console screen buffer: a hidden text cursor, text at the cursor, rows written in place.
void hideCursor();
void setCursor(int column, int row);
std::ostream& consoleOut();  // text at the console cursor, in the current text colour
std::istream& consoleIn();   // the user's typed input
// Writes `length` bytes from column 0 of `row` onwards, wrapping onto following rows and
// stopping at the buffer's end; colours and the cursor are untouched.
void writeRow(int row, const char* bytes, int length);
// The whole-console effects of the command interpreter. Clearing blanks every cell in the text
// colour and puts the cursor at the top left ("cls"). Setting the colours (0..15 each) recolours
// every cell and the text written after ("color XY"); like the command interpreter, it refuses a
// foreground equal to the background, and ignores values outside 0..15.
void clearConsole();
void setConsoleColours(int background, int foreground);

// The console was closed (for example the user's input ended): leave cleanly, never return.
[[noreturn]] void closeConsole();

}  // namespace platform
