// Tests of the scripted backend: keys pressed once, the console streams and session reset.
// Depends on: platform/platform.h, platform/scripted.h, GoogleTest.
#include "platform/scripted.h"

#include <gtest/gtest.h>

#include <istream>
#include <ostream>
#include <string>

#include "platform/platform.h"

namespace {

std::string row(int y) {
  return std::string(rowText(scripted::console(), y));
}

TEST(ScriptedBackend, KeysHeldAndPressedOnce) {
  using platform::keyHeld, platform::keyPressedSinceLastQuery, platform::kVkReturn;
  scripted::reset();
  scripted::setKeyHeld('W', true);
  EXPECT_TRUE(keyHeld('W'));
  EXPECT_TRUE(keyHeld('W')) << "holding is not consumed by reading";
  EXPECT_FALSE(keyPressedSinceLastQuery('W')) << "holding is not a press";
  scripted::setKeyHeld('W', false);
  EXPECT_FALSE(keyHeld('W'));

  scripted::pressKey(kVkReturn);
  EXPECT_FALSE(keyHeld(kVkReturn));
  EXPECT_FALSE(keyPressedSinceLastQuery(kVkReturn)) << "any query forgets the earlier press";
  scripted::pressKey(kVkReturn);
  EXPECT_TRUE(keyPressedSinceLastQuery(kVkReturn));
  EXPECT_FALSE(keyPressedSinceLastQuery(kVkReturn));

  // Codes outside the virtual-key range are never held nor pressed; reset forgets everything.
  scripted::setKeyHeld(-1, true);
  scripted::pressKey(300);
  EXPECT_FALSE(keyHeld(-1));
  EXPECT_FALSE(keyPressedSinceLastQuery(300));
  scripted::setKeyHeld(platform::kVkShift, true);
  scripted::pressKey(platform::kVkUp);
  scripted::reset();
  EXPECT_FALSE(keyHeld(platform::kVkShift));
  EXPECT_FALSE(keyPressedSinceLastQuery(platform::kVkUp));
}

TEST(ScriptedBackend, InputStreamReadsNumbersThenEnds) {
  scripted::reset();
  scripted::setInput("80 25\n");
  int width = 0, height = 0, more = 0;
  EXPECT_TRUE(platform::consoleIn() >> width >> height);
  EXPECT_EQ(width, 80);
  EXPECT_EQ(height, 25);
  EXPECT_FALSE(platform::consoleIn() >> more);
  EXPECT_TRUE(platform::consoleIn().eof());

  scripted::setInput("abc 7");
  EXPECT_TRUE(platform::consoleIn().good()) << "new input clears the end-of-input state";
  EXPECT_FALSE(platform::consoleIn() >> more);
  EXPECT_TRUE(platform::consoleIn().fail());

  // A reset leaves no input and restores decimal output.
  platform::consoleOut() << std::hex;
  scripted::reset();
  EXPECT_TRUE(platform::consoleIn().good());
  std::string word;
  EXPECT_FALSE(platform::consoleIn() >> word);
  platform::consoleOut() << 255;
  EXPECT_EQ(row(0).substr(0, 3), "255");
}

}  // namespace
