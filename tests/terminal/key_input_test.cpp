// Key holding with injected time, without release events (repeat lingers) and with them (kitty
// protocol); the terminal's replies, mouse reports and arrow steering.
// Depends on: key_tracker.h, terminal_input.h, input_decoder.h, GoogleTest.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/terminal/input_decoder.h"
#include "platform/terminal/key_tracker.h"
#include "platform/terminal/terminal_input.h"

namespace {

using term::Answer, term::KeyAction, term::KeyTracker, term::TerminalInput;

void note(KeyTracker& tracker, int key, int64_t ms, KeyAction action = KeyAction::Press,
          int modifiers = 0) {
  term::InputEvent event;
  event.key = key;
  event.action = action;
  event.modifiers = modifiers;
  term::noteKeyEvent(tracker, event, ms);
}

std::vector<Answer> reply(TerminalInput& input, const std::string& bytes) {
  term::InputDecoder decoder;
  std::vector<term::InputEvent> events;
  term::decodeInput(decoder, bytes, events);
  std::vector<Answer> answers;
  for (const term::InputEvent& event : events) answers.push_back(term::noteReply(input, event));
  return answers;
}

TEST(KeyTracker, LegacyKeysLinger550MsThen100MsOnceRepeatsFlow) {
  const struct {
    std::vector<std::pair<int, int64_t>> presses;
    int virtualKey;
    int64_t at;
    bool held;
  } cases[] = {
      {{{'w', 1000}}, 'W', 1549, true},
      {{{'w', 1000}}, 'W', 1550, false},
      {{{'w', 1000}, {'w', 1500}, {'w', 1533}}, 'W', 1632, true},
      {{{'w', 1000}, {'w', 1500}, {'w', 1533}}, 'W', 1633, false},
      // The terminal repeats only the last key: a new one ends the linger of the one before.
      {{{term::kKeyDown, 0}, {term::kKeyUp, 200}}, 0x28, 201, false},
      {{{term::kKeyDown, 0}, {term::kKeyUp, 200}}, 0x26, 201, true},
  };
  for (const auto& c : cases) {
    KeyTracker tracker;
    for (const auto& [key, ms] : c.presses) note(tracker, key, ms);
    EXPECT_EQ(term::isKeyHeld(tracker, c.virtualKey, c.at), c.held) << c.at;
  }
  // A capital holds Shift until a lower-case repeat shows it let go.
  KeyTracker tracker;
  note(tracker, 'w', 8000, KeyAction::Press, term::kModShift);
  EXPECT_TRUE(term::isKeyHeld(tracker, 0x10, 8010));
  note(tracker, 'w', 8500);
  EXPECT_FALSE(term::isKeyHeld(tracker, 0x10, 8510));
  EXPECT_TRUE(term::isKeyHeld(tracker, 'W', 8510));
}

TEST(KeyTracker, APressCountsOnceAndATapBetweenPollsIsSeenOnce) {
  for (const bool exact : {false, true}) {
    KeyTracker tracker;
    tracker.exact = exact;
    note(tracker, term::kKeyEnter, 0);
    note(tracker, term::kKeyEnter, 500, KeyAction::Repeat);
    EXPECT_TRUE(term::takeKeyPress(tracker, 0x0D)) << exact;
    EXPECT_FALSE(term::takeKeyPress(tracker, 0x0D)) << "repeats are no presses";
    note(tracker, term::kKeyEnter, 540, KeyAction::Release);
    note(tracker, term::kKeyEnter, 2000);
    term::forgetKeyPresses(tracker);
    EXPECT_FALSE(term::takeKeyPress(tracker, 0x0D)) << "keys typed into the dialogue";
    note(tracker, term::kKeyEnter, 2100, KeyAction::Release);
    note(tracker, term::kKeyEnter, 4000);
    term::queryKeyHeld(tracker, 0x0D, 4001);
    EXPECT_FALSE(term::takeKeyPress(tracker, 0x0D)) << "any query forgets a press";
  }
  KeyTracker tracker;
  tracker.exact = true;
  note(tracker, 'w', 70000);
  note(tracker, 'w', 70000, KeyAction::Release);
  EXPECT_TRUE(term::queryKeyHeld(tracker, 'W', 70001));
  EXPECT_FALSE(term::queryKeyHeld(tracker, 'W', 70002));
  EXPECT_FALSE(term::isKeyHeld(tracker, 256, 0) || term::takeKeyPress(tracker, -1));
}

TEST(TerminalInput, AKittyTerminalsRepliesSwitchOnExactKeysPixelMouseAndSynchronizedOutput) {
  TerminalInput input;
  term::measureCells(input, 120, 0);
  note(input.keys, 'w', 0);
  EXPECT_EQ(reply(input, "\x1b[?0u\x1b[?1016;2$y\x1b[?2026;2$y\x1b[4;820;1200t\x1b[?62;22c"),
            (std::vector{Answer::PushKeyboard, Answer::PixelMouse, Answer::SynchronizedOutput,
                         Answer::None, Answer::None}));
  EXPECT_TRUE(input.attributesAnswered && input.pixelMouse);
  EXPECT_EQ(input.cellWidth, 10);
  EXPECT_FALSE(term::isKeyHeld(input.keys, 'W', 1)) << "a legacy linger would see no release";
  EXPECT_EQ(reply(input, "\x1b[?0u\x1b[?1016;2$y"), (std::vector{Answer::None, Answer::None}));
  // From now on a key is held from its press to its release, however long.
  reply(input, "\x1b[119u");
  note(input.keys, 'w', 0);
  EXPECT_TRUE(term::isKeyHeld(input.keys, 'W', 60000));
  note(input.keys, 'w', 60001, KeyAction::Release);
  EXPECT_FALSE(term::isKeyHeld(input.keys, 'W', 60001));
  // A terminal without these answers that the modes are unknown: nothing is switched on.
  TerminalInput plain;
  EXPECT_EQ(reply(plain, "\x1b[?1016;0$y\x1b[?2026;0$y"),
            (std::vector{Answer::None, Answer::None}));
}

TEST(TerminalInput, CellWidthAndMouseReportsInCellsOrPixels) {
  // The window size's pixel width wins over the window-size reply's (1600); no width, or one
  // narrower than the columns, gives 8.
  const std::pair<int, int> widths[] = {{1200, 10}, {0, 13}, {50, 8}};
  for (const auto& [pixelWidth, cellWidth] : widths) {
    TerminalInput input;
    term::measureCells(input, 120, pixelWidth);
    reply(input, "\x1b[4;820;1600t");
    EXPECT_EQ(input.cellWidth, cellWidth) << pixelWidth;
  }
  for (const bool pixels : {false, true}) {
    TerminalInput input;
    term::measureCells(input, 120, 1200);
    if (pixels) reply(input, "\x1b[?1016;1$y");
    input.pointer = term::makeVirtualPointer(600, 400);
    reply(input, "\x1b[<35;11;5M");
    EXPECT_EQ(term::pointerX(input.pointer), 600) << "the first report does not jump";
    reply(input, "\x1b[<35;14;9M");
    EXPECT_EQ(term::pointerX(input.pointer), pixels ? 603 : 630);
    EXPECT_EQ(term::pointerY(input.pointer), pixels ? 404 : 480);
    term::movePointer(input.pointer, 949, 300);  // the game's wrap at the monitor's edge
    reply(input, "\x1b[<35;13;9M");
    EXPECT_EQ(term::pointerX(input.pointer), pixels ? 948 : 939);
  }
}

TEST(TerminalInput, LeftAndRightHeldTurnThirtyPixelsEachReading) {
  const struct {
    const char* bytes;
    int dx;
  } cases[] = {{"\x1b[D", -30}, {"\x1b[C", 30}, {"\x1b[1;1:1D\x1b[1;1:3D", -30}, {"w", 0}};
  for (const auto& c : cases) {
    TerminalInput input;
    input.pointer = term::makeVirtualPointer(600, 400);
    term::InputDecoder decoder;
    std::vector<term::InputEvent> events;
    term::decodeInput(decoder, c.bytes, events);
    for (const term::InputEvent& event : events) term::noteKeyEvent(input.keys, event, 0);
    term::steerWithArrows(input, 10);
    EXPECT_EQ(term::pointerX(input.pointer), 600 + c.dx) << c.bytes + 1;
  }
}

}  // namespace
