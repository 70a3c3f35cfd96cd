// Tests of the console screen buffer model: text at the cursor, row writes, commands, resizing.
// Depends on: platform/console_model.h, GoogleTest.
#include "platform/console_model.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string rowString(const ConsoleModel& console, int y) {
  return std::string(rowText(console, y));
}

TEST(ConsoleModel, StartsBlankAndReadsBlankOutside) {
  ConsoleModel console = makeConsole(4, 3);
  EXPECT_EQ(rowString(console, 2), "    ");
  EXPECT_EQ(attributeAt(console, 3, 2), kDefaultAttribute);
  EXPECT_EQ(charAt(console, 4, 0), ' ');
  EXPECT_EQ(charAt(console, 0, -1), ' ');
  EXPECT_TRUE(rowText(console, 3).empty());
  setCursor(console, 9, -2);
  EXPECT_EQ(console.cursorX, 3);
  EXPECT_EQ(console.cursorY, 0);
}

TEST(ConsoleModel, TextWrapsAtRowEndAndFollowsControlCharacters) {
  ConsoleModel console = makeConsole(4, 3);
  console.textAttribute = 0x1e;
  writeText(console, "abcdef");
  EXPECT_EQ(rowString(console, 0), "abcd");
  EXPECT_EQ(rowString(console, 1), "ef  ");
  EXPECT_EQ(console.cursorX, 2);
  EXPECT_EQ(console.cursorY, 1);
  EXPECT_EQ(attributeAt(console, 1, 1), 0x1e);
  EXPECT_EQ(attributeAt(console, 2, 1), kDefaultAttribute);

  writeText(console, "\rX\bY\nZ");
  EXPECT_EQ(rowString(console, 1), "Yf  ");
  EXPECT_EQ(rowString(console, 2), "Z   ");
  EXPECT_EQ(console.cursorX, 1);
  EXPECT_EQ(console.cursorY, 2);

  // Backspace at column 0 stays put.
  setCursor(console, 0, 0);
  writeText(console, "\b");
  EXPECT_EQ(console.cursorX, 0);
  EXPECT_EQ(console.cursorY, 0);
}

TEST(ConsoleModel, OutputPastTheBottomScrollsUpOneRow) {
  ConsoleModel console = makeConsole(3, 2);
  writeText(console, "abc");
  EXPECT_EQ(console.cursorY, 1);
  console.textAttribute = 0x3f;
  writeText(console, "de\n");
  EXPECT_EQ(rowString(console, 0), "de ");
  EXPECT_EQ(rowString(console, 1), "   ");
  EXPECT_EQ(attributeAt(console, 0, 1), 0x3f);
  EXPECT_EQ(attributeAt(console, 0, 0), 0x3f);
  EXPECT_EQ(attributeAt(console, 2, 0), kDefaultAttribute);
  EXPECT_EQ(console.cursorX, 0);
  EXPECT_EQ(console.cursorY, 1);

  // Filling the last cell wraps, and so scrolls, at once.
  writeText(console, "fgh");
  EXPECT_EQ(rowString(console, 0), "fgh");
  EXPECT_EQ(rowString(console, 1), "   ");
  EXPECT_EQ(console.cursorX, 0);
  EXPECT_EQ(console.cursorY, 1);
}

TEST(ConsoleModel, RowWriteContinuesOnFollowingRowsAndStopsAtTheEnd) {
  ConsoleModel console = makeConsole(3, 3);
  console.textAttribute = 0x3f;
  setCursor(console, 2, 1);
  const std::string bytes = "abcdefghijkl";

  writeRow(console, 0, bytes.data(), 2);
  EXPECT_EQ(rowString(console, 0), "ab ");

  writeRow(console, 1, bytes.data(), 12);
  EXPECT_EQ(rowString(console, 1), "abc");
  EXPECT_EQ(rowString(console, 2), "def");
  EXPECT_EQ(attributeAt(console, 0, 2), kDefaultAttribute) << "row writes leave colours alone";
  EXPECT_EQ(console.cursorX, 2) << "row writes leave the cursor alone";
  EXPECT_EQ(console.cursorY, 1);

  const ConsoleModel before = console;
  writeRow(console, 3, bytes.data(), 3);
  writeRow(console, -1, bytes.data(), 3);
  writeRow(console, 0, bytes.data(), -5);
  writeRow(console, 0, nullptr, 3);
  EXPECT_EQ(console.chars, before.chars);
}

TEST(ConsoleModel, ClsAndColourCommands) {
  ConsoleModel console = makeConsole(3, 2);
  writeText(console, "abcd");
  EXPECT_TRUE(runCommand(console, "color 3f"));
  EXPECT_EQ(rowString(console, 0), "abc") << "colour keeps the text";
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(attributeAt(console, x, y), 0x3f);
  }
  EXPECT_EQ(console.textAttribute, 0x3f);

  EXPECT_TRUE(runCommand(console, "COLOR A0"));
  EXPECT_EQ(console.textAttribute, 0xa0);
  EXPECT_TRUE(runCommand(console, "color 0f"));
  EXPECT_EQ(attributeAt(console, 2, 1), 0x0f);

  const ConsoleModel before = console;
  for (const char* refused : {"color 33", "color 3", "color 3fa", "color g1", "color", "dir",
                              "cls now", "", "color  3f"}) {
    EXPECT_FALSE(runCommand(console, refused)) << refused;
    EXPECT_EQ(console.attrs, before.attrs) << refused;
    EXPECT_EQ(console.chars, before.chars) << refused;
    EXPECT_EQ(console.textAttribute, before.textAttribute) << refused;
  }

  EXPECT_TRUE(runCommand(console, "cls"));
  EXPECT_EQ(rowString(console, 0), "   ");
  EXPECT_EQ(rowString(console, 1), "   ");
  EXPECT_EQ(attributeAt(console, 1, 1), 0x0f);
  EXPECT_EQ(console.cursorX, 0);
  EXPECT_EQ(console.cursorY, 0);
}

TEST(ConsoleModel, ResizeKeepsTheTopLeftAndClampsTheCursor) {
  ConsoleModel console = makeConsole(4, 3);
  writeText(console, "abcdefghijk");
  EXPECT_TRUE(runCommand(console, "color 1e"));

  resizeConsole(console, 2, 2);
  EXPECT_EQ(rowString(console, 0), "ab");
  EXPECT_EQ(rowString(console, 1), "ef");
  EXPECT_EQ(console.cursorX, 1);
  EXPECT_EQ(console.cursorY, 1);

  console.textAttribute = 0x07;
  resizeConsole(console, 3, 3);
  EXPECT_EQ(rowString(console, 0), "ab ");
  EXPECT_EQ(rowString(console, 1), "ef ");
  EXPECT_EQ(rowString(console, 2), "   ");
  EXPECT_EQ(attributeAt(console, 1, 1), 0x1e);
  EXPECT_EQ(attributeAt(console, 2, 0), 0x07);
  EXPECT_EQ(attributeAt(console, 0, 2), 0x07);
  EXPECT_EQ(console.chars.size(), 9u);
  EXPECT_EQ(console.attrs.size(), 9u);
}

TEST(ConsoleModel, ZeroSizeMakesEveryOperationANoOp) {
  for (const auto& [width, height] :
       {std::pair{0, 0}, std::pair{5, 0}, std::pair{0, 5}, std::pair{-3, 4}}) {
    ConsoleModel console = makeConsole(width, height);
    EXPECT_TRUE(console.chars.empty());
    writeText(console, "hello\nworld\b\r");
    writeRow(console, 0, "abc", 3);
    setCursor(console, 7, 7);
    runCommand(console, "cls");
    runCommand(console, "color 3f");
    EXPECT_EQ(console.cursorX, 0);
    EXPECT_EQ(console.cursorY, 0);
    EXPECT_EQ(charAt(console, 0, 0), ' ');
    EXPECT_TRUE(rowText(console, 0).empty());
    EXPECT_TRUE(console.chars.empty());
    EXPECT_TRUE(console.attrs.empty());
  }

  ConsoleModel console = makeConsole(3, 2);
  writeText(console, "abcd");
  resizeConsole(console, 0, 2);
  EXPECT_TRUE(console.chars.empty());
  EXPECT_EQ(console.cursorX, 0);
  EXPECT_EQ(console.cursorY, 0);
  resizeConsole(console, 2, 1);
  EXPECT_EQ(rowString(console, 0), "  ");
}

}  // namespace
