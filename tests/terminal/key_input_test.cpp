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

using term::Answer, term::isKeyHeld, term::TerminalInput;

// The bytes as the terminal backend takes them at a moment: keys to the key tracker, everything
// else to the replies; the answers come back.
std::vector<Answer> feed(TerminalInput& input, const std::string& bytes, int64_t ms = 0) {
  term::InputDecoder decoder;
  std::vector<term::InputEvent> events;
  term::decodeInput(decoder, bytes, events);
  std::vector<Answer> answers;
  for (const term::InputEvent& event : events) {
    if (event.kind == term::EventKind::Key) term::noteKeyEvent(input.keys, event, ms);
    if (event.kind != term::EventKind::Key) answers.push_back(term::noteReply(input, event));
  }
  return answers;
}

// Nothing learned yet, the first repeat is awaited 700 ms; a delay of 500 and an interval of 33
// once seen, 532 and 49.
TEST(KeyTracker, LegacyKeysLingerForTheRepeatDelayThenTheInterval) {
  const struct {
    std::vector<std::pair<const char*, int64_t>> keys;
    int virtualKey;
    int64_t at;
    bool held;
  } cases[] = {
      {{{"w", 1000}}, 'W', 1699, true},
      {{{"w", 1000}}, 'W', 1700, false},
      {{{"w", 1000}, {"w", 1500}, {"w", 1533}}, 'W', 1581, true},
      {{{"w", 1000}, {"w", 1500}, {"w", 1533}}, 'W', 1582, false},
      // The terminal repeats only the last key: a new one ends the linger of the one before.
      {{{"\x1b[B", 0}, {"\x1b[A", 200}}, 0x28, 201, false},
      {{{"\x1b[B", 0}, {"\x1b[A", 200}}, 0x26, 201, true},
      // A capital holds Shift until a lower-case repeat shows it let go.
      {{{"W", 0}}, 0x10, 10, true},
      {{{"W", 0}, {"w", 500}}, 0x10, 510, false},
  };
  for (const auto& c : cases) {
    TerminalInput input;
    for (const auto& [bytes, ms] : c.keys) feed(input, bytes, ms);
    EXPECT_EQ(isKeyHeld(input.keys, c.virtualKey, c.at), c.held) << c.virtualKey << " " << c.at;
  }
}

TEST(KeyTracker, APressCountsOnceAndATapBetweenPollsIsSeenOnce) {
  TerminalInput input;
  feed(input, "\r");
  feed(input, "\r", 500);  // the terminal's repeat
  EXPECT_TRUE(term::takeKeyPress(input.keys, 0x0D));
  EXPECT_FALSE(term::takeKeyPress(input.keys, 0x0D)) << "repeats are no presses";
  feed(input, "\x1b[A\r", 2000);
  term::forgetKeyPresses(input.keys);
  EXPECT_FALSE(term::takeKeyPress(input.keys, 0x0D)) << "keys typed into the dialogue";
  feed(input, "\x1b[A\r", 4000);
  term::queryKeyHeld(input.keys, 0x0D, 4001);
  EXPECT_FALSE(term::takeKeyPress(input.keys, 0x0D)) << "any query forgets a press";
  input.keys.exact = true;
  feed(input, "\x1b[119u\x1b[119;1:3u", 70000);
  EXPECT_TRUE(term::queryKeyHeld(input.keys, 'W', 70001)) << "a tap between two polls";
  EXPECT_FALSE(term::queryKeyHeld(input.keys, 'W', 70002));
  EXPECT_FALSE(isKeyHeld(input.keys, 256, 0) || term::takeKeyPress(input.keys, -1));
}

TEST(TerminalInput, AKittyTerminalsRepliesSwitchOnExactKeysPixelMouseAndSynchronizedOutput) {
  TerminalInput input;
  term::measureCells(input, 120, 0);
  feed(input, "w");
  EXPECT_EQ(feed(input, "\x1b[?0u\x1b[?1016;2$y\x1b[?2026;2$y\x1b[4;820;1200t\x1b[?62;22c"),
            (std::vector{Answer::PushKeyboard, Answer::PixelMouse, Answer::SynchronizedOutput,
                         Answer::None, Answer::None}));
  EXPECT_TRUE(input.attributesAnswered && input.pixelMouse);
  EXPECT_EQ(input.cellWidth, 10);
  EXPECT_FALSE(isKeyHeld(input.keys, 'W', 1)) << "a legacy linger would see no release";
  EXPECT_EQ(feed(input, "\x1b[?0u\x1b[?1016;2$y"), (std::vector{Answer::None, Answer::None}));
  // From now on a key is held from its press to its release, however long.
  feed(input, "\x1b[119u");
  EXPECT_TRUE(isKeyHeld(input.keys, 'W', 60000));
  feed(input, "\x1b[119;1:3u", 60001);
  EXPECT_FALSE(isKeyHeld(input.keys, 'W', 60001));
  // A terminal without these answers that the modes are unknown: nothing is switched on.
  TerminalInput plain;
  EXPECT_EQ(feed(plain, "\x1b[?1016;0$y\x1b[?2026;0$y"), (std::vector{Answer::None, Answer::None}));
}

TEST(TerminalInput, CellWidthAndMouseReportsInCellsOrPixels) {
  // The window size's pixel width wins over the window-size reply's (1600); no width, or one
  // narrower than the columns, gives 8.
  for (const auto& [pixelWidth, cellWidth] : {std::pair{1200, 10}, {0, 13}, {50, 8}}) {
    TerminalInput input;
    term::measureCells(input, 120, pixelWidth);
    feed(input, "\x1b[4;820;1600t");
    EXPECT_EQ(input.cellWidth, cellWidth) << pixelWidth;
  }
  for (const bool pixels : {false, true}) {
    TerminalInput input;
    term::measureCells(input, 120, 1200);
    if (pixels) feed(input, "\x1b[?1016;1$y");
    input.pointer = term::makeVirtualPointer(600, 400);
    feed(input, "\x1b[<35;11;5M");
    EXPECT_EQ(term::pointerX(input.pointer), 600) << "the first report does not jump";
    feed(input, "\x1b[<35;14;9M");
    EXPECT_EQ(term::pointerX(input.pointer), pixels ? 603 : 630);
    EXPECT_EQ(term::pointerY(input.pointer), pixels ? 404 : 480);
    term::movePointer(input.pointer, 949, 300);  // the game's wrap at the monitor's edge
    feed(input, "\x1b[<35;13;9M");
    EXPECT_EQ(term::pointerX(input.pointer), pixels ? 948 : 939);
  }
}

TEST(TerminalInput, LeftAndRightHeldTurnThirtyPixelsEachReading) {
  const std::pair<const char*, int> cases[] = {
      {"\x1b[D", -30}, {"\x1b[C", 30}, {"\x1b[1;1:1D\x1b[1;1:3D", -30}, {"w", 0}};
  for (const auto& [bytes, dx] : cases) {
    TerminalInput input;
    input.pointer = term::makeVirtualPointer(600, 400);
    feed(input, bytes);
    term::steerWithArrows(input.keys, input.pointer, 10);
    EXPECT_EQ(term::pointerX(input.pointer), 600 + dx) << bytes + 1;
  }
}

}  // namespace
