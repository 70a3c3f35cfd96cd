// Tests of the input decoder: legacy keys and escapes, kitty keys, mouse reports, replies,
// and malformed input (the fuzzer checks sequences cut across reads). Depends on: input_decoder.h,
// GoogleTest.
#include "platform/terminal/input_decoder.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

using term::EventKind;
using term::InputEvent;
using term::KeyForm;

// One event in a few words: "W+S rel 'W'" is a key with its modifiers (S, A, C), action and
// typed text; mouse reports and query replies name their kind and numbers.
std::string describe(const InputEvent& e) {
  switch (e.kind) {
    case EventKind::Mouse:
      return "mouse " + std::to_string(e.x) + "," + std::to_string(e.y);
    case EventKind::KeyboardFlags:
      return "flags " + std::to_string(e.number);
    case EventKind::ModeReport:
      return "mode " + std::to_string(e.number) + "=" + std::to_string(e.value);
    case EventKind::WindowPixels:
      return "pixels " + std::to_string(e.x) + "x" + std::to_string(e.y);
    case EventKind::DeviceAttributes:
      return "attributes " + std::to_string(e.number);
    case EventKind::Focus:
      return "focus " + std::to_string(e.number);
    case EventKind::Key:
      break;
  }
  using namespace term;
  const std::map<int, std::string> names = {
      {kKeyTab, "tab"},     {kKeyEnter, "enter"}, {kKeyEscape, "esc"}, {kKeyBackspace, "bs"},
      {kKeyUp, "up"},       {kKeyDown, "down"},   {kKeyLeft, "left"},  {kKeyRight, "right"},
      {kKeyShift, "shift"}, {kKeyOther, "other"}, {' ', "space"}};
  std::string text = names.contains(e.key) ? names.at(e.key)
                     : e.key < 128         ? std::string(1, static_cast<char>(e.key))
                                           : "U+" + std::to_string(e.key);
  if (e.modifiers & kModShift) text += "+S";
  if (e.modifiers & kModAlt) text += "+A";
  if (e.modifiers & kModCtrl) text += "+C";
  if (e.modifiers & ~7) text += "+?";
  if (e.action == KeyAction::Repeat) text += " rep";
  if (e.action == KeyAction::Release) text += " rel";
  if (e.form == KeyForm::Win32Record) text += " rec";
  if (e.text != 0) text += std::string(" '") + static_cast<char>(e.text) + "'";
  return text;
}

// The events of the chunks, read one after the other, and then a pause in the input.
std::vector<InputEvent> events(const std::vector<std::string>& chunks, bool pause = false) {
  term::InputDecoder decoder;
  std::vector<InputEvent> events;
  for (const std::string& chunk : chunks) term::decodeInput(decoder, chunk, events);
  if (pause) term::flushPendingInput(decoder, events);
  return events;
}

std::string decode(const std::vector<std::string>& chunks, bool pause = false) {
  std::string text;
  for (const InputEvent& event : events(chunks, pause)) {
    text += (text.empty() ? "" : " | ") + describe(event);
  }
  return text;
}

std::string decode(const std::string& bytes) {
  return decode(std::vector{bytes});
}

TEST(InputDecoder, DecodesKeysMouseReportsAndReplies) {
  // Legacy keys and escapes, back to back.
  EXPECT_EQ(decode("wW \r\n\t\x7f\x08\x03\x1bx"),
            "w 'w' | w+S 'W' | space ' ' | enter | enter | tab | bs | bs | c+C | x+A");
  EXPECT_EQ(decode("\x1b[A\x1b[B\x1b[C\x1b[D\x1bOA\x1b[1;2D\x1b[Z\x1b[3~\xc3\xa9"),
            "up | down | right | left | up | left+S | tab+S | other | U+233");
  // The kitty keyboard protocol: press, repeat, release and modifiers (caps lock ignored).
  EXPECT_EQ(decode("\x1b[119u\x1b[119;1:1u\x1b[119;1:2u\x1b[119;1:3u\x1b[119;2u\x1b[119:87;2u"),
            "w 'w' | w 'w' | w rep 'w' | w rel | w+S 'W' | w+S 'W'");
  EXPECT_EQ(decode("\x1b[99;5u\x1b[97;65u\x1b[57441;2u\x1b[57447;1:3u\x1b[57402u\x1b[57358u"),
            "c+C | a 'a' | shift+S | shift rel | 3 '3' | other");
  EXPECT_EQ(decode("\x1b[13u\x1b[57414;1:3u\x1b[9;1:2u\x1b[127u\x1b[1;1:3A\x1b[1;2:2C"),
            "enter | enter rel | tab rep | bs | up rel | right+S rep");
  // win32-input-mode records: virtual key, scan code, character, down, control keys, repeats.
  EXPECT_EQ(
      decode("\x1b[87;17;87;1;16;1_\x1b[160;42;0;0;0;1_\x1b[51;4;35;1;16;2_\x1b[13;28;13;0;0;1_"
             "\x1b[38;72;0;1;256;1_\x1b[188;51;44;1;0_\x1b[65;30;1;1;4;1_\x1b[_"),
      "w+S rec 'W' | shift rel rec | 3+S rec '#' | 3+S rec '#' | enter rel rec | up rec | "
      ", rec ',' | a+C rec | other rel rec");
  // Keys as text are the ones every terminal sends, whatever protocol it was asked for.
  std::string forms;
  for (const InputEvent& e : events({"w\x1bOA\r\x1bw\xc3\xa9\x1b[A\x1b[119u\x1b[87;0;0;1;0;1_"})) {
    forms += "STR"[static_cast<int>(e.form)];
  }
  EXPECT_EQ(forms, "TTTTTSSR");
  // SGR mouse reports in cell and pixel mode (motion, press, release), and X10.
  EXPECT_EQ(decode("\x1b[<35;12;7M\x1b[<0;1;1M\x1b[<0;300;40m\x1b[<35;1534;620M\x1b[M#!!"),
            "mouse 12,7 | mouse 1,1 | mouse 300,40 | mouse 1534,620 | mouse 1,1");
  // The replies to the start-up queries.
  EXPECT_EQ(decode("\x1b[?1u\x1b[?1016;2$y\x1b[?2026;0$y\x1b[4;820;1600t\x1b[?62;22;52c"),
            "flags 1 | mode 1016=2 | mode 2026=0 | pixels 1600x820 | attributes 62");
  EXPECT_EQ(decode("\x1b[I\x1b[O"), "focus 1 | focus 0");
}

TEST(InputDecoder, SkipsUnknownAndMalformedInputWithoutLosingWhatFollows) {
  const std::pair<std::string, std::string> cases[] = {
      {"\x1b[>1;2;3zw", "w 'w'"},                    // unknown private sequence
      {"\x1b]11;rgb:0000/0000/0000\x07w", "w 'w'"},  // OSC reply ended by BEL
      {"\x1bP1$r0m\x1b\\w", "w 'w'"},                // DCS reply ended by ST
      {"\x1b[12\x1b[Aw", "up | w 'w'"},              // CSI cut by a new escape
      {"\x1b[1;5\x01w", "a+C | w 'w'"},              // control byte inside a CSI
      {"\xff\x80w", "w 'w'"},                        // bytes that start no UTF-8 character
      {"\xe2\x96w", "w 'w'"},                        // UTF-8 character cut short
      {"\xf4\x90\x80\x80w", "w 'w'"},                // beyond U+10FFFF, not the Up key
      // An endless parameter list is skipped to its final byte, not read as typed digits; an
      // unterminated string gives typing back after a bounded length.
      {"\x1b[" + std::string(500, '1') + "zw", "w 'w'"},
  };
  for (const auto& [bytes, expected] : cases) EXPECT_EQ(decode(bytes), expected) << bytes.substr(1);
  const std::string typed = decode("\x1b]" + std::string(5000, 'x') + "w");
  EXPECT_EQ(typed.substr(typed.size() - 5), "w 'w'");
}

TEST(InputDecoder, ALoneEscapeIsTheEscapeKeyOnlyOnceInputPausesAndCtrlCInterrupts) {
  term::InputDecoder decoder;
  std::vector<InputEvent> none;
  term::decodeInput(decoder, "\x1b", none);
  EXPECT_TRUE(none.empty() && term::hasPendingInput(decoder));
  EXPECT_EQ(decode({"\x1b"}, true), "esc");
  EXPECT_EQ(decode("\x1b\x1b[A"), "esc | up");
  // A cut sequence is dropped at the pause, so the next key is read afresh.
  EXPECT_EQ(decode({"\x1b[1;"}, true), "");

  // Ctrl+C in each protocol, also with Num Lock on and as a record's character alone; not its
  // release. Ctrl+Z likewise.
  for (const char* bytes :
       {"\x03", "\x1b[99;5u", "\x1b[99;133u", "\x1b[67;46;3;1;8;1_", "\x1b[0;0;3;1;0;1_"}) {
    EXPECT_TRUE(term::isInterrupt(events({bytes}).at(0))) << bytes + 1;
  }
  for (const char* bytes : {"\x1b[99;5:3u", "c", "\x1b[67;46;3;0;8;1_", "\x1b[90;44;26;1;8;1_"}) {
    EXPECT_FALSE(term::isInterrupt(events({bytes}).at(0))) << bytes + 1;
  }
  for (const char* bytes : {"\x1a", "\x1b[122;5u", "\x1b[90;44;26;1;8;1_"}) {
    EXPECT_TRUE(term::isSuspend(events({bytes}).at(0))) << bytes + 1;
  }
}

// Every byte alone and after ESC or SS3, every final of a CSI, kitty keys and win32 records over
// their codes' edges with each modifier and action, mouse reports, replies, UTF-8 and strings at
// their limits; each read whole, then byte by byte, then paused. Every field of every event, and
// whether it interrupts or suspends, is hashed against a recording (record anew after a
// deliberate change).
TEST(InputDecoder, ACorpusOfEdgesDecodesAsRecorded) {
  std::vector<std::string> corpus;
  for (int byte = 0; byte < 256; ++byte) {
    for (const char* lead : {"", "\x1b", "\x1bO", "\x1b[", "\x1b[1;5"}) {
      corpus.push_back(lead + std::string(1, static_cast<char>(byte)));
    }
  }
  std::vector<int> codes = {0, 8, 9, 13, 27, 31, 32, 64, 65, 90, 91, 96, 97, 122, 126, 127, 128};
  for (int code = 57398; code <= 57448; ++code) codes.push_back(code);
  codes.insert(codes.end(), {0xDFFF, 0xE000, 0xF8FF, 0xF900, 0x10FFFF, 0x110000, 99999999});
  for (const int code : codes) {
    for (const char* modifiers : {"", ";1", ";2", ";3:1", ";5:2", ";9:3", ";65", ";129:3"}) {
      corpus.push_back("\x1b[" + std::to_string(code) + modifiers + "u");
    }
  }
  for (int key = 0; key < 256; ++key) {
    for (const char* rest : {";0;0;1;0;1_", ";0;3;1;8;2_", ";0;26;1;8;1_", ";0;32;0;16;1_",
                             ";0;126;1;1;40_", ";0;127;1;4;0_", ";;;;;_"}) {
      corpus.push_back("\x1b[" + std::to_string(key) + rest);
    }
  }
  for (const char* other :
       {"\x1b[<35;1;1M",
        "\x1b[<0;0;0m",
        "\x1b[<3;;M",
        "\x1b[M   ",
        "\x1b[M\xff\x7f!",
        "\x1b[I",
        "\x1b[O",
        "\x1b[?7u",
        "\x1b[?u",
        "\x1b[?1;2c",
        "\x1b[?c",
        "\x1b[?1016;0$y",
        "\x1b[?2026;4$y",
        "\x1b[?9001;3$y",
        "\x1b[?1016$y",
        "\x1b[4;820;1600t",
        "\x1b[4;820t",
        "\x1b[3;1;2t",
        "\x1b[5~",
        "\x7f\xc2\x80\xdf\xbf\xe0\xa0\x80\xef\xbf\xbf\xf0\x90\x80\x80\xf4\x8f\xbf\xbf",
        "\xc0\x80\xc1\xbf\xf5\x80\xf4\x90\x80\x80w",
        "\x1b]0;x\x07w",
        "\x1bPx\x1b\\w",
        "\x1b[16777215;16777216;99999999u"}) {
    corpus.push_back(other);
  }
  for (const int length : {63, 64, 65, 4095, 4096, 4097}) {
    corpus.push_back("\x1b[" + std::string(length, '1') + "uw");
    corpus.push_back("\x1b]" + std::string(length, 'x') + "w");
  }
  uint64_t digest = 14695981039346656037u;
  const auto note = [&](int64_t value) {
    digest = (digest ^ static_cast<uint64_t>(value)) * 1099511628211u;
  };
  for (const std::string& bytes : corpus) {
    std::vector<std::string> whole = {bytes}, split;
    for (const char byte : bytes) split.emplace_back(1, byte);
    for (const auto& chunks : {whole, split}) {
      for (const InputEvent& e : events(chunks, true)) {
        for (const int64_t field :
             {static_cast<int>(e.kind), e.key, e.modifiers, static_cast<int>(e.action),
              static_cast<int>(e.form), e.text, e.x, e.y, e.number, e.value}) {
          note(field);
        }
        note(term::isInterrupt(e) * 2 + term::isSuspend(e));
      }
      note(-1);
    }
  }
  EXPECT_EQ(digest, 9926470085816255997u);
}

}  // namespace
