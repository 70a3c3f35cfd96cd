// The terminal as an operating-system resource: raw mode, the alternate screen, mouse
// reporting, signals, the way back and the way in again after Ctrl+Z. Owns: the saved terminal
// settings, the signal handlers, the wake-up pipe. Depends on: POSIX (termios, poll, signals).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace term {

struct TerminalSize {
  int columns = 80;
  int rows = 24;
  int pixelWidth = 0;  // 0 when the terminal does not say
};

// Saves the terminal's settings, takes it over (raw input, alternate screen, mouse reporting)
// and installs the handlers that give it back. Exits with a message when standard input or
// output is not a terminal.
void enterTerminal(std::string_view startQueries);
// Gives the terminal back exactly as it was, sending only what undoes what was set; safe in a
// signal handler; acts only once.
void restoreTerminal();

// Modes switched on after start-up, once the terminal has shown it has them.
enum class LaterMode { KittyKeys, Win32Keys, PixelMouse };
inline constexpr int kLaterModeCount = 3;
// Switches a mode on or off. One that is on is switched off on every way out and on again
// whenever the program resumes after a stop.
void setMode(LaterMode mode, bool on);
// Gives the terminal back and ends the process as the signal would have.
[[noreturn]] void endLikeSignal(int signalNumber);

TerminalSize terminalSize();
bool takeResize();  // true once after each change of the window's size or a resume

// One write of all the bytes; a terminal that is gone ends the program.
void writeAll(std::string_view bytes);

struct InputChunk {
  std::string bytes;
  bool ended = false;  // the terminal's input is closed
};
// Waits up to timeoutMs (-1: no limit) for input, returning early on a resize.
InputChunk readInput(int timeoutMs);

int64_t monotonicMs();

}  // namespace term
