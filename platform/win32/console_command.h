// The whole-console commands the game issues ("cls", "color XY"), read into what the console
// must do. Owns: ConsoleCommand, parseConsoleCommand. Depends on: nothing; pure, so it is tested
// on every platform while only the win32 backend carries it out.
#pragma once

#include <cstdint>
#include <string_view>

enum class ConsoleCommandKind { Ignored, Clear, Recolour };

struct ConsoleCommand {
  ConsoleCommandKind kind = ConsoleCommandKind::Ignored;
  uint16_t attribute = 0;  // Recolour: background in the high nibble, foreground in the low one
};

// "cls" clears; "color XY" (two hex digits, X != Y, either case) recolours. Like the command
// processor, a colour whose foreground equals its background is refused, and so is anything else.
ConsoleCommand parseConsoleCommand(std::string_view command);
