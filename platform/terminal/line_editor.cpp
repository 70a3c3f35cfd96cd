// Line editing with echo into the console model. Depends on: line_editor.h.
#include "platform/terminal/line_editor.h"

namespace term {
namespace {

// The console's backspace echo: the cell before the cursor becomes a blank in the text
// colour and the cursor goes there, back over a row break when the text had wrapped.
void eraseBeforeCursor(ConsoleModel& console) {
  int x = console.cursorX - 1;
  int y = console.cursorY;
  if (x < 0) {
    if (y == 0) return;
    x = console.width - 1;
    --y;
  }
  const size_t cell = static_cast<size_t>(y) * console.width + x;
  console.chars[cell] = ' ';
  console.attrs[cell] = console.textAttribute;
  setCursor(console, x, y);
}

}  // namespace

LineStatus editLine(LineEditor& editor, ConsoleModel& console, const InputEvent& event) {
  if (event.kind != EventKind::Key || event.action == KeyAction::Release) {
    return LineStatus::Editing;
  }
  if (event.key == kKeyEnter) {
    editor.line += '\n';
    writeText(console, "\n");
    return LineStatus::Finished;
  }
  if (event.key == kKeyBackspace) {
    if (!editor.line.empty()) {
      editor.line.pop_back();
      eraseBeforeCursor(console);
    }
    return LineStatus::Editing;
  }
  if (event.key == 'd' && (event.modifiers & kModCtrl) && editor.line.empty()) {
    return LineStatus::EndOfInput;
  }
  if (event.text != 0 && editor.line.size() < kLineLimit) {
    const char typed = static_cast<char>(event.text);
    editor.line += typed;
    writeText(console, std::string_view(&typed, 1));
  }
  return LineStatus::Editing;
}

}  // namespace term
