// Tests of the key sources behind their seams: a keymap recorded from an X server, focus judged
// over a window tree, the learning linger at three repeat settings, and the key tracker on the
// server's key state. Depends on: x11_keys.h, key_tracker.h, GoogleTest.
#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "platform/terminal/key_tracker.h"
#include "platform/terminal/x11_keys.h"

namespace {

using term::Focus;
constexpr int kVkReturn = 0x0D;

void note(term::KeyTracker& tracker, int key, int64_t ms) {
  term::noteKeyEvent(tracker, term::InputEvent{term::EventKind::Key, key}, ms);
}

// What a table gives a key, 0 for a key it lacks, as the X calls answer.
template <typename Key, typename Value>
Value lookup(const std::map<Key, Value>& table, Key key) {
  const auto found = table.find(key);
  return found == table.end() ? 0 : found->second;
}

TEST(XKeys, ARecordedKeymapShowsTheKeysDown) {
  // An X server's keycodes, and its keymap while W, Right and the left Shift were down.
  const std::map<unsigned long, int> keycodes = {{'w', 25},    {0xff53, 114}, {0xffe1, 50},
                                                 {0xffe2, 62}, {0xff0d, 36},  {0xff8d, 104}};
  const term::XKeyCodes codes =
      term::mapXKeys([&](unsigned long symbol) { return lookup(keycodes, symbol); });
  const char recorded[32] = {0, 0, 0, 2, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0, 4};
  EXPECT_EQ(term::keysDownIn(codes, recorded), term::KeySet().set('W').set(0x27).set(0x10));
  // The right Shift and the keypad's Enter are Shift and Enter too.
  const char rightHand[32] = {0, 0, 0, 0, 0, 0, 0, 0x40, 0, 0, 0, 0, 0, 1};
  EXPECT_EQ(term::keysDownIn(codes, rightHand), term::KeySet().set(0x10).set(kVkReturn));
}

TEST(XKeys, TheFocusIsOursOnlyOnTheTerminalsWindowItsFrameOrItsChildren) {
  // Root 100; frame 200 holds the terminal 300, whose child is 400; 500 is another window;
  // 600 has gone away.
  const std::map<term::XWindow, term::XWindow> parents = {
      {200, 100}, {300, 200}, {400, 300}, {500, 100}};
  const auto parentOf = [&](term::XWindow window) { return lookup(parents, window); };
  const struct {
    term::XWindow focus, terminal;
    Focus expected;
  } cases[] = {{300, 300, Focus::Ours},      {200, 300, Focus::Ours},    {400, 300, Focus::Ours},
               {500, 300, Focus::Elsewhere}, {100, 300, Focus::Unknown}, {1, 300, Focus::Unknown},
               {600, 300, Focus::Unknown},   {500, 0, Focus::Unknown}};
  for (const auto& c : cases) {
    EXPECT_EQ(term::judgeFocus(c.focus, c.terminal, 100, parentOf), c.expected) << c.focus;
  }
}

TEST(RepeatTiming, HoldingNeverStallsAndAReleaseShowsWithinTheIntervalAndAFrame) {
  for (const auto& [delay, interval] : {std::pair{660, 40}, {500, 33}, {250, 20}}) {
    term::KeyTracker tracker;
    // The first hold is met with nothing known, the second with what the first taught.
    for (const int64_t start : {0, 10000}) {
      std::vector<int64_t> events = {start};
      for (int64_t t = start + delay; t <= start + 2000; t += interval) events.push_back(t);
      size_t next = 0;
      for (int64_t now = start; now <= events.back(); ++now) {
        while (next < events.size() && events[next] <= now) note(tracker, 'w', events[next++]);
        ASSERT_TRUE(term::isKeyHeld(tracker, 'W', now)) << delay << " at " << now - start;
      }
      EXPECT_FALSE(term::isKeyHeld(tracker, 'W', events.back() + interval + 16)) << delay;
    }
    // A tap lingers for the learned delay and a little more, not for the unknown one.
    note(tracker, 'w', 20000);
    EXPECT_FALSE(term::isKeyHeld(tracker, 'W', 20000 + delay + 40)) << delay;
  }
}

TEST(KeyTracker, TheServerKeyStateHoldsAndEachPressCountsOnce) {
  term::KeyTracker tracker;
  const term::KeySet none, enter = term::KeySet().set(kVkReturn);
  // The Enter that started the program is still down at the first polls: no press.
  for (int poll = 0; poll < 3; ++poll) term::noteServerKeys(tracker, true, enter);
  note(tracker, term::kKeyEnter, 0);
  EXPECT_FALSE(term::takeKeyPress(tracker, kVkReturn, 0));
  // Once seen up, the server shows the press first, the terminal's byte and a repeat follow.
  term::noteServerKeys(tracker, true, none);
  term::noteServerKeys(tracker, true, enter);
  note(tracker, term::kKeyEnter, 0);
  note(tracker, term::kKeyEnter, 660);
  EXPECT_TRUE(term::takeKeyPress(tracker, kVkReturn, 660));
  term::noteServerKeys(tracker, true, enter);  // a poll while it is held is no new press
  EXPECT_FALSE(term::takeKeyPress(tracker, kVkReturn, 660));
  EXPECT_TRUE(term::isKeyHeld(tracker, kVkReturn, 60000));
  term::noteServerKeys(tracker, true, none);
  EXPECT_FALSE(term::isKeyHeld(tracker, kVkReturn, 60001));
  // The byte first, then the server: still one press.
  note(tracker, term::kKeyEnter, 70000);
  term::noteServerKeys(tracker, true, enter);
  EXPECT_TRUE(term::takeKeyPress(tracker, kVkReturn, 70000));
  EXPECT_FALSE(term::takeKeyPress(tracker, kVkReturn, 70000));
  // A tap between two polls counts as held once.
  term::noteServerKeys(tracker, true, none);
  note(tracker, 'w', 80000);
  EXPECT_TRUE(term::queryKeyHeld(tracker, 'W', 80001));
  EXPECT_FALSE(term::queryKeyHeld(tracker, 'W', 80002));
  // Focus lost, then no word from the server: the lingers take over with nothing stuck down.
  term::releaseAllKeys(tracker);
  term::noteServerKeys(tracker, false, none);
  EXPECT_FALSE(term::isKeyHeld(tracker, 'W', 80003));
  note(tracker, 'w', 90000);
  EXPECT_TRUE(term::isKeyHeld(tracker, 'W', 90100));
  // A server showing up a key the terminal keeps repeating is another keyboard's.
  for (const int64_t ms : {100000, 100600, 100640, 100680}) {
    term::noteServerKeys(tracker, true, none);
    note(tracker, 'w', ms);
  }
  EXPECT_TRUE(term::isKeyHeld(tracker, 'W', 100700));
}

}  // namespace
