// The scripted backend: every platform service answered from a script that tests and tools
// control, with the console kept as a ConsoleModel. Depends on: platform/platform.h,
// platform/scripted.h, platform/console_model.h.
#include "platform/scripted.h"

#include <array>
#include <istream>
#include <ostream>
#include <sstream>
#include <streambuf>
#include <string_view>

#include "platform/console_text.h"
#include "platform/platform.h"

namespace {

constexpr int kKeyCount = 256;
constexpr int kDefaultMonitorWidth = 1920;
constexpr platform::ScreenPoint kDefaultCursor{960, 540};

// Everything reset() restores; the streams live beside it because they cannot be reassigned.
struct SessionValues {
  ConsoleModel console;  // sized by reset(), which every session begins with
  std::array<bool, kKeyCount> held{};
  std::array<bool, kKeyCount> pressed{};
  platform::ScreenPoint cursor = kDefaultCursor;
  int monitorWidth = kDefaultMonitorWidth;
  std::vector<int> pauses;
  int inputWaits = 0;
  int rowWrites = 0;
  std::function<void(int)> sleepHook;
};

ConsoleModel& liveConsole();

// Unbuffered, so text is in the console the moment it is streamed, as before any pause.
struct Session {
  SessionValues values;
  ConsoleTextBuffer outBuffer{liveConsole};
  std::ostream out{&outBuffer};
  std::istringstream in;
};

Session& session() {
  static Session instance;
  return instance;
}

ConsoleModel& liveConsole() {
  return session().values.console;
}

bool isKeyCode(int virtualKey) {
  return virtualKey >= 0 && virtualKey < kKeyCount;
}

// Formatting flags a test left on a stream must not leak into the next session.
void restoreStreamDefaults(std::ios& stream) {
  const std::ios pristine(nullptr);
  stream.copyfmt(pristine);
  stream.clear();
}

}  // namespace

namespace scripted {

void reset(int consoleWidth, int consoleHeight) {
  Session& state = session();
  state.values = SessionValues{};
  state.values.console = makeConsole(consoleWidth, consoleHeight);
  state.in.str("");
  restoreStreamDefaults(state.in);
  restoreStreamDefaults(state.out);
}

void setKeyHeld(int virtualKey, bool held) {
  if (isKeyCode(virtualKey)) session().values.held[virtualKey] = held;
}

void pressKey(int virtualKey) {
  if (isKeyCode(virtualKey)) session().values.pressed[virtualKey] = true;
}

void setCursor(int x, int y) {
  session().values.cursor = {x, y};
}

void moveCursor(int dx, int dy) {
  platform::ScreenPoint& cursor = session().values.cursor;
  cursor.x += dx;
  cursor.y += dy;
}

void setMonitorWidth(int pixels) {
  session().values.monitorWidth = pixels;
}

void setInput(const std::string& typed) {
  std::istringstream& in = session().in;
  in.str(typed);
  in.clear();
}

const ConsoleModel& console() {
  return session().values.console;
}
const std::vector<int>& pauses() {
  return session().values.pauses;
}
int inputWaits() {
  return session().values.inputWaits;
}
int rowWrites() {
  return session().values.rowWrites;
}

void onSleep(std::function<void(int)> hook) {
  session().values.sleepHook = std::move(hook);
}

}  // namespace scripted

namespace platform {

bool keyHeld(int virtualKey) {
  if (!isKeyCode(virtualKey)) return false;
  // Any query of a key forgets an earlier press, as the console's key state does.
  session().values.pressed[virtualKey] = false;
  return session().values.held[virtualKey];
}

bool keyPressedSinceLastQuery(int virtualKey) {
  if (!isKeyCode(virtualKey)) return false;
  bool& pressed = session().values.pressed[virtualKey];
  const bool wasPressed = pressed;
  pressed = false;
  return wasPressed;
}

ScreenPoint pointerPosition() {
  return session().values.cursor;
}
void setPointerPosition(int x, int y) {
  session().values.cursor = {x, y};
}
int monitorWidth() {
  return session().values.monitorWidth;
}

void sleepMs(int milliseconds) {
  session().values.pauses.push_back(milliseconds);
  // A copy, so a hook that replaces itself or resets the session is not destroyed mid-call.
  const std::function<void(int)> hook = session().values.sleepHook;
  if (hook) hook(milliseconds);
}

void waitForInput(int) {
  ++session().values.inputWaits;
}

void hideCursor() {
  liveConsole().cursorVisible = false;
}
void setCursor(int column, int row) {
  ::setCursor(liveConsole(), column, row);
}
std::ostream& consoleOut() {
  return session().out;
}
std::istream& consoleIn() {
  return session().in;
}

void writeRow(int row, const char* bytes, int length) {
  ++session().values.rowWrites;
  ::writeRow(liveConsole(), row, bytes, length);
}

void clearConsole() {
  ::clearConsole(liveConsole());
}

void setConsoleColours(int background, int foreground) {
  ::setConsoleColours(liveConsole(), background, foreground);
}

void closeConsole() {
  throw scripted::ConsoleClosed{};
}

}  // namespace platform
