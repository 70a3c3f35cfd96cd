// Reading the whole-console commands. Owns: parseConsoleCommand. Depends on: console_command.h.
#include "platform/win32/console_command.h"

namespace {

int hexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

ConsoleCommand parseConsoleCommand(std::string_view command) {
  if (command == "cls") return {ConsoleCommandKind::Clear, 0};
  constexpr std::string_view kColour = "color ";
  if (command.size() != kColour.size() + 2 || !command.starts_with(kColour)) return {};
  const int background = hexDigitValue(command[kColour.size()]);
  const int foreground = hexDigitValue(command[kColour.size() + 1]);
  if (background < 0 || foreground < 0 || background == foreground) return {};
  return {ConsoleCommandKind::Recolour, static_cast<uint16_t>(background << 4 | foreground)};
}
