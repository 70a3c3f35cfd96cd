// Tests of key holding with injected time: repeat lingers without release events, exact holds
// with the kitty protocol, presses counted once. Depends on: key_tracker.h, GoogleTest.
#include "platform/terminal/key_tracker.h"

#include <gtest/gtest.h>

namespace {

using term::KeyAction;

constexpr int kVkW = 'W';
constexpr int kVkShift = 0x10;
constexpr int kVkReturn = 0x0D;

void note(term::KeyTracker& tracker, int key, int64_t ms, KeyAction action = KeyAction::Press,
          int modifiers = 0) {
  term::InputEvent event;
  event.key = key;
  event.action = action;
  event.modifiers = modifiers;
  term::noteKeyEvent(tracker, event, ms);
}

TEST(KeyTracker, MapsDecodedKeysToVirtualKeys) {
  using namespace term;
  const int keys[] = {'w',    ' ',      '5',      kKeyEnter, kKeyTab,   kKeyShift,
                      kKeyUp, kKeyDown, kKeyLeft, kKeyRight, kKeyOther, 0xE9};
  const int virtualKeys[] = {'W', 0x20, '5', 0x0D, 0x09, 0x10, 0x26, 0x28, 0x25, 0x27, 0, 0};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(virtualKeyOf(keys[i]), virtualKeys[i]) << keys[i];
}

TEST(KeyTracker, LegacyKeysLingerAcrossTheRepeatDelayThenBriefly) {
  term::KeyTracker tracker;
  note(tracker, 'w', 1000);
  EXPECT_TRUE(term::isKeyHeld(tracker, kVkW, 1000 + term::kUnknownFirstLingerMs - 1));
  // The terminal's first repeat comes after its delay; then repeats flow every ~33 ms.
  note(tracker, 'w', 1500);
  note(tracker, 'w', 1533);
  EXPECT_TRUE(term::isKeyHeld(tracker, kVkW, 1533 + term::repeatLinger(tracker.repeat) - 1));
  EXPECT_FALSE(term::isKeyHeld(tracker, kVkW, 1533 + term::repeatLinger(tracker.repeat)));
  // A tap with no repeats ends after the first linger.
  note(tracker, 'w', 5000);
  EXPECT_FALSE(term::isKeyHeld(tracker, kVkW, 5000 + term::firstRepeatLinger(tracker.repeat)));

  // A new key ends the linger of the last one; its press still counts.
  note(tracker, term::kKeyDown, 6000);
  note(tracker, term::kKeyUp, 6200);
  EXPECT_FALSE(term::isKeyHeld(tracker, 0x28, 6201));
  EXPECT_TRUE(term::isKeyHeld(tracker, 0x26, 6201));
  EXPECT_TRUE(term::takeKeyPress(tracker, 0x28));

  // A capital holds Shift until a lower-case repeat shows it let go.
  note(tracker, 'w', 8000, KeyAction::Press, term::kModShift);
  EXPECT_TRUE(term::isKeyHeld(tracker, kVkShift, 8010));
  note(tracker, 'w', 8500, KeyAction::Press, term::kModShift);
  note(tracker, 'w', 8530);
  EXPECT_TRUE(term::isKeyHeld(tracker, kVkW, 8540));
  EXPECT_FALSE(term::isKeyHeld(tracker, kVkShift, 8540));
}

TEST(KeyTracker, KittyEventsHoldExactlyAndATapBetweenPollsCountsOnce) {
  term::KeyTracker tracker;
  tracker.exact = true;
  note(tracker, term::kKeyShift, 0);
  note(tracker, 'w', 10, KeyAction::Press, term::kModShift);
  EXPECT_TRUE(term::isKeyHeld(tracker, kVkW, 60000));
  note(tracker, term::kKeyShift, 60001, KeyAction::Release);
  EXPECT_FALSE(term::isKeyHeld(tracker, kVkShift, 60001));
  EXPECT_TRUE(term::isKeyHeld(tracker, kVkW, 60001));
  note(tracker, 'w', 60002, KeyAction::Release);
  EXPECT_FALSE(term::isKeyHeld(tracker, kVkW, 60002));

  note(tracker, 'w', 70000);
  note(tracker, 'w', 70000, KeyAction::Release);
  EXPECT_FALSE(term::isKeyHeld(tracker, kVkW, 70001));
  EXPECT_TRUE(term::queryKeyHeld(tracker, kVkW, 70001));
  EXPECT_FALSE(term::queryKeyHeld(tracker, kVkW, 70002));
  // A key still down stays held past its first query.
  note(tracker, 'w', 70010);
  EXPECT_TRUE(term::queryKeyHeld(tracker, kVkW, 70011));
  EXPECT_TRUE(term::queryKeyHeld(tracker, kVkW, 75000));
  // Keys typed into the dialogue leave nothing behind.
  note(tracker, term::kKeyEnter, 76000);
  note(tracker, term::kKeyEnter, 76001, KeyAction::Release);
  term::forgetKeyPresses(tracker);
  EXPECT_FALSE(term::queryKeyHeld(tracker, kVkReturn, 76002));
}

TEST(KeyTracker, APressCountsOnceAndRepeatsDoNotCount) {
  for (bool exact : {false, true}) {
    term::KeyTracker tracker;
    tracker.exact = exact;
    EXPECT_FALSE(term::takeKeyPress(tracker, kVkReturn));
    note(tracker, term::kKeyEnter, 0);
    note(tracker, term::kKeyEnter, 500, KeyAction::Repeat);
    EXPECT_TRUE(term::takeKeyPress(tracker, kVkReturn)) << exact;
    EXPECT_FALSE(term::takeKeyPress(tracker, kVkReturn)) << exact;
    note(tracker, term::kKeyEnter, 530, KeyAction::Repeat);
    EXPECT_FALSE(term::takeKeyPress(tracker, kVkReturn)) << exact;
    // Let go and pressed again: a second press, unless forgotten.
    note(tracker, term::kKeyEnter, 540, KeyAction::Release);
    note(tracker, term::kKeyEnter, 2000);
    EXPECT_TRUE(term::takeKeyPress(tracker, kVkReturn)) << exact;
    note(tracker, term::kKeyEnter, 4000);
    term::forgetKeyPresses(tracker);
    EXPECT_FALSE(term::takeKeyPress(tracker, kVkReturn)) << exact;
    // Any query of the key forgets its press too, as on the console.
    note(tracker, term::kKeyEnter, 4100, KeyAction::Release);
    note(tracker, term::kKeyEnter, 6000);
    term::queryKeyHeld(tracker, kVkReturn, 6001);
    EXPECT_FALSE(term::takeKeyPress(tracker, kVkReturn)) << exact;
  }
  term::KeyTracker tracker;
  EXPECT_FALSE(term::isKeyHeld(tracker, -1, 0));
  EXPECT_FALSE(term::isKeyHeld(tracker, 256, 0));
  EXPECT_FALSE(term::takeKeyPress(tracker, 1000));
}

}  // namespace
