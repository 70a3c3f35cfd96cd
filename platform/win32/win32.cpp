// The Windows backend of the platform contract: the real console and input services.
// Owns: the platform functions on Windows. Depends on: platform/platform.h,
// platform/console_model.h (the colour rule), kernel32 and user32.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <optional>

#include "platform/console_model.h"
#include "platform/platform.h"

namespace platform {

namespace {

HANDLE consoleOutput() {
  return GetStdHandle(STD_OUTPUT_HANDLE);
}

// Stream text may still sit in the runtime's buffer; it has to reach the console before anything
// that moves the cursor, overwrites cells or lets time pass, or it would land in the wrong place.
void flushStreamText() {
  std::cout.flush();
}

DWORD cellCount(const CONSOLE_SCREEN_BUFFER_INFO& info) {
  return static_cast<DWORD>(info.dwSize.X) * static_cast<DWORD>(info.dwSize.Y);
}

}  // namespace

bool keyHeld(int virtualKey) {
  return GetAsyncKeyState(virtualKey) < 0;
}

bool keyPressedSinceLastQuery(int virtualKey) {
  return (GetAsyncKeyState(virtualKey) & 1) != 0;
}

ScreenPoint pointerPosition() {
  POINT point{};
  GetCursorPos(&point);
  return {static_cast<int>(point.x), static_cast<int>(point.y)};
}

void setPointerPosition(int x, int y) {
  SetCursorPos(x, y);
}

int monitorWidth() {
  return GetSystemMetrics(SM_CXSCREEN);
}

void sleepMs(int milliseconds) {
  flushStreamText();
  Sleep(static_cast<DWORD>(milliseconds));
}

void waitForInput(int maxMilliseconds) {
  flushStreamText();
  HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (!GetConsoleMode(input, &mode)) {
    // Redirected input is not waitable like a console; a plain pause keeps the loop cool.
    Sleep(static_cast<DWORD>(maxMilliseconds));
    return;
  }
  WaitForSingleObject(input, static_cast<DWORD>(maxMilliseconds));
  // The keys are read from their asynchronous state, so the queued events only matter to the
  // settings dialogue, which must not find the keystrokes of the menu and of play waiting there.
  // Dropping them also stops the handle from staying signalled.
  FlushConsoleInputBuffer(input);
}

void hideCursor() {
  HANDLE out = consoleOutput();
  CONSOLE_CURSOR_INFO info{};
  GetConsoleCursorInfo(out, &info);
  info.bVisible = FALSE;
  SetConsoleCursorInfo(out, &info);
}

void setCursor(int column, int row) {
  flushStreamText();
  SetConsoleCursorPosition(consoleOutput(),
                           COORD{static_cast<SHORT>(column), static_cast<SHORT>(row)});
}

std::ostream& consoleOut() {
  return std::cout;
}

std::istream& consoleIn() {
  return std::cin;
}

void writeRow(int row, const char* bytes, int length) {
  flushStreamText();
  DWORD written = 0;
  WriteConsoleOutputCharacterA(consoleOutput(), bytes, static_cast<DWORD>(length),
                               COORD{0, static_cast<SHORT>(row)}, &written);
}

// The command processor's "cls": blank cells in the current text colour, cursor home.
void clearConsole() {
  flushStreamText();
  HANDLE out = consoleOutput();
  CONSOLE_SCREEN_BUFFER_INFO info{};
  GetConsoleScreenBufferInfo(out, &info);
  DWORD written = 0;
  FillConsoleOutputCharacterA(out, ' ', cellCount(info), COORD{0, 0}, &written);
  FillConsoleOutputAttribute(out, info.wAttributes, cellCount(info), COORD{0, 0}, &written);
  SetConsoleCursorPosition(out, COORD{0, 0});
}

// The command processor's "color XY": every cell recoloured, text kept, cursor left where it is.
void setConsoleColours(int background, int foreground) {
  const std::optional<uint8_t> attribute = colourAttribute(background, foreground);
  if (!attribute) return;
  flushStreamText();
  HANDLE out = consoleOutput();
  CONSOLE_SCREEN_BUFFER_INFO info{};
  GetConsoleScreenBufferInfo(out, &info);
  DWORD written = 0;
  FillConsoleOutputAttribute(out, *attribute, cellCount(info), COORD{0, 0}, &written);
  SetConsoleTextAttribute(out, *attribute);
}

void closeConsole() {
  flushStreamText();
  std::exit(0);
}

}  // namespace platform
