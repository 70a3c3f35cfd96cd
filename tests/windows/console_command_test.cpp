// Reading the whole-console commands that the Windows backend carries out itself.
// Depends on: platform/win32/console_command.h.
#include "platform/win32/console_command.h"

#include <gtest/gtest.h>

TEST(ConsoleCommand, ColoursPutTheBackgroundInTheHighNibble) {
  struct Case {
    const char* command;
    uint16_t attribute;
  };
  for (const Case& c : {Case{"color 3f", 0x3F}, Case{"color 0f", 0x0F}, Case{"color F0", 0xF0},
                        Case{"color a1", 0xA1}, Case{"color 9C", 0x9C}}) {
    const ConsoleCommand parsed = parseConsoleCommand(c.command);
    EXPECT_EQ(parsed.kind, ConsoleCommandKind::Recolour) << c.command;
    EXPECT_EQ(parsed.attribute, c.attribute) << c.command;
  }
  EXPECT_EQ(parseConsoleCommand("cls").kind, ConsoleCommandKind::Clear);
}

TEST(ConsoleCommand, RefusesWhatTheCommandProcessorWouldNotColour) {
  for (const char* command : {"color 33", "color ff", "color 3g", "color 3", "color 3f0", "color",
                              "color  3f", "colour 3f", "cls ", "CLS", "", "echo off"}) {
    EXPECT_EQ(parseConsoleCommand(command).kind, ConsoleCommandKind::Ignored) << command;
  }
}
