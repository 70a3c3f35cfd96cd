// Tests of the settings dialogue's line editor. Depends on: line_editor.h,
// platform/console_model.h, GoogleTest.
#include "platform/terminal/line_editor.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

using term::LineStatus;

LineStatus press(term::LineEditor& editor, ConsoleModel& console, int key, int text = 0,
                 int modifiers = 0) {
  term::InputEvent event;
  event.key = key;
  event.text = text;
  event.modifiers = modifiers;
  return term::editLine(editor, console, event);
}

// Types the text: '\n' is Enter, '\b' Backspace.
LineStatus typeAll(term::LineEditor& editor, ConsoleModel& console, const std::string& text) {
  LineStatus status = LineStatus::Editing;
  for (char c : text) {
    const int key = c == '\n' ? term::kKeyEnter : c == '\b' ? term::kKeyBackspace : c;
    status = press(editor, console, key, key == c ? c : 0);
  }
  return status;
}

TEST(LineEditor, EchoesAtTheCursorErasesAcrossARowBreakAndEndsWithEnter) {
  ConsoleModel console = makeConsole(20, 4);
  setCursor(console, 7, 2);
  term::LineEditor editor;
  EXPECT_EQ(typeAll(editor, console, "80 25"), LineStatus::Editing);
  EXPECT_EQ(rowText(console, 2), "       80 25        ");
  EXPECT_EQ(typeAll(editor, console, "\n"), LineStatus::Finished);
  EXPECT_EQ(editor.line, "80 25\n");
  EXPECT_EQ(std::pair(console.cursorX, console.cursorY), std::pair(0, 3));

  console = makeConsole(4, 3);
  setConsoleColours(console, 3, 15);
  setCursor(console, 2, 0);
  editor = {};
  typeAll(editor, console, "123\b\b");  // "12" ends row 0, "3" wraps to row 1
  EXPECT_EQ(rowText(console, 0), "  1 ");
  EXPECT_EQ(rowText(console, 1), "    ");
  EXPECT_EQ(attributeAt(console, 3, 0), 0x3F);
  EXPECT_EQ(std::pair(console.cursorX, console.cursorY), std::pair(3, 0));
  typeAll(editor, console, "\b\b\b7\n");  // extra backspaces on an empty line do nothing
  EXPECT_EQ(editor.line, "7\n");
  EXPECT_EQ(rowText(console, 0), "  7 ");
}

TEST(LineEditor, IgnoresKeysThatTypeNothingBoundsTheLineAndEndsOnCtrlDOnAnEmptyLine) {
  ConsoleModel console = makeConsole(200, 3);
  term::LineEditor editor;
  press(editor, console, term::kKeyUp);
  press(editor, console, 'x', 0, term::kModCtrl);
  typeAll(editor, console, std::string(90, '9'));
  EXPECT_EQ(editor.line, std::string(80, '9'));  // a line holds 80 characters
  editor = {};
  typeAll(editor, console, "4");
  EXPECT_EQ(press(editor, console, 'd', 0, term::kModCtrl), LineStatus::Editing);
  typeAll(editor, console, "\b");
  EXPECT_EQ(press(editor, console, 'd', 0, term::kModCtrl), LineStatus::EndOfInput);
}

}  // namespace
