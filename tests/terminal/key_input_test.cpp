// Key holding with injected time in each source (kitty protocol, win32-input-mode, repeat
// lingers, the X server's key state): the focus, recorded random typing, keys already down when
// a source takes over; recorded random conversations choosing the key protocol from the
// terminal's replies and TERMINAL_KEYS, with mouse reports and arrow steering; and the X key
// state's seams: keycodes, focus judged over a window tree, the learned repeat.
// Depends on: key_tracker.h, terminal_input.h, input_decoder.h, x11_keys.h, GoogleTest.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/terminal/input_decoder.h"
#include "platform/terminal/key_tracker.h"
#include "platform/terminal/terminal_input.h"
#include "platform/terminal/x11_keys.h"

namespace {

using term::Focus, term::isKeyHeld, term::TerminalInput;

// The bytes as the terminal backend takes them at a moment: keys to noteKey, everything else
// to the replies; the answers come back, one per event.
std::vector<unsigned> feed(TerminalInput& input, const std::string& bytes, int64_t ms = 0) {
  term::InputDecoder decoder;
  std::vector<term::InputEvent> events;
  term::decodeInput(decoder, bytes, events);
  std::vector<unsigned> answers;
  for (const term::InputEvent& event : events) {
    const bool key = event.kind == term::EventKind::Key;
    answers.push_back(key ? term::noteKey(input, event, ms) : term::noteReply(input, event, ms));
  }
  return answers;
}

// Each game key (the right Shift and the keypad's Enter too, and one that is none) as the sources
// send it: the kitty protocol's code (or the cursor key's final byte), its text, its win32
// virtual-key code and character, and its X key symbol and the keycode a PC keyboard gives it.
struct GameKey {
  int virtualKey;
  int kittyCode;
  char cursorFinal;
  const char* text;
  int character;
  unsigned long xSymbol;
  int xKeycode;
};
constexpr GameKey kGameKeys[] = {
    {'W', 'w', 0, "w", 'w', 'w', 25},           {'A', 'a', 0, "a", 'a', 'a', 38},
    {'S', 's', 0, "s", 's', 's', 39},           {'D', 'd', 0, "d", 'd', 'd', 40},
    {0x10, 57441, 0, "W", 0, 0xffe1, 50},       {' ', ' ', 0, " ", ' ', ' ', 65},
    {0x09, 9, 0, "\t", 9, 0xff09, 23},          {0x0D, 13, 0, "\r", 13, 0xff0d, 36},
    {0x26, 0, 'A', "\x1b[A", 0, 0xff52, 111},   {0x28, 0, 'B', "\x1b[B", 0, 0xff54, 116},
    {0x25, 0, 'D', "\x1bOD", 0, 0xff51, 113},   {0x27, 0, 'C', "\x1b[C", 0, 0xff53, 114},
    {0x10, 57447, 0, "W", 0, 0xffe2, 62},       {0x0D, 57414, 0, "\r", 13, 0xff8d, 104},
    {0x74, 57364, 0, "\x1b[15~", 0, 0xffc2, 71}};  // F5: no game key

enum class Source { Kitty, Win32, Lingers, XServer };
enum class Step { Press = 1, Repeat, Release };

std::string keyBytes(Source source, const GameKey& key, Step step) {
  const std::string type = std::to_string(static_cast<int>(step));
  switch (source) {
    case Source::Kitty:
      return key.cursorFinal ? "\x1b[1;1:" + type + key.cursorFinal
                             : "\x1b[" + std::to_string(key.kittyCode) + ";1:" + type + "u";
    case Source::Win32:
      return "\x1b[" + std::to_string(key.virtualKey) + ";0;" + std::to_string(key.character) +
             (step == Step::Release ? ";0;0;1_" : ";1;0;1_");
    case Source::Lingers:  // no release: Shift's shows as the next key typed without it
      return step != Step::Release ? key.text : key.virtualKey == 0x10 ? "w" : "";
    case Source::XServer:  // the terminal's bytes, beside the server's keymap
      return step != Step::Release ? key.text : "";
  }
  return "";
}

// The X server's keymap with these keys down, as a poll reads it.
term::KeySet serverKeys(const std::vector<const GameKey*>& down) {
  const term::XKeyCodes codes = term::mapXKeys([](unsigned long symbol) {
    for (const GameKey& key : kGameKeys) {
      if (key.xSymbol == symbol) return key.xKeycode;
    }
    return 0;
  });
  char keymap[32] = {};
  for (const GameKey* key : down)
    keymap[key->xKeycode / 8] |= static_cast<char>(1 << key->xKeycode % 8);
  return term::keysDownIn(codes, keymap);
}

TerminalInput inputFor(Source source) {
  TerminalInput input;
  input.keys.exact = source == Source::Kitty || source == Source::Win32;
  input.win32InForce = source == Source::Win32;
  if (source == Source::XServer) term::noteServerKeys(input.keys, true, {});
  return input;
}

// Alt+Tab in each source: a key held when the focus goes elsewhere is let go at once, and the
// focus coming back lets go of nothing (nor presses what is down).
TEST(KeySources, LosingTheFocusLetsGoOfEveryKeyAndRegainingItOfNone) {
  for (const Source source : {Source::Kitty, Source::Win32, Source::Lingers, Source::XServer}) {
    TerminalInput input = inputFor(source);
    if (source == Source::XServer)
      term::noteServerKeys(input.keys, true, serverKeys({&kGameKeys[3]}));
    feed(input, keyBytes(source, kGameKeys[3], Step::Press), 1000);
    feed(input, "\x1b[I", 1000);
    EXPECT_TRUE(isKeyHeld(input.keys, 'D', 1001)) << static_cast<int>(source);
    EXPECT_EQ(input.reportedFocus, Focus::Ours);
    feed(input, "\x1b[O", 1001);
    EXPECT_FALSE(isKeyHeld(input.keys, 'D', 1002)) << static_cast<int>(source);
    EXPECT_EQ(input.reportedFocus, Focus::Elsewhere);
  }
  // The X server's word counting again (its window has the focus back) with a key down: that key
  // may have gone down anywhere, so it is no press.
  term::KeyTracker tracker;
  term::noteServerKeys(tracker, false, {});
  term::noteServerKeys(tracker, true, term::KeySet().set('D'));
  EXPECT_FALSE(term::takeKeyPress(tracker, 'D', 0));
}

// Random typing through a source, read as a fast game reads it: a key down before the source
// took over, taps and holds repeated after a delay at an interval (only the last key pressed,
// now and then late), two keys rolled together, stuttered taps that pass for a press and its
// repeats, the source taken over anew with a key pressed just as a held one would have repeated,
// the focus lost and regained, presses forgotten, the X server's keymap polled every 4 ms (for a
// while another keyboard's, for a while unreadable). Each game key's held state at every
// millisecond and its presses, all hashed. A change in holding, lingers, learned repeat timing,
// press counting or the answers to the terminal shows as another digest (record anew after a
// deliberate change).
uint64_t randomTraffic(Source source) {
  std::mt19937 random(20240611);
  const auto upTo = [&](int64_t limit) { return static_cast<int64_t>(random() % limit); };
  TerminalInput input = inputFor(source);
  term::takeOverKeys(input.keys, input.keys.exact, 0);
  uint64_t digest = 14695981039346656037u;
  const auto note = [&](uint64_t value) { digest = (digest ^ value) * 1099511628211u; };
  const auto send = [&](const GameKey& key, Step step, int64_t ms) {
    for (const unsigned answer : feed(input, keyBytes(source, key, step), ms)) note(answer);
  };
  struct Held {
    const GameKey* key;
    int64_t nextRepeatMs, releaseMs;
  };
  // Enter is down as the source takes over (it started the program): repeats come, no press.
  std::vector<Held> held = {{&kGameKeys[7], 300, 1000}};
  std::multimap<int64_t, std::pair<const GameKey*, Step>> taps;
  int64_t onTheEdge = -1;
  for (int64_t ms = 0; ms < 60000; ++ms) {
    // Four terminals' auto-repeat in turn, one of them fast enough that a repeat late by more
    // than an interval still finds its key held.
    const int64_t delay = std::array{450, 650, 850, 300}[ms / 15000];
    const int64_t interval = std::array{10, 40, 25, 50}[ms / 15000];
    if (ms % 3000 == 1500) {
      term::takeOverKeys(input.keys, input.keys.exact, ms);
      onTheEdge = ms + term::firstRepeatLinger(input.keys.repeat);
    }
    if (ms % 3000 == 1600 && random() % 2) term::forgetKeyPresses(input.keys);
    const GameKey& key = kGameKeys[upTo(std::size(kGameKeys))];
    const bool stuttering = ms % 5000 >= 4000 && ms % 5000 < 4300;
    if (((random() % 900 == 0 && !stuttering) || ms == onTheEdge || ms == 9800) &&
        std::none_of(held.begin(), held.end(), [&](const Held& h) { return h.key == &key; })) {
      held.push_back({&key, ms + delay + upTo(3), ms + (random() % 2 ? upTo(150) : 2000)});
      send(key, Step::Press, ms);
      if (random() % 4 == 0) taps.emplace(ms, std::pair{&kGameKeys[4 + upTo(4)], Step::Press});
    }
    if (ms % 5000 == 4000) {  // alone, the first gap twice the later ones, as a delay and repeats
      for (const Held& h : held) send(*h.key, Step::Release, ms);
      held.clear();
      for (const int64_t at : {0, 2, 3, 4}) {
        taps.emplace(ms + 1 + at * 60, std::pair{&key, Step::Press});
      }
      taps.emplace(ms + 242, std::pair{&key, Step::Release});
    }
    for (; !taps.empty() && taps.begin()->first <= ms; taps.erase(taps.begin())) {
      send(*taps.begin()->second.first, taps.begin()->second.second, ms);
    }
    for (size_t i = 0; i < held.size(); ++i) {
      if (ms >= held[i].releaseMs) {
        send(*held[i].key, Step::Release, ms);
        held.erase(held.begin() + static_cast<std::ptrdiff_t>(i--));
      } else if (i + 1 == held.size() && ms >= held[i].nextRepeatMs) {
        send(*held[i].key, Step::Repeat, ms);
        held[i].nextRepeatMs =
            ms + (random() % 30 ? interval + upTo(3) : interval * 2 + 3 + upTo(4));
      }
    }
    if (source == Source::XServer && ms % 4 == 0) {
      std::vector<const GameKey*> down;
      for (const Held& h : held) down.push_back(h.key);
      if (ms >= 20000 && ms < 26000) down.clear();
      term::noteServerKeys(input.keys, ms < 10000 || ms >= 10500, serverKeys(down));
    }
    if (random() % 3000 == 0) feed(input, random() % 2 ? "\x1b[I" : "\x1b[O", ms);
    for (const GameKey& game : kGameKeys) {
      note(isKeyHeld(input.keys, game.virtualKey, ms));
      note(ms % 2 ? term::takeKeyPress(input.keys, game.virtualKey, ms)
                  : term::queryKeyHeld(input.keys, game.virtualKey, ms));
    }
    for (const int outside : {-1, 256}) {  // no key at all
      note(isKeyHeld(input.keys, outside, ms) + term::takeKeyPress(input.keys, outside, ms) +
           term::queryKeyHeld(input.keys, outside, ms));
    }
  }
  return digest;
}

TEST(KeySources, RandomTypingInEachSourceIsReadAsRecorded) {
  const std::pair<Source, uint64_t> recorded[] = {{Source::Kitty, 10545124739861444138u},
                                                  {Source::Win32, 2336984679043809653u},
                                                  {Source::Lingers, 9428067552560562814u},
                                                  {Source::XServer, 12768780449709093943u}};
  for (const auto& [source, digest] : recorded) {
    EXPECT_EQ(randomTraffic(source), digest) << static_cast<int>(source);
  }
}

// Random conversations with terminals of every kind, as TERMINAL_KEYS chooses and the window is
// sized: replies to the start-up queries (kitty flags with and without releases, device
// attributes, each state of each mode, the pixel size), keys in every form (kitty, records,
// text, cursor keys), focus and mouse reports, the arrows steering and the game wrapping the
// pointer; the X server's repeat settings at their edges. Each answer, which protocol holds the
// keys, the cell width, the pointer and the lingers are hashed against a recording (after a
// deliberate change, record anew).
TEST(KeyProtocols, RandomConversationsGoAsRecorded) {
  // The tokens, a space between each (Enter among them).
  std::vector<std::string> tokens;
  std::istringstream tokenList(
      "\x1b[?0u \x1b[?1u \x1b[?3u \x1b[?9u \x1b[?11u \x1b[?62c \x1b[?62c \x1b[?9001;0$y "
      "\x1b[?9001;1$y \x1b[?9001;2$y \x1b[?9001;3$y \x1b[?9001;4$y \x1b[?1016;0$y "
      "\x1b[?1016;1$y \x1b[?1016;3$y \x1b[?1016;4$y \x1b[?2026;2$y \x1b[4;820;1600t "
      "\x1b[4;800;0t \x1b[I \x1b[O \x1b[100u \x1b[100;1:3u \x1b[1;1:1D \x1b[1;1:3D \x1b[67;1:1C "
      "w d \r \x1b[C \x1bOD \x1b[D \x1b[87;17;119;1;0;1_ \x1b[87;17;119;0;0;1_ "
      "\x1b[37;75;0;1;256;1_ \x1b[39;77;0;0;256;1_ \x1b[<35;11;5M \x1b[<35;14;9M \x1b[<35;1;40M");
  for (std::string token; std::getline(tokenList, token, ' ');) tokens.push_back(token);
  std::mt19937 random(99);
  uint64_t digest = 14695981039346656037u;
  const auto note = [&](int64_t value) {
    digest = (digest ^ static_cast<uint64_t>(value)) * 1099511628211u;
  };
  for (int conversation = 0; conversation < 3000; ++conversation) {
    TerminalInput input;
    input.choice =
        *term::parseKeyChoice(std::array{"", "kitty", "win32", "x11", "linger"}[random() % 5]);
    term::measureCells(input, random() % 2 ? 120 : 80, std::array{0, 1200, 50, 120}[random() % 4]);
    // The X server's repeat settings, taken only within 100 to 2000 ms of delay and 5 to 500 ms
    // of interval, the interval shorter.
    term::noteServerRepeat(input.keys.repeat, std::array{99, 100, 300, 2000, 2001}[random() % 5],
                           std::array{4, 5, 299, 300, 500, 501}[random() % 6]);
    note(term::firstRepeatLinger(input.keys.repeat) * 1000 + term::repeatLinger(input.keys.repeat));
    input.pointer = term::makeVirtualPointer(600, 400);
    for (int64_t ms = 0; ms < 3000; ms += 100) {
      for (const unsigned answer : feed(input, tokens[random() % tokens.size()], ms)) note(answer);
      if (random() % 8 == 0) term::movePointer(input.pointer, static_cast<int>(random() % 1000), 5);
      term::steerWithArrows(input.keys, input.pointer, ms);
      for (const int64_t value :
           {int64_t{input.keys.exact}, int64_t{input.win32InForce}, int64_t{input.pixelMouse},
            static_cast<int64_t>(input.kitty), int64_t{input.attributesAnswered},
            int64_t{input.cellWidth}, int64_t{term::pointerX(input.pointer)},
            int64_t{term::pointerY(input.pointer)}, int64_t{isKeyHeld(input.keys, 'D', ms)}}) {
        note(value);
      }
    }
  }
  EXPECT_EQ(digest, 13377676724371946315u);
}

// Terminal repeats of a key that the X server shows up (typed on another keyboard): from the
// third in a row the server's word is doubted, and the terminal's repeats hold the key.
TEST(XKeys, ThreeRepeatsOfAKeyTheServerShowsUpMakeItDoubted) {
  TerminalInput input = inputFor(Source::XServer);
  for (int64_t repeat = 0; repeat < 4; ++repeat) {
    feed(input, "d", repeat * 30);
    term::noteServerKeys(input.keys, true, {});
    EXPECT_EQ(isKeyHeld(input.keys, 'D', repeat * 30), repeat >= 3) << repeat;
  }
}

TEST(XKeys, TheFocusIsOursOnlyOnTheTerminalsWindowItsFrameOrItsChildren) {
  // Root 100; frame 200 holds the terminal 300, whose child is 400; 500 is another window;
  // 600 has gone away.
  const std::map<term::XWindow, term::XWindow> parents = {
      {200, 100}, {300, 200}, {400, 300}, {500, 100}};
  // The X calls answer 0 for a window they do not know.
  const auto parentOf = [&](term::XWindow w) { return parents.contains(w) ? parents.at(w) : 0; };
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

}  // namespace
