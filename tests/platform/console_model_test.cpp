// Tests of the console screen buffer model: text at the cursor, row writes, clearing, colours,
// resizing; and the scripted console's key state. Depends on: platform/console_model.h,
// platform/scripted.h, GoogleTest.
#include "platform/console_model.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "platform/scripted.h"

namespace {

// The rows joined by '|', then the cursor: "ab|cd @1,0".
std::string screen(const ConsoleModel& console) {
  std::string text;
  for (int y = 0; y < console.height; ++y) text += std::string(rowText(console, y)) + "|";
  return text + " @" + std::to_string(console.cursorX) + "," + std::to_string(console.cursorY);
}

TEST(ConsoleModel, TextWrapsFollowsControlCharactersAndScrollsWithItsColours) {
  ConsoleModel console = makeConsole(4, 3);
  setCursor(console, 9, -2);
  EXPECT_EQ(screen(console), "    |    |    | @3,0") << "the cursor is clamped inside";
  setCursor(console, 0, 0);
  writeText(console, "\babcdef\rX\bY\nZ");  // Backspace at column 0 stays
  EXPECT_EQ(screen(console), "abcd|Yf  |Z   | @1,2");
  EXPECT_EQ(std::string() + charAt(console, 4, 0) + charAt(console, 0, 3), "  ") << "outside";
  console = makeConsole(3, 2);
  writeText(console, "abc");
  console.textAttribute = 0x3f;
  writeText(console, "de\n");  // filling the last cell wraps, and so scrolls, at once
  EXPECT_EQ(screen(console), "de |   | @0,1");
  EXPECT_EQ(console.attrs, (std::vector<uint8_t>{0x3f, 0x3f, 7, 0x3f, 0x3f, 0x3f}));
}

TEST(ConsoleModel, RowWritesContinueOnFollowingRowsAndKeepCursorAndColours) {
  ConsoleModel console = makeConsole(3, 3);
  setConsoleColours(console, 10, 0);
  setConsoleColours(console, 3, 15);
  setCursor(console, 2, 1);
  const std::string bytes = "abcdefghijkl";
  writeRow(console, 0, bytes.data(), 2);
  writeRow(console, 1, bytes.data(), 12);
  for (int row : {3, -1}) writeRow(console, row, bytes.data(), 3);
  writeRow(console, 0, nullptr, 3);
  EXPECT_EQ(screen(console), "ab |abc|def| @2,1");
  EXPECT_EQ(console.attrs, std::vector<uint8_t>(9, 0x3f));
  // Refused as the command interpreter refuses them: equal colours, values beyond one digit.
  for (auto [background, foreground] : {std::pair{3, 3}, {-1, 15}, {16, 0}, {0, 16}}) {
    setConsoleColours(console, background, foreground);
  }
  EXPECT_EQ(console.attrs, std::vector<uint8_t>(9, 0x3f));
  EXPECT_EQ(console.textAttribute, 0x3f);
  clearConsole(console);
  EXPECT_EQ(screen(console), "   |   |   | @0,0");
  EXPECT_EQ(console.attrs, std::vector<uint8_t>(9, 0x3f));
}

TEST(ConsoleModel, ResizeKeepsTheTopLeftAndAnEmptyBufferIgnoresEverything) {
  ConsoleModel console = makeConsole(4, 3);
  writeText(console, "abcdefghijk");
  setConsoleColours(console, 1, 14);
  resizeConsole(console, 2, 2);
  EXPECT_EQ(screen(console), "ab|ef| @1,1");
  console.textAttribute = 0x3f;  // the cells a resize adds are blank in the text colour
  resizeConsole(console, 3, 3);
  EXPECT_EQ(screen(console), "ab |ef |   | @1,1");
  EXPECT_EQ(console.attrs,
            (std::vector<uint8_t>{0x1e, 0x1e, 0x3f, 0x1e, 0x1e, 0x3f, 0x3f, 0x3f, 0x3f}));
  resizeConsole(console, 4, 3);  // wider only, then shorter only
  EXPECT_EQ(screen(console), "ab  |ef  |    | @1,1");
  resizeConsole(console, 4, 2);
  EXPECT_EQ(screen(console), "ab  |ef  | @1,1");
  for (auto [width, height] : {std::pair{0, 2}, {5, 0}, {-3, 4}}) {
    console = makeConsole(width, height);
    writeText(console, "hello\nworld\b\r");
    writeRow(console, 0, "abc", 3);
    clearConsole(console);
    setCursor(console, 2, 2);
    setConsoleColours(console, 3, 15);
    EXPECT_EQ(screen(console), " @0,0") << "no cells at all";
  }
}

// A fresh scripted console is a console window's 120 x 40. As the console's asynchronous key
// state: a press is reported once, any query of the key clears it, and codes beyond the 256 keys
// (0 to 255) are never down.
TEST(ScriptedConsole, StartsAt120By40AndReportsAPressUntilTheKeyIsQueried) {
  scripted::reset();
  platform::consoleOut() << 'x' << 'y';  // characters streamed one at a time, a cell each
  EXPECT_EQ(rowText(scripted::console(), 0), "xy" + std::string(118, ' '));
  EXPECT_EQ(scripted::console().height, 40);
  for (const bool heldQueryFirst : {false, true}) {
    scripted::pressKey('W');
    EXPECT_FALSE(heldQueryFirst && platform::keyHeld('W'));
    EXPECT_EQ(platform::keyPressedSinceLastQuery('W'), !heldQueryFirst);
    EXPECT_FALSE(platform::keyPressedSinceLastQuery('W'));
  }
  for (const int key : {-1, 0, 255, 256}) {  // the first and last key, and beyond them
    scripted::setKeyHeld(key, true);
    scripted::pressKey(key);
    const bool known = key == 0 || key == 255;
    EXPECT_EQ(platform::keyPressedSinceLastQuery(key), known) << key;
    EXPECT_EQ(platform::keyHeld(key), known) << key;
  }
}

}  // namespace
