// Tests of the web console's pure part: key codes, the typed line and the grid's growth (the
// page checks play held keys and presses from real events).
// Depends on: platform/web/web_input.h, GoogleTest.
#include "platform/web/web_input.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

namespace {

using term::KeyAction;

TEST(WebInput, KeyCodesNameThePhysicalKeys) {
  using namespace term;
  const char* const codes[] = {
      "KeyW",  "KeyA",        "KeyZ", "Digit0",     "Numpad9",   "Space",
      "Enter", "NumpadEnter", "Tab",  "ShiftRight", "ArrowDown", "Backspace",
      "Keya",  "KeyAB",       "Key",  "DigitA",     "F5",        ""};
  const int keys[] = {'w',       'a',       'z',       '0',       '9',       ' ',
                      kKeyEnter, kKeyEnter, kKeyTab,   kKeyShift, kKeyDown,  kKeyBackspace,
                      kKeyOther, kKeyOther, kKeyOther, kKeyOther, kKeyOther, kKeyOther};
  static_assert(std::size(codes) == std::size(keys));
  for (size_t i = 0; i < std::size(codes); ++i) EXPECT_EQ(web::keyOfCode(codes[i]), keys[i]) << i;
}

TEST(WebInput, TypedLineIsEchoedEditedAndEndsWithEnter) {
  web::WebInput input = web::makeWebInput();
  ConsoleModel console = makeConsole(20, 3);
  auto type = [&](const char* code, char text, int modifiers = 0) {
    web::noteKey(input, console, code, text, KeyAction::Press, modifiers);
  };
  type("Digit1", '1');  // before the line is asked for: not typed
  web::startLine(input);
  setCursor(console, 7, 0);
  type("KeyD", 'd', term::kModCtrl);  // no end of input in a page
  type("KeyV", 'v', term::kModCtrl);  // a shortcut types nothing
  web::noteKey(input, console, "Digit9", '9', KeyAction::Release, 0);
  for (const char* code : {"Digit8", "Digit0", "Space", "Digit2", "Digit6"}) {
    const std::string name = code;
    type(code, name == "Space" ? ' ' : name.back());
  }
  type("Backspace", 0);
  type("Digit5", '5');
  EXPECT_EQ(input.lineStatus, term::LineStatus::Editing);
  type("Enter", 0);
  type("Digit7", '7');  // after the line: left for the next question
  EXPECT_EQ(input.lineStatus, term::LineStatus::Finished);
  EXPECT_EQ(input.editor.line, "80 25\n");
  EXPECT_EQ(rowText(console, 0), "       80 25        ");
  EXPECT_EQ(console.cursorY, 1);
}

TEST(WebInput, ConsoleGrowsToHoldThePictureAndNeverShrinks) {
  const struct {
    int row, length, width, height;
  } cases[] = {{39, 120, 120, 41}, {59, 200, 200, 61}, {10, 80, 200, 61},
               {-1, 300, 200, 61}, {70, 0, 200, 61},   {511, 512, 512, 513}};
  ConsoleModel console = makeConsole(web::kStartColumns, web::kStartRows);
  for (const auto& c : cases) {
    web::fitConsole(console, c.row, c.length);
    EXPECT_EQ(console.width, c.width) << c.row;
    EXPECT_EQ(console.height, c.height) << c.row;
  }
}

}  // namespace
