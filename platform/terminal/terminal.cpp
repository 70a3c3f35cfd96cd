// The platform contract on a Linux terminal: the console model drawn by difference, keys held
// by the kitty protocol, the X server's key state or repeat lingers, a virtual mouse pointer,
// typed lines with echo. Owns: the one terminal session. Depends on: platform/platform.h,
// terminal_io.h, key_sources.h and the pure parts (input_decoder, key_tracker, frame_encoder,
// line_editor, virtual_pointer).
#include <signal.h>

#include <algorithm>
#include <cstdlib>
#include <istream>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "platform/console_model.h"
#include "platform/platform.h"
#include "platform/terminal/frame_encoder.h"
#include "platform/terminal/input_decoder.h"
#include "platform/terminal/key_sources.h"
#include "platform/terminal/key_tracker.h"
#include "platform/terminal/line_editor.h"
#include "platform/terminal/terminal_io.h"
#include "platform/terminal/virtual_pointer.h"

namespace {

// The kitty keyboard query, SGR pixel mouse and synchronized output support, the window's
// pixel size, and last the primary device attributes, which every terminal answers: once that
// reply is in, every answer that will come has come.
constexpr char kStartQueries[] = "\x1b[?u\x1b[?1016$p\x1b[?2026$p\x1b[14t\x1b[c";
constexpr int kQueryWaitMs = 500;
// Flags 1 + 2 + 8: disambiguated keys, press/repeat/release events, every key as an escape.
constexpr char kKeyboardPush[] = "\x1b[>11u";
constexpr int kEscapeWaitMs = 50;
constexpr int kFallbackCellWidth = 8;
constexpr int kVkLeft = 0x25;
constexpr int kVkRight = 0x27;

struct Session {
  bool started = false;
  ConsoleModel console;
  term::ShownScreen shown;
  term::InputDecoder decoder;
  term::KeyTracker keys;
  term::KeySources keySources;
  term::VirtualPointer pointer;
  term::LineEditor editor;
  bool editing = false;
  term::LineStatus lineStatus = term::LineStatus::Editing;
  std::vector<term::InputEvent> typedAhead;  // keys that came after a finished line
  bool inputEnded = false;
  bool attributesAnswered = false;
  bool pixelMouse = false;
  int windowPixelWidth = 0;
  int cellWidth = kFallbackCellWidth;
  int64_t lastBytesMs = 0;
};

Session theSession;

bool supported(int modeState) {
  return modeState >= 1 && modeState <= 3;
}

void measureCells(Session& s, const term::TerminalSize& size) {
  int pixelWidth = size.pixelWidth > 0 ? size.pixelWidth : s.windowPixelWidth;
  s.cellWidth = pixelWidth >= size.columns ? pixelWidth / size.columns : kFallbackCellWidth;
}

void applyResize(Session& s) {
  term::TerminalSize size = term::terminalSize();
  resizeConsole(s.console, size.columns, size.rows);
  measureCells(s, size);
  // What a resized or resumed terminal shows is its own affair: start afresh.
  s.shown.width = 0;
  s.shown.cursorVisible = -1;
}

void flush(Session& s) {
  std::string bytes = term::encodeUpdate(s.shown, s.console);
  if (!bytes.empty()) term::writeAll(bytes);
}

void dispatch(Session& s, const term::InputEvent& event, int64_t nowMs) {
  using term::EventKind;
  switch (event.kind) {
    case EventKind::Key:
      if (term::isInterrupt(event)) term::endLikeSignal(SIGINT);
      if (term::isSuspend(event)) raise(SIGTSTP);
      term::noteKeyEvent(s.keys, event, nowMs);
      if (s.editing && s.lineStatus == term::LineStatus::Editing) {
        s.lineStatus = term::editLine(s.editor, s.console, event);
      } else if (s.editing) {
        s.typedAhead.push_back(event);
      }
      break;
    case EventKind::Mouse:
      if (s.pixelMouse) {
        term::notePointerReport(s.pointer, event.x - 1, event.y - 1);
      } else {
        // Cells are about twice as tall as wide; only x turns the view.
        term::notePointerReport(s.pointer, (event.x - 1) * s.cellWidth,
                                (event.y - 1) * s.cellWidth * 2);
      }
      break;
    case EventKind::KeyboardFlags:
      if (!s.keys.exact && s.keySources.kittyAllowed) {
        term::pushKeyboardEnhancement(kKeyboardPush);
        // Keys lingering from legacy input would never see their release.
        s.keys = term::KeyTracker{};
        s.keys.exact = true;
      }
      break;
    case EventKind::DeviceAttributes:
      s.attributesAnswered = true;
      break;
    case EventKind::ModeReport:
      if (event.number == 1016 && supported(event.value) && !s.pixelMouse) {
        term::enableMode("\x1b[?1016h");
        s.pixelMouse = true;
      } else if (event.number == 2026 && supported(event.value)) {
        s.shown.synchronized = true;
      }
      break;
    case EventKind::WindowPixels:
      if (event.x > 0) {
        s.windowPixelWidth = event.x;
        measureCells(s, term::terminalSize());
      }
      break;
    case EventKind::Focus:
      term::noteFocusReport(s.keySources, s.keys, event.number == 1);
      break;
  }
}

// Waits up to timeoutMs (-1: no limit) for input and acts on what came.
void pump(Session& s, int timeoutMs) {
  if (term::hasPendingInput(s.decoder)) {
    timeoutMs = timeoutMs < 0 ? kEscapeWaitMs : std::min(timeoutMs, kEscapeWaitMs);
  }
  term::InputChunk chunk = term::readInput(timeoutMs);
  int64_t now = term::monotonicMs();
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
  term::pollKeySources(s.keySources, s.keys, now);
  for (const term::InputEvent& event : events) dispatch(s, event, now);
  if (s.inputEnded && !s.editing) platform::closeConsole();
}

Session& session() {
  Session& s = theSession;
  if (s.started) return s;
  s.started = true;
  term::enterTerminal(kStartQueries);
  s.keySources = term::openKeySources(s.keys);
  term::TerminalSize size = term::terminalSize();
  s.console = makeConsole(size.columns, size.rows);
  measureCells(s, size);
  s.pointer = term::makeVirtualPointer(size.columns * s.cellWidth / 2, size.rows * s.cellWidth);
  int64_t deadline = term::monotonicMs() + kQueryWaitMs;
  for (int64_t now = term::monotonicMs(); !s.attributesAnswered && now < deadline;
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
  term::forgetKeyPresses(s.keys);
  if (s.lineStatus != term::LineStatus::Finished) {
    s.inputEnded = true;
    return false;
  }
  line = std::move(s.editor.line);
  return true;
}

struct ConsoleText : std::streambuf {
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    char byte = traits_type::to_char_type(c);
    writeText(session().console, std::string_view(&byte, 1));
    return c;
  }
  std::streamsize xsputn(const char* text, std::streamsize count) override {
    writeText(session().console, std::string_view(text, static_cast<size_t>(count)));
    return count;
  }
  // A flushed stream reaches the terminal now, not at the next pause.
  int sync() override {
    flush(session());
    return 0;
  }
};

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
  return term::queryKeyHeld(s.keys, virtualKey, term::monotonicMs());
}

bool keyPressedSinceLastQuery(int virtualKey) {
  Session& s = session();
  pump(s, 0);
  return term::takeKeyPress(s.keys, virtualKey);
}

ScreenPoint cursorPosition() {
  Session& s = session();
  pump(s, 0);
  int64_t now = term::monotonicMs();
  if (term::queryKeyHeld(s.keys, kVkLeft, now))
    term::nudgePointer(s.pointer, -term::kArrowPixelsPerFrame);
  if (term::queryKeyHeld(s.keys, kVkRight, now))
    term::nudgePointer(s.pointer, term::kArrowPixelsPerFrame);
  return {term::pointerX(s.pointer), term::pointerY(s.pointer)};
}

void setCursorPosition(int x, int y) {
  term::movePointer(session().pointer, x, y);
}

int monitorWidth() {
  Session& s = session();
  return s.console.width * s.cellWidth;
}

void sleepMs(int milliseconds) {
  Session& s = session();
  flush(s);
  int64_t deadline = term::monotonicMs() + std::max(milliseconds, 0);
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

void setConsoleCursor(int column, int row) {
  setCursor(session().console, column, row);
}

std::ostream& consoleOut() {
  static ConsoleText buffer;
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

void runCommand(const char* command) {
  ::runCommand(session().console, command);
}

void closeConsole() {
  if (theSession.started) flush(theSession);
  term::restoreTerminal();
  std::exit(0);
}

}  // namespace platform
