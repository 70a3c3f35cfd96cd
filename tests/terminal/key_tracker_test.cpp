// Tests of key holding with injected time: repeat lingers without release events, exact holds
// with the kitty protocol, presses counted once. Depends on: key_tracker.h, GoogleTest.
#include "platform/terminal/key_tracker.h"

#include <gtest/gtest.h>

namespace {

using term::KeyAction;

constexpr int kVkW = 'W';
constexpr int kVkShift = 0x10;
constexpr int kVkReturn = 0x0D;

term::InputEvent key(int code, KeyAction action = KeyAction::Press, int modifiers = 0) {
  term::InputEvent event;
  event.key = code;
  event.action = action;
  event.modifiers = modifiers;
  return event;
}

TEST(KeyTracker, MapsDecodedKeysToVirtualKeys) {
  const struct {
    int key;
    int virtualKey;
  } cases[] = {{'w', 'W'},
               {'a', 'A'},
               {'s', 'S'},
               {'d', 'D'},
               {' ', 0x20},
               {'5', '5'},
               {term::kKeyEnter, 0x0D},
               {term::kKeyTab, 0x09},
               {term::kKeyShift, 0x10},
               {term::kKeyUp, 0x26},
               {term::kKeyDown, 0x28},
               {term::kKeyLeft, 0x25},
               {term::kKeyRight, 0x27},
               {term::kKeyOther, 0},
               {0xE9, 0}};
  for (const auto& c : cases) EXPECT_EQ(term::virtualKeyOf(c.key), c.virtualKey) << c.key;
}

TEST(KeyTracker, LegacyKeyLingersAcrossTheRepeatDelayThenBriefly) {
  term::KeyTracker tracker;
  term::noteKeyEvent(tracker, key('w'), 1000);
  EXPECT_TRUE(term::isKeyHeld(tracker, kVkW, 1000));
  EXPECT_TRUE(term::isKeyHeld(tracker, kVkW, 1000 + term::kFirstRepeatLingerMs - 1));
  // The terminal's first repeat comes after its delay; then repeats flow every ~33 ms.
  term::noteKeyEvent(tracker, key('w'), 1500);
  term::noteKeyEvent(tracker, key('w'), 1533);
  EXPECT_TRUE(term::isKeyHeld(tracker, kVkW, 1533 + term::kRepeatLingerMs - 1));
  EXPECT_FALSE(term::isKeyHeld(tracker, kVkW, 1533 + term::kRepeatLingerMs));
  // A tap with no repeats ends after the first linger.
  term::noteKeyEvent(tracker, key('w'), 5000);
  EXPECT_FALSE(term::isKeyHeld(tracker, kVkW, 5000 + term::kFirstRepeatLingerMs));
}

TEST(KeyTracker, LegacyNewKeyEndsTheLingerOfTheLastOne) {
  term::KeyTracker tracker;
  term::noteKeyEvent(tracker, key(term::kKeyDown), 0);
  term::noteKeyEvent(tracker, key(term::kKeyUp), 200);
  EXPECT_FALSE(term::isKeyHeld(tracker, 0x28, 201));
  EXPECT_TRUE(term::isKeyHeld(tracker, 0x26, 201));
  EXPECT_TRUE(term::takeKeyPress(tracker, 0x28)) << "the press itself still counts";
}

TEST(KeyTracker, LegacyCapitalHoldsShiftUntilALowerCaseKeyArrives) {
  term::KeyTracker tracker;
  term::noteKeyEvent(tracker, key('w', KeyAction::Press, term::kModShift), 0);
  EXPECT_TRUE(term::isKeyHeld(tracker, kVkW, 10));
  EXPECT_TRUE(term::isKeyHeld(tracker, kVkShift, 10));
  term::noteKeyEvent(tracker, key('w', KeyAction::Press, term::kModShift), 500);
  term::noteKeyEvent(tracker, key('w'), 530);  // Shift let go, W still repeating
  EXPECT_TRUE(term::isKeyHeld(tracker, kVkW, 540));
  EXPECT_FALSE(term::isKeyHeld(tracker, kVkShift, 540));
}

TEST(KeyTracker, KittyEventsHoldExactlyUntilRelease) {
  term::KeyTracker tracker;
  tracker.exact = true;
  term::noteKeyEvent(tracker, key(term::kKeyShift), 0);
  term::noteKeyEvent(tracker, key('w', KeyAction::Press, term::kModShift), 10);
  EXPECT_TRUE(term::isKeyHeld(tracker, kVkW, 60000));
  EXPECT_TRUE(term::isKeyHeld(tracker, kVkShift, 60000));
  term::noteKeyEvent(tracker, key(term::kKeyShift, KeyAction::Release), 60001);
  EXPECT_FALSE(term::isKeyHeld(tracker, kVkShift, 60001));
  EXPECT_TRUE(term::isKeyHeld(tracker, kVkW, 60001));
  term::noteKeyEvent(tracker, key('w', KeyAction::Release), 60002);
  EXPECT_FALSE(term::isKeyHeld(tracker, kVkW, 60002));
}

TEST(KeyTracker, ATapBetweenTwoPollsIsHeldForOneQuery) {
  term::KeyTracker tracker;
  tracker.exact = true;
  term::noteKeyEvent(tracker, key('w'), 0);
  term::noteKeyEvent(tracker, key('w', KeyAction::Release), 0);
  EXPECT_FALSE(term::isKeyHeld(tracker, kVkW, 1));
  EXPECT_TRUE(term::queryKeyHeld(tracker, kVkW, 1));
  EXPECT_FALSE(term::queryKeyHeld(tracker, kVkW, 2));
  // A key still down stays held past its first query.
  term::noteKeyEvent(tracker, key('w'), 10);
  EXPECT_TRUE(term::queryKeyHeld(tracker, kVkW, 11));
  EXPECT_TRUE(term::queryKeyHeld(tracker, kVkW, 5000));
  // Keys typed into the dialogue leave nothing behind.
  term::noteKeyEvent(tracker, key(term::kKeyEnter), 6000);
  term::noteKeyEvent(tracker, key(term::kKeyEnter, KeyAction::Release), 6001);
  term::forgetKeyPresses(tracker);
  EXPECT_FALSE(term::queryKeyHeld(tracker, kVkReturn, 6002));
}

TEST(KeyTracker, APressCountsOnceAndRepeatsDoNotCount) {
  for (bool exact : {false, true}) {
    term::KeyTracker tracker;
    tracker.exact = exact;
    EXPECT_FALSE(term::takeKeyPress(tracker, kVkReturn));
    term::noteKeyEvent(tracker, key(term::kKeyEnter), 0);
    term::noteKeyEvent(tracker, key(term::kKeyEnter, KeyAction::Repeat), 500);
    EXPECT_TRUE(term::takeKeyPress(tracker, kVkReturn)) << exact;
    EXPECT_FALSE(term::takeKeyPress(tracker, kVkReturn)) << exact;
    term::noteKeyEvent(tracker, key(term::kKeyEnter, KeyAction::Repeat), 530);
    EXPECT_FALSE(term::takeKeyPress(tracker, kVkReturn)) << exact;
    // Let go and pressed again: a second press.
    term::noteKeyEvent(tracker, key(term::kKeyEnter, KeyAction::Release), 540);
    term::noteKeyEvent(tracker, key(term::kKeyEnter), 2000);
    EXPECT_TRUE(term::takeKeyPress(tracker, kVkReturn)) << exact;
    term::noteKeyEvent(tracker, key(term::kKeyEnter), 4000);
    term::forgetKeyPresses(tracker);
    EXPECT_FALSE(term::takeKeyPress(tracker, kVkReturn)) << exact;
  }
}

TEST(KeyTracker, OutOfRangeQueriesAreNeverHeld) {
  term::KeyTracker tracker;
  EXPECT_FALSE(term::isKeyHeld(tracker, -1, 0));
  EXPECT_FALSE(term::isKeyHeld(tracker, 256, 0));
  EXPECT_FALSE(term::takeKeyPress(tracker, 1000));
}

}  // namespace
