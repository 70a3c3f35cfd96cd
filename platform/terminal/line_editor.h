// The line the user types for the settings dialogue: printable characters echoed at the console
// cursor, Backspace erasing the last one, Enter ending the line, Ctrl+D on an empty line ending
// the input. Owns: LineEditor. Depends on: platform/console_model.h, input_decoder.h. Pure.
#pragma once

#include <cstddef>
#include <string>

#include "platform/console_model.h"
#include "platform/terminal/input_decoder.h"

namespace term {

// Longer lines are no width or height; the limit keeps a held key from flooding the console.
inline constexpr size_t kLineLimit = 80;

struct LineEditor {
  std::string line;
};

enum class LineStatus { Editing, Finished, EndOfInput };

// On Finished, `line` holds the typed text followed by '\n' for the caller to take.
LineStatus editLine(LineEditor& editor, ConsoleModel& console, const InputEvent& event);

}  // namespace term
