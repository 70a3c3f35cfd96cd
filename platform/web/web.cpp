// The platform contract in a web page: the console model drawn into the page's canvas, keys,
// focus and Pointer Lock movement polled from the page's event queue, typed lines echoed at the
// console cursor, and pauses that yield to the browser through Asyncify, so the game loop stays
// the blocking loop it is. Owns: the one page session. Depends on: platform/platform.h,
// web_input.h, platform/console_model.h, the terminal's code page table, console_page.js.
#include <emscripten.h>

#include <algorithm>
#include <istream>
#include <ostream>
#include <streambuf>
#include <string>
#include <string_view>

#include "platform/console_model.h"
#include "platform/console_text.h"
#include "platform/platform.h"
#include "platform/terminal/cp437.h"
#include "platform/terminal/terminal_input.h"
#include "platform/web/web_input.h"

// The page side (console_page.js): takes the glyph table, draws the grid, hands out events.
EM_JS(void, jsStart, (const char* glyphs), { Module.consolePage.start(UTF8ToString(glyphs)); });
EM_JS(void, jsDraw, (const char* chars, const unsigned char* attrs, int width, int height), {
  Module.consolePage.draw(HEAPU8.subarray(chars, chars + width * height),
                          HEAPU8.subarray(attrs, attrs + width * height), width, height);
});
// The next queued event's kind (PageEvent), its code (keys) and its fields: for a key the action,
// the text and the modifiers; for a pointer movement, movementX.
EM_JS(int, jsNextEvent, (char* code, int capacity, int* fields), {
  const event = Module.consolePage.nextEvent();
  if (!event) return 0;
  HEAP32.set(event.fields, fields >> 2);
  stringToUTF8(event.code || "", code, capacity);
  return event.kind;
});
EM_JS(void, jsAskLine, (int asking), { Module.consolePage.askLine(asking > 0); });
EM_ASYNC_JS(void, jsPause, (int milliseconds, int untilInput),
            { await Module.consolePage.pause(milliseconds, untilInput); });

namespace {

constexpr int kCodeCapacity = 32;

// As console_page.js numbers the events it queues.
enum PageEvent { kNoEvent = 0, kKeyEvent = 1, kFocusLost = 2, kPointerMoved = 3 };

struct Session {
  bool started = false;
  ConsoleModel console;
  web::WebInput input;
};

Session theSession;

Session& session() {
  Session& s = theSession;
  if (s.started) return s;
  s.started = true;
  s.console = makeConsole(web::kStartColumns, web::kStartRows);
  s.input = web::makeWebInput();
  std::string utf8;
  for (int byte = 0; byte < 256; ++byte) utf8 += term::glyphFor(static_cast<unsigned char>(byte));
  jsStart(utf8.c_str());
  return s;
}

// Takes queued events until none is left or a typed line is finished: keys after it belong to
// the next question, or to the game.
void pump(Session& s) {
  char code[kCodeCapacity];
  int fields[3];
  for (;;) {
    if (s.input.editing && s.input.lineStatus != term::LineStatus::Editing) return;
    switch (jsNextEvent(code, kCodeCapacity, fields)) {
      case kNoEvent:
        return;
      case kKeyEvent:
        web::noteKey(s.input, s.console, code, fields[1], static_cast<term::KeyAction>(fields[0]),
                     fields[2]);
        break;
      case kFocusLost:
        web::noteFocusLoss(s.input);
        break;
      case kPointerMoved:
        web::notePointerMovement(s.input, fields[0]);
        break;
    }
  }
}

void draw(Session& s) {
  jsDraw(s.console.chars.data(), s.console.attrs.data(), s.console.width, s.console.height);
}

void readLine(Session& s, std::string& line) {
  web::startLine(s.input);
  jsAskLine(1);
  for (pump(s); s.input.lineStatus == term::LineStatus::Editing; pump(s)) {
    draw(s);
    jsPause(-1, 1);  // no time limit: until a key comes
  }
  s.input.editing = false;
  jsAskLine(0);
  // Keys typed into the dialogue are answers, not menu choices.
  term::forgetKeyPresses(s.input.keys);
  line = std::move(s.input.editor.line);
}

ConsoleModel& liveConsole() {
  return session().console;
}

struct TypedInput : std::streambuf {
  std::string line;
  int_type underflow() override {
    if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
    readLine(session(), line);
    setg(line.data(), line.data(), line.data() + line.size());
    return traits_type::to_int_type(line.front());
  }
};

}  // namespace

namespace platform {

bool keyHeld(int virtualKey) {
  Session& s = session();
  pump(s);
  return term::queryKeyHeld(s.input.keys, virtualKey, 0);
}

bool keyPressedSinceLastQuery(int virtualKey) {
  Session& s = session();
  pump(s);
  return term::takeKeyPress(s.input.keys, virtualKey, 0);
}

ScreenPoint pointerPosition() {
  Session& s = session();
  pump(s);
  term::steerWithArrows(s.input.keys, s.input.pointer, 0);
  return {term::pointerX(s.input.pointer), term::pointerY(s.input.pointer)};
}

void setPointerPosition(int x, int y) {
  term::movePointer(session().input.pointer, x, y);
}

int monitorWidth() {
  return web::kMonitorWidth;
}

void sleepMs(int milliseconds) {
  Session& s = session();
  draw(s);
  jsPause(std::max(milliseconds, 0), 0);
}

void waitForInput(int maxMilliseconds) {
  Session& s = session();
  draw(s);
  jsPause(std::max(maxMilliseconds, 0), 1);
}

void hideCursor() {
  session().console.cursorVisible = false;
}

void setCursor(int column, int row) {
  ::setCursor(session().console, column, row);
}

std::ostream& consoleOut() {
  static ConsoleTextBuffer buffer(liveConsole);
  static std::ostream stream(&buffer);
  return stream;
}

std::istream& consoleIn() {
  static TypedInput buffer;
  static std::istream stream(&buffer);
  return stream;
}

void writeRow(int row, const char* bytes, int length) {
  Session& s = session();
  web::fitConsole(s.console, row, length);
  ::writeRow(s.console, row, bytes, length);
}

void clearConsole() {
  ::clearConsole(session().console);
}

void setConsoleColours(int background, int foreground) {
  ::setConsoleColours(session().console, background, foreground);
}

void closeConsole() {
  if (theSession.started) draw(theSession);
  emscripten_force_exit(0);
}

}  // namespace platform
