// Tests of the input decoder: legacy keys and escapes, kitty keys, mouse reports, replies,
// sequences cut across reads and malformed input. Depends on: input_decoder.h, GoogleTest.
#include "platform/terminal/input_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using term::EventKind;
using term::InputEvent;
using term::KeyAction;

std::vector<InputEvent> decode(const std::vector<std::string>& chunks, bool flush = false) {
  term::InputDecoder decoder;
  std::vector<InputEvent> events;
  for (const std::string& chunk : chunks) term::decodeInput(decoder, chunk, events);
  if (flush) term::flushPendingInput(decoder, events);
  return events;
}

std::vector<InputEvent> decode(const std::string& bytes) {
  return decode(std::vector{bytes});
}

struct KeyCase {
  const char* name;
  std::string bytes;
  int key;
  int modifiers;
  KeyAction action;
  int text;
};

void expectKey(const InputEvent& event, const KeyCase& expected) {
  EXPECT_EQ(event.kind, EventKind::Key) << expected.name;
  EXPECT_EQ(event.key, expected.key) << expected.name;
  EXPECT_EQ(event.modifiers, expected.modifiers) << expected.name;
  EXPECT_EQ(event.action, expected.action) << expected.name;
  EXPECT_EQ(event.text, expected.text) << expected.name;
}

TEST(InputDecoder, DecodesOneKeyPerSequence) {
  const int shift = term::kModShift, ctrl = term::kModCtrl, alt = term::kModAlt;
  const KeyCase cases[] = {
      {"letter", "w", 'w', 0, KeyAction::Press, 'w'},
      {"capital is shift", "W", 'w', shift, KeyAction::Press, 'W'},
      {"digit", "7", '7', 0, KeyAction::Press, '7'},
      {"space", " ", ' ', 0, KeyAction::Press, ' '},
      {"carriage return", "\r", term::kKeyEnter, 0, KeyAction::Press, 0},
      {"line feed", "\n", term::kKeyEnter, 0, KeyAction::Press, 0},
      {"tab", "\t", term::kKeyTab, 0, KeyAction::Press, 0},
      {"delete", "\x7f", term::kKeyBackspace, 0, KeyAction::Press, 0},
      {"backspace", "\x08", term::kKeyBackspace, 0, KeyAction::Press, 0},
      {"ctrl c", "\x03", 'c', ctrl, KeyAction::Press, 0},
      {"alt x", "\x1bx", 'x', alt, KeyAction::Press, 0},
      {"up", "\x1b[A", term::kKeyUp, 0, KeyAction::Press, 0},
      {"down", "\x1b[B", term::kKeyDown, 0, KeyAction::Press, 0},
      {"right", "\x1b[C", term::kKeyRight, 0, KeyAction::Press, 0},
      {"left", "\x1b[D", term::kKeyLeft, 0, KeyAction::Press, 0},
      {"application up", "\x1bOA", term::kKeyUp, 0, KeyAction::Press, 0},
      {"shift left", "\x1b[1;2D", term::kKeyLeft, shift, KeyAction::Press, 0},
      {"back tab", "\x1b[Z", term::kKeyTab, shift, KeyAction::Press, 0},
      {"delete key", "\x1b[3~", term::kKeyOther, 0, KeyAction::Press, 0},
      {"utf-8", "\xc3\xa9", 0xE9, 0, KeyAction::Press, 0},
      // kitty keyboard protocol
      {"kitty press", "\x1b[119u", 'w', 0, KeyAction::Press, 'w'},
      {"kitty explicit press", "\x1b[119;1:1u", 'w', 0, KeyAction::Press, 'w'},
      {"kitty repeat", "\x1b[119;1:2u", 'w', 0, KeyAction::Repeat, 'w'},
      {"kitty release", "\x1b[119;1:3u", 'w', 0, KeyAction::Release, 0},
      {"kitty shifted", "\x1b[119;2u", 'w', shift, KeyAction::Press, 'W'},
      {"kitty ctrl c", "\x1b[99;5u", 'c', ctrl, KeyAction::Press, 0},
      {"kitty caps lock ignored", "\x1b[97;65u", 'a', 0, KeyAction::Press, 'a'},
      {"kitty left shift", "\x1b[57441;2u", term::kKeyShift, shift, KeyAction::Press, 0},
      {"kitty right shift up", "\x1b[57447;1:3u", term::kKeyShift, 0, KeyAction::Release, 0},
      {"kitty enter", "\x1b[13u", term::kKeyEnter, 0, KeyAction::Press, 0},
      {"kitty keypad enter", "\x1b[57414;1:3u", term::kKeyEnter, 0, KeyAction::Release, 0},
      {"kitty tab", "\x1b[9;1:2u", term::kKeyTab, 0, KeyAction::Repeat, 0},
      {"kitty backspace", "\x1b[127u", term::kKeyBackspace, 0, KeyAction::Press, 0},
      {"kitty keypad digit", "\x1b[57402u", '3', 0, KeyAction::Press, '3'},
      {"kitty alternate key", "\x1b[119:87;2u", 'w', shift, KeyAction::Press, 'W'},
      {"kitty up release", "\x1b[1;1:3A", term::kKeyUp, 0, KeyAction::Release, 0},
      {"kitty shift right repeat", "\x1b[1;2:2C", term::kKeyRight, shift, KeyAction::Repeat, 0},
      {"kitty private use key", "\x1b[57358u", term::kKeyOther, 0, KeyAction::Press, 0},
  };
  for (const KeyCase& c : cases) {
    std::vector<InputEvent> events = decode(c.bytes);
    ASSERT_EQ(events.size(), 1u) << c.name;
    expectKey(events[0], c);
  }
}

TEST(InputDecoder, ReportsTheMouseInCellsAndPixels) {
  struct {
    std::string bytes;
    int x, y;
  } cases[] = {
      {"\x1b[<35;12;7M", 12, 7},          // motion without a button
      {"\x1b[<0;1;1M", 1, 1},             // press
      {"\x1b[<0;300;40m", 300, 40},       // release
      {"\x1b[<35;1534;620M", 1534, 620},  // pixel mode reports in the same form
      {"\x1b[M#!!", 1, 1},                // X10 form from a terminal without SGR
  };
  for (const auto& c : cases) {
    std::vector<InputEvent> events = decode(c.bytes);
    ASSERT_EQ(events.size(), 1u) << c.bytes.substr(1);
    EXPECT_EQ(events[0].kind, EventKind::Mouse);
    EXPECT_EQ(events[0].x, c.x);
    EXPECT_EQ(events[0].y, c.y);
  }
}

TEST(InputDecoder, ReadsTheRepliesToStartUpQueries) {
  std::vector<InputEvent> events =
      decode("\x1b[?1u\x1b[?1016;2$y\x1b[?2026;0$y\x1b[4;820;1600t\x1b[?62;22;52c");
  ASSERT_EQ(events.size(), 5u);
  EXPECT_EQ(events[0].kind, EventKind::KeyboardFlags);
  EXPECT_EQ(events[0].number, 1);
  EXPECT_EQ(events[1].kind, EventKind::ModeReport);
  EXPECT_EQ(events[1].number, 1016);
  EXPECT_EQ(events[1].value, 2);
  EXPECT_EQ(events[2].kind, EventKind::ModeReport);
  EXPECT_EQ(events[2].number, 2026);
  EXPECT_EQ(events[2].value, 0);
  EXPECT_EQ(events[3].kind, EventKind::WindowPixels);
  EXPECT_EQ(events[3].x, 1600);
  EXPECT_EQ(events[3].y, 820);
  EXPECT_EQ(events[4].kind, EventKind::DeviceAttributes);
  EXPECT_EQ(events[4].number, 62);
}

TEST(InputDecoder, JoinsSequencesCutAcrossReads) {
  const std::string stream = "a\x1b[119;1:3u\x1b[<35;12;7M\xc3\xa9\x1b[?1u\x1bOBz";
  std::vector<InputEvent> whole = decode(stream);
  ASSERT_EQ(whole.size(), 7u);
  for (size_t cut = 1; cut < stream.size(); ++cut) {
    std::vector<InputEvent> split = decode({stream.substr(0, cut), stream.substr(cut)});
    ASSERT_EQ(split.size(), whole.size()) << "cut at " << cut;
    for (size_t i = 0; i < whole.size(); ++i) {
      EXPECT_EQ(split[i].kind, whole[i].kind) << "cut at " << cut;
      EXPECT_EQ(split[i].key, whole[i].key) << "cut at " << cut;
      EXPECT_EQ(split[i].action, whole[i].action) << "cut at " << cut;
      EXPECT_EQ(split[i].x, whole[i].x) << "cut at " << cut;
    }
  }
}

TEST(InputDecoder, SkipsUnknownAndMalformedInputWithoutLosingWhatFollows) {
  const char* cases[] = {
      "\x1b[>1;2;3zw",                    // unknown private sequence
      "\x1b]11;rgb:0000/0000/0000\x07w",  // OSC reply ended by BEL
      "\x1bP1$r0m\x1b\\w",                // DCS reply ended by ST
      "\x1b[12\x1b[Aw",                   // CSI cut by a new escape
      "\x1b[1;5\x01w",                    // control byte inside a CSI
      "\xff\x80w",                        // bytes that start no UTF-8 character
      "\xe2\x96w",                        // UTF-8 character cut short
  };
  for (const char* bytes : cases) {
    std::vector<InputEvent> events = decode(bytes);
    ASSERT_FALSE(events.empty()) << bytes + 1;
    EXPECT_EQ(events.back().key, 'w') << bytes + 1;
  }
  // An endless parameter list is skipped to its final byte, not read as typed digits.
  std::vector<InputEvent> events = decode("\x1b[" + std::string(500, '1') + "zw");
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].key, 'w');
  // An unterminated string gives typing back after a bounded length.
  events = decode("\x1b]" + std::string(5000, 'x') + "w");
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().key, 'w');
}

TEST(InputDecoder, ALoneEscapeIsTheEscapeKeyOnlyOnceInputPauses) {
  term::InputDecoder decoder;
  std::vector<InputEvent> events;
  term::decodeInput(decoder, "\x1b", events);
  EXPECT_TRUE(events.empty());
  EXPECT_TRUE(term::hasPendingInput(decoder));
  term::flushPendingInput(decoder, events);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].key, term::kKeyEscape);
  EXPECT_FALSE(term::hasPendingInput(decoder));
  // A cut sequence is dropped at the pause, so the next key is read afresh.
  events = decode(std::vector<std::string>{"\x1b[1;"}, true);
  EXPECT_TRUE(events.empty());
  events = decode("\x1b\x1b[A");
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].key, term::kKeyEscape);
  EXPECT_EQ(events[1].key, term::kKeyUp);
}

TEST(InputDecoder, RecognisesCtrlCInBothProtocols) {
  EXPECT_TRUE(term::isInterrupt(decode("\x03")[0]));
  EXPECT_TRUE(term::isInterrupt(decode("\x1b[99;5u")[0]));
  EXPECT_TRUE(term::isInterrupt(decode("\x1b[99;133u")[0]));  // with Num Lock on
  EXPECT_FALSE(term::isInterrupt(decode("\x1b[99;5:3u")[0]));
  EXPECT_FALSE(term::isInterrupt(decode("c")[0]));
}

}  // namespace
