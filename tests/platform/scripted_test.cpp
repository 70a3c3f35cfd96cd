// Tests of the scripted backend: keys, mouse, pauses, the console streams and session reset.
// Depends on: platform/platform.h, platform/scripted.h, GoogleTest.
#include "platform/scripted.h"

#include <gtest/gtest.h>

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace {

std::string rowString(int y) {
  return std::string(rowText(scripted::console(), y));
}

TEST(ScriptedBackend, KeysHeldAndPressedOnce) {
  scripted::reset();
  EXPECT_FALSE(platform::keyHeld('W'));
  scripted::setKeyHeld('W', true);
  EXPECT_TRUE(platform::keyHeld('W'));
  EXPECT_TRUE(platform::keyHeld('W')) << "holding is not consumed by reading";
  EXPECT_FALSE(platform::keyPressedSinceLastQuery('W')) << "holding is not a press";
  scripted::setKeyHeld('W', false);
  EXPECT_FALSE(platform::keyHeld('W'));

  scripted::pressKey(platform::kVkReturn);
  EXPECT_FALSE(platform::keyHeld(platform::kVkReturn));
  EXPECT_FALSE(platform::keyPressedSinceLastQuery(platform::kVkReturn))
      << "any query of a key forgets the earlier press";
  scripted::pressKey(platform::kVkReturn);
  EXPECT_TRUE(platform::keyPressedSinceLastQuery(platform::kVkReturn));
  EXPECT_FALSE(platform::keyPressedSinceLastQuery(platform::kVkReturn));
  scripted::pressKey(platform::kVkReturn);
  EXPECT_TRUE(platform::keyPressedSinceLastQuery(platform::kVkReturn));

  // Codes outside the virtual-key range are never held nor pressed.
  scripted::setKeyHeld(-1, true);
  scripted::pressKey(300);
  EXPECT_FALSE(platform::keyHeld(-1));
  EXPECT_FALSE(platform::keyPressedSinceLastQuery(300));

  scripted::setKeyHeld(platform::kVkShift, true);
  scripted::pressKey(platform::kVkUp);
  scripted::reset();
  EXPECT_FALSE(platform::keyHeld(platform::kVkShift));
  EXPECT_FALSE(platform::keyPressedSinceLastQuery(platform::kVkUp));
}

TEST(ScriptedBackend, MouseStartsCentredOnAFullHdMonitor) {
  scripted::setMonitorWidth(1280);
  platform::setCursorPosition(11, 7);
  scripted::moveCursor(20, -5);
  EXPECT_EQ(platform::cursorPosition().x, 31);
  EXPECT_EQ(platform::cursorPosition().y, 2);
  scripted::reset();
  EXPECT_EQ(platform::cursorPosition().x, 960);
  EXPECT_EQ(platform::cursorPosition().y, 540);
  EXPECT_EQ(platform::monitorWidth(), 1920);
}

TEST(ScriptedBackend, PausesAreRecordedAndCallTheHook) {
  scripted::reset();
  std::vector<int> seen;
  scripted::onSleep([&seen](int milliseconds) {
    seen.push_back(milliseconds);
    scripted::setKeyHeld(platform::kVkReturn, false);
  });
  scripted::setKeyHeld(platform::kVkReturn, true);
  platform::sleepMs(120);
  EXPECT_FALSE(platform::keyHeld(platform::kVkReturn)) << "the hook runs during the pause";
  platform::sleepMs(16);
  EXPECT_EQ(scripted::pauses(), (std::vector<int>{120, 16}));
  EXPECT_EQ(seen, (std::vector<int>{120, 16}));

  platform::waitForInput(10);
  platform::waitForInput(10);
  EXPECT_EQ(scripted::inputWaits(), 2);
  EXPECT_EQ(scripted::pauses().size(), 2u) << "waiting for input is not a pause";

  // A hook may end the session it runs in.
  scripted::onSleep([](int) { scripted::reset(); });
  platform::sleepMs(5000);
  EXPECT_TRUE(scripted::pauses().empty());
  EXPECT_EQ(scripted::inputWaits(), 0);
  platform::sleepMs(10);
  EXPECT_EQ(scripted::pauses(), (std::vector<int>{10})) << "reset removed the hook";
}

TEST(ScriptedBackend, InputStreamReadsNumbersThenEnds) {
  scripted::reset();
  scripted::setInput("80 25\n");
  int width = 0;
  int height = 0;
  platform::consoleIn() >> width >> height;
  EXPECT_EQ(width, 80);
  EXPECT_EQ(height, 25);
  EXPECT_TRUE(platform::consoleIn().good());
  int more = 0;
  EXPECT_FALSE(platform::consoleIn() >> more);
  EXPECT_TRUE(platform::consoleIn().eof());

  scripted::setInput("abc 7");
  EXPECT_TRUE(platform::consoleIn().good()) << "new input clears the end-of-input state";
  EXPECT_FALSE(platform::consoleIn() >> more);
  EXPECT_TRUE(platform::consoleIn().fail());

  scripted::reset();
  EXPECT_TRUE(platform::consoleIn().good());
  std::string word;
  EXPECT_FALSE(platform::consoleIn() >> word) << "reset leaves no input";
}

TEST(ScriptedBackend, ConsoleOutputWritesAtTheCursor) {
  scripted::reset(20, 4);
  EXPECT_EQ(scripted::console().width, 20);
  EXPECT_EQ(scripted::console().height, 4);
  EXPECT_TRUE(scripted::console().cursorVisible);
  platform::hideCursor();
  EXPECT_FALSE(scripted::console().cursorVisible);

  platform::setConsoleCursor(10, 2);
  platform::consoleOut() << "<--";
  EXPECT_EQ(rowString(2), "          <--       ");
  platform::setConsoleCursor(0, 0);
  platform::consoleOut() << "Width? " << 512 << '\n' << "x";
  EXPECT_EQ(rowString(0), "Width? 512          ");
  EXPECT_EQ(rowString(1), "x                   ");
  EXPECT_EQ(scripted::console().cursorX, 1);
  EXPECT_EQ(scripted::console().cursorY, 1);

  platform::runCommand("color 3f");
  platform::consoleOut() << "y";
  EXPECT_EQ(attributeAt(scripted::console(), 1, 1), 0x3f);
  platform::runCommand("cls");
  EXPECT_EQ(rowString(1), std::string(20, ' '));
  platform::runCommand(nullptr);

  const std::string frame(25, '#');
  platform::writeRow(3, frame.data(), 20);
  platform::writeRow(2, frame.data(), 25);
  EXPECT_EQ(scripted::rowWrites(), 2);
  EXPECT_EQ(rowString(3), std::string(20, '#'));
  EXPECT_EQ(scripted::console().cursorX, 0) << "row writes leave the cursor alone";

  EXPECT_THROW(platform::closeConsole(), scripted::ConsoleClosed);

  platform::consoleOut() << std::hex;
  scripted::reset();
  EXPECT_EQ(scripted::console().width, 120);
  EXPECT_EQ(scripted::console().height, 40);
  EXPECT_EQ(scripted::rowWrites(), 0);
  platform::consoleOut() << 255;
  EXPECT_EQ(rowString(0).substr(0, 3), "255") << "reset restores decimal output";
}

}  // namespace
