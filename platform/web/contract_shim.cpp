// Temporary: the old contract names forwarded to the renamed ones until the rename lands.
#include <string_view>

#include "platform/platform.h"

namespace platform {
ScreenPoint pointerPosition();
void setPointerPosition(int x, int y);
void setCursor(int column, int row);
void clearConsole();
void setConsoleColours(int background, int foreground);

ScreenPoint cursorPosition() {
  return pointerPosition();
}
void setCursorPosition(int x, int y) {
  setPointerPosition(x, y);
}
void setConsoleCursor(int column, int row) {
  setCursor(column, row);
}
void runCommand(const char* command) {
  const std::string_view text = command;
  if (text == "cls") clearConsole();
  if (text.size() == 8 && text.substr(0, 6) == "color ") {
    auto digit = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
    setConsoleColours(digit(text[6]), digit(text[7]));
  }
}
}  // namespace platform
