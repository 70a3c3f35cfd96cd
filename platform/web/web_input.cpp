// Page events to the polled key state, the virtual pointer and the typed line; the grid's growth.
// Depends on: web_input.h.
#include "platform/web/web_input.h"

#include <algorithm>

namespace web {
namespace {

struct NamedKey {
  std::string_view code;
  int key;
};

constexpr NamedKey kNamedKeys[] = {
    {"Enter", term::kKeyEnter},
    {"NumpadEnter", term::kKeyEnter},
    {"Tab", term::kKeyTab},
    {"Space", ' '},
    {"Backspace", term::kKeyBackspace},
    {"Escape", term::kKeyEscape},
    {"ShiftLeft", term::kKeyShift},
    {"ShiftRight", term::kKeyShift},
    {"ArrowUp", term::kKeyUp},
    {"ArrowDown", term::kKeyDown},
    {"ArrowLeft", term::kKeyLeft},
    {"ArrowRight", term::kKeyRight},
};

// "KeyA".."KeyZ", "Digit0".."Digit9" and "Numpad0".."Numpad9": one character after a prefix.
int characterKey(std::string_view code, std::string_view prefix, char first, char last) {
  if (code.size() != prefix.size() + 1 || code.substr(0, prefix.size()) != prefix) return 0;
  const char ch = code.back();
  return ch >= first && ch <= last ? ch : 0;
}

}  // namespace

WebInput makeWebInput() {
  WebInput input;
  input.keys.exact = true;
  input.pointer = term::makeVirtualPointer(kMonitorWidth / 2, kMonitorHeight / 2);
  return input;
}

int keyOfCode(std::string_view code) {
  if (const int letter = characterKey(code, "Key", 'A', 'Z')) return letter - 'A' + 'a';
  if (const int digit = characterKey(code, "Digit", '0', '9')) return digit;
  if (const int digit = characterKey(code, "Numpad", '0', '9')) return digit;
  for (const NamedKey& named : kNamedKeys) {
    if (named.code == code) return named.key;
  }
  return term::kKeyOther;
}

void noteKey(WebInput& input, ConsoleModel& console, std::string_view code, int text,
             term::KeyAction action, int modifiers) {
  term::InputEvent event;
  event.key = keyOfCode(code);
  event.action = action;
  event.modifiers = modifiers;
  // With Ctrl, Alt or the system key held a key is a shortcut, not typing.
  const bool typing = (modifiers & ~term::kModShift) == 0 && text >= ' ' && text <= '~';
  event.text = typing ? text : 0;
  term::noteKeyEvent(input.keys, event, 0);
  if (input.editing && input.lineStatus == term::LineStatus::Editing) {
    // A page's input never ends: Ctrl+D on an empty line is no end of input here.
    const term::LineStatus status = term::editLine(input.editor, console, event);
    if (status == term::LineStatus::Finished) input.lineStatus = status;
  }
}

void noteFocusLoss(WebInput& input) {
  term::releaseAllKeys(input.keys);
}

void notePointerMovement(WebInput& input, int dx) {
  term::nudgePointer(input.pointer, dx);
}

void startLine(WebInput& input) {
  input.editor.line.clear();
  input.editing = true;
  input.lineStatus = term::LineStatus::Editing;
}

void fitConsole(ConsoleModel& console, int row, int length) {
  if (row < 0 || length <= 0) return;
  resizeConsole(console, std::max(console.width, length), std::max(console.height, row + 2));
}

}  // namespace web
