// The platform contract on a Linux terminal: the console model drawn by difference, keys held
// by the kitty protocol, win32-input-mode records, the X server's key state or repeat lingers,
// a virtual mouse pointer, typed lines with echo. Owns: the one terminal session. Depends on:
// platform/platform.h, terminal_io.h, key_sources.h and the pure parts (input_decoder,
// key_tracker, terminal_input, frame_encoder, line_editor).
#include <signal.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <istream>
#include <optional>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "platform/console_model.h"
#include "platform/console_text.h"
#include "platform/platform.h"
#include "platform/terminal/frame_encoder.h"
#include "platform/terminal/input_decoder.h"
#include "platform/terminal/key_sources.h"
#include "platform/terminal/key_tracker.h"
#include "platform/terminal/line_editor.h"
#include "platform/terminal/terminal_input.h"
#include "platform/terminal/terminal_io.h"

namespace {

constexpr int kQueryWaitMs = 500;
// After the kitty push: the flags the terminal applied, and device attributes to tell when no
// answer is coming.
constexpr char kKeyboardReadBack[] = "\x1b[?u\x1b[c";
constexpr char kWin32ModeQuery[] = "\x1b[?9001$p";
constexpr int kEscapeWaitMs = 50;

struct Session {
  bool started = false;
  ConsoleModel console;
  term::ShownScreen shown;
  term::InputDecoder decoder;
  term::TerminalInput input;
  term::KeySources keySources;
  term::LineEditor editor;
  bool editing = false;
  term::LineStatus lineStatus = term::LineStatus::Editing;
  std::vector<term::InputEvent> typedAhead;  // keys that came after a finished line
  bool inputEnded = false;
  int64_t lastBytesMs = 0;
};

Session theSession;

void applyResize(Session& s) {
  const term::TerminalSize size = term::terminalSize();
  resizeConsole(s.console, size.columns, size.rows);
  term::measureCells(s.input, size.columns, size.pixelWidth);
  // What a resized or resumed terminal shows is its own affair: start afresh.
  s.shown.width = 0;
  s.shown.cursorVisible = -1;
}

void flush(Session& s) {
  const std::string bytes = term::encodeUpdate(s.shown, s.console);
  if (!bytes.empty()) term::writeAll(bytes);
}

void answer(Session& s, unsigned answers) {
  if (answers & term::kPopKeyboard) term::setMode(term::LaterMode::KittyKeys, false);
  if (answers & term::kPushKeyboard) {
    term::setMode(term::LaterMode::KittyKeys, true);
    term::writeAll(kKeyboardReadBack);
  }
  if (answers & term::kAskWin32) {
    term::setMode(term::LaterMode::Win32Keys, true);
    term::writeAll(kWin32ModeQuery);
  }
  if (answers & term::kPixelMouse) term::setMode(term::LaterMode::PixelMouse, true);
  if (answers & term::kSynchronizedOutput) s.shown.synchronized = true;
}

void dispatch(Session& s, const term::InputEvent& event, int64_t nowMs) {
  if (event.kind != term::EventKind::Key) return answer(s, term::noteReply(s.input, event, nowMs));
  if (term::isInterrupt(event)) term::endLikeSignal(SIGINT);
  if (term::isSuspend(event)) raise(SIGTSTP);
  if (s.editing) {
    // Typed or pasted text says nothing of the key protocol in force.
    term::noteKeyEvent(s.input.keys, event, nowMs);
  } else {
    answer(s, term::noteKey(s.input, event, nowMs));
  }
  if (s.editing && s.lineStatus == term::LineStatus::Editing) {
    s.lineStatus = term::editLine(s.editor, s.console, event);
  } else if (s.editing) {
    s.typedAhead.push_back(event);
  }
}

// Waits up to timeoutMs (-1: no limit) for input and acts on what came.
void pump(Session& s, int timeoutMs) {
  if (term::hasPendingInput(s.decoder)) {
    timeoutMs = timeoutMs < 0 ? kEscapeWaitMs : std::min(timeoutMs, kEscapeWaitMs);
  }
  const term::InputChunk chunk = term::readInput(timeoutMs);
  const int64_t now = term::monotonicMs();
  if (term::takeResize()) {
    applyResize(s);
    flush(s);
  }
  if (chunk.ended) s.inputEnded = true;
  std::vector<term::InputEvent> events;
  if (!chunk.bytes.empty()) {
    s.lastBytesMs = now;
    term::decodeInput(s.decoder, chunk.bytes, events);
  } else if (term::hasPendingInput(s.decoder) && now - s.lastBytesMs >= kEscapeWaitMs) {
    term::flushPendingInput(s.decoder, events);
  }
  if (!s.editing) s.typedAhead.clear();
  term::pollKeySources(s.keySources, s.input.keys, s.input.reportedFocus, now);
  for (const term::InputEvent& event : events) dispatch(s, event, now);
  if (s.inputEnded && !s.editing) platform::closeConsole();
}

// TERMINAL_KEYS, read before the terminal is taken so that a bad value is told plainly.
term::KeyChoice readKeyChoice() {
  const char* value = std::getenv("TERMINAL_KEYS");
  if (const std::optional<term::KeyChoice> choice = term::parseKeyChoice(value)) return *choice;
  std::fprintf(stderr, "%s: TERMINAL_KEYS is \"%s\"; it may be kitty, win32, x11 or linger\n",
               program_invocation_short_name, value);
  std::exit(2);
}

Session& session() {
  Session& s = theSession;
  if (s.started) return s;
  s.started = true;
  s.input.choice = readKeyChoice();
  term::enterTerminal(term::startQueries(s.input.choice));
  // Keys held as the program starts (the Enter that started it) are no presses.
  term::takeOverKeys(s.input.keys, false, term::monotonicMs());
  s.shown.paintBlocks = term::paintsBlocks(std::getenv("TERM"));
  s.keySources = term::openKeySources(s.input.keys, s.input.choice.x11);
  const term::TerminalSize size = term::terminalSize();
  s.console = makeConsole(size.columns, size.rows);
  term::measureCells(s.input, size.columns, size.pixelWidth);
  const int cellWidth = s.input.cellWidth;
  s.input.pointer = term::makeVirtualPointer(size.columns * cellWidth / 2, size.rows * cellWidth);
  const int64_t deadline = term::monotonicMs() + kQueryWaitMs;
  for (int64_t now = term::monotonicMs(); !s.input.attributesAnswered && now < deadline;
       now = term::monotonicMs()) {
    pump(s, static_cast<int>(deadline - now));
  }
  return s;
}

bool readLine(Session& s, std::string& line) {
  if (s.inputEnded) return false;
  s.editor.line.clear();
  s.editing = true;
  s.lineStatus = term::LineStatus::Editing;
  std::vector<term::InputEvent> replay;
  replay.swap(s.typedAhead);
  for (const term::InputEvent& event : replay) dispatch(s, event, term::monotonicMs());
  while (s.lineStatus == term::LineStatus::Editing && !s.inputEnded) {
    flush(s);
    pump(s, -1);
  }
  s.editing = false;
  flush(s);
  // Keys typed into the dialogue are answers, not menu choices.
  term::forgetKeyPresses(s.input.keys);
  if (s.lineStatus != term::LineStatus::Finished) {
    s.inputEnded = true;
    return false;
  }
  line = std::move(s.editor.line);
  return true;
}

ConsoleModel& liveConsole() {
  return session().console;
}

// A flushed stream reaches the terminal now, not at the next pause.
void flushNow() {
  flush(session());
}

struct TypedInput : std::streambuf {
  std::string line;
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    if (!readLine(session(), line)) return traits_type::eof();
    setg(line.data(), line.data(), line.data() + line.size());
    return traits_type::to_int_type(line.front());
  }
};

}  // namespace

namespace platform {

bool keyHeld(int virtualKey) {
  Session& s = session();
  pump(s, 0);
  return term::queryKeyHeld(s.input.keys, virtualKey, term::monotonicMs());
}

bool keyPressedSinceLastQuery(int virtualKey) {
  Session& s = session();
  pump(s, 0);
  return term::takeKeyPress(s.input.keys, virtualKey, term::monotonicMs());
}

ScreenPoint pointerPosition() {
  Session& s = session();
  pump(s, 0);
  term::steerWithArrows(s.input.keys, s.input.pointer, term::monotonicMs());
  return {term::pointerX(s.input.pointer), term::pointerY(s.input.pointer)};
}

void setPointerPosition(int x, int y) {
  term::movePointer(session().input.pointer, x, y);
}

int monitorWidth() {
  Session& s = session();
  return s.console.width * s.input.cellWidth;
}

void sleepMs(int milliseconds) {
  Session& s = session();
  flush(s);
  const int64_t deadline = term::monotonicMs() + std::max(milliseconds, 0);
  for (int64_t now = term::monotonicMs(); now < deadline; now = term::monotonicMs()) {
    pump(s, static_cast<int>(deadline - now));
  }
}

void waitForInput(int maxMilliseconds) {
  Session& s = session();
  flush(s);
  pump(s, std::max(maxMilliseconds, 0));
}

void hideCursor() {
  session().console.cursorVisible = false;
}

void setCursor(int column, int row) {
  ::setCursor(session().console, column, row);
}

std::ostream& consoleOut() {
  static ConsoleTextBuffer buffer(liveConsole, flushNow);
  static std::ostream stream(&buffer);
  return stream;
}

std::istream& consoleIn() {
  static TypedInput buffer;
  static std::istream stream(&buffer);
  return stream;
}

void writeRow(int row, const char* bytes, int length) {
  ::writeRow(session().console, row, bytes, length);
}

void clearConsole() {
  ::clearConsole(session().console);
}

void setConsoleColours(int background, int foreground) {
  ::setConsoleColours(session().console, background, foreground);
}

void closeConsole() {
  if (theSession.started) flush(theSession);
  term::restoreTerminal();
  std::exit(0);
}

}  // namespace platform
