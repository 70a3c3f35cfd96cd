// Tests of the scripted backend: keys pressed once, the typed input and session reset.
// Depends on: platform/platform.h, platform/scripted.h, GoogleTest.
#include "platform/scripted.h"

#include <gtest/gtest.h>

#include <istream>
#include <ostream>
#include <string>

#include "platform/platform.h"

namespace {

using platform::keyHeld, platform::keyPressedSinceLastQuery, platform::kVkReturn;

TEST(ScriptedBackend, KeysHeldAndPressedOnce) {
  scripted::reset();
  scripted::setKeyHeld('W', true);
  EXPECT_TRUE(keyHeld('W') && keyHeld('W')) << "holding is not consumed by reading";
  EXPECT_FALSE(keyPressedSinceLastQuery('W')) << "holding is not a press";
  scripted::pressKey(kVkReturn);
  EXPECT_FALSE(keyHeld(kVkReturn));
  EXPECT_FALSE(keyPressedSinceLastQuery(kVkReturn)) << "any query forgets the earlier press";
  scripted::pressKey(kVkReturn);
  EXPECT_TRUE(keyPressedSinceLastQuery(kVkReturn));
  EXPECT_FALSE(keyPressedSinceLastQuery(kVkReturn));
  scripted::setKeyHeld(-1, true);
  scripted::pressKey(300);
  EXPECT_FALSE(keyHeld(-1) || keyPressedSinceLastQuery(300)) << "no such keys";
  scripted::pressKey(kVkReturn);
  scripted::reset();
  EXPECT_FALSE(keyHeld('W') || keyPressedSinceLastQuery(kVkReturn)) << "reset forgets all";
}

TEST(ScriptedBackend, TypedInputEndsAndAResetRestoresTheStreams) {
  scripted::reset();
  scripted::setInput("80 25\n");
  int width = 0, height = 0;
  EXPECT_TRUE(platform::consoleIn() >> width >> height);
  EXPECT_EQ(width * 100 + height, 8025);
  EXPECT_FALSE(platform::consoleIn() >> width);
  scripted::setInput("7");
  EXPECT_TRUE(platform::consoleIn() >> width) << "new input clears the end of input";
  platform::consoleOut() << std::hex;
  scripted::setInput("9");
  scripted::reset();
  EXPECT_FALSE(platform::consoleIn() >> width) << "no input after a reset";
  platform::consoleOut() << 255;
  EXPECT_EQ(rowText(scripted::console(), 0).substr(0, 3), "255");
}

}  // namespace
