// Key holding with injected time in each source (kitty protocol, win32-input-mode, repeat
// lingers, the X server's key state), keys already down when a source takes over, the choice of
// key protocol from the terminal's replies and TERMINAL_KEYS, mouse reports and arrow steering;
// and the X key state's seams: keycodes, focus judged over a window tree, the learning linger.
// Depends on: key_tracker.h, terminal_input.h, input_decoder.h, x11_keys.h, GoogleTest.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/terminal/input_decoder.h"
#include "platform/terminal/key_tracker.h"
#include "platform/terminal/terminal_input.h"
#include "platform/terminal/x11_keys.h"

namespace {

using term::Focus, term::isKeyHeld, term::TerminalInput;
constexpr int kVkReturn = 0x0D;

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

// Each game key as the sources send it: the kitty protocol's code (or the cursor key's final
// byte), its text, its win32 virtual-key code and character, and its X key symbol and the
// keycode a PC keyboard gives it.
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
    {'W', 'w', 0, "w", 'w', 'w', 25},         {'A', 'a', 0, "a", 'a', 'a', 38},
    {'S', 's', 0, "s", 's', 's', 39},         {'D', 'd', 0, "d", 'd', 'd', 40},
    {0x10, 57441, 0, "W", 0, 0xffe1, 50},     {' ', ' ', 0, " ", ' ', ' ', 65},
    {0x09, 9, 0, "\t", 9, 0xff09, 23},        {kVkReturn, 13, 0, "\r", 13, 0xff0d, 36},
    {0x26, 0, 'A', "\x1b[A", 0, 0xff52, 111}, {0x28, 0, 'B', "\x1b[B", 0, 0xff54, 116},
    {0x25, 0, 'D', "\x1bOD", 0, 0xff51, 113}, {0x27, 0, 'C', "\x1b[C", 0, 0xff53, 114}};

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

// One step of a key in a source at a moment; the X server's keymap is polled first.
void act(Source source, TerminalInput& input, const GameKey& key, Step step, int64_t ms) {
  if (source == Source::XServer) {
    const bool down = step != Step::Release;
    term::noteServerKeys(input.keys, true,
                         serverKeys(down ? std::vector{&key} : std::vector<const GameKey*>{}));
  }
  feed(input, keyBytes(source, key, step), ms);
}

TerminalInput inputFor(Source source) {
  TerminalInput input;
  input.keys.exact = source == Source::Kitty || source == Source::Win32;
  input.win32InForce = source == Source::Win32;
  if (source == Source::XServer) term::noteServerKeys(input.keys, true, {});
  return input;
}

// Alt+Tab in each source: a key held when the focus goes elsewhere is let go at once, and the
// focus coming back lets go of nothing.
TEST(KeySources, LosingTheFocusLetsGoOfEveryKeyAndRegainingItOfNone) {
  for (const Source source : {Source::Kitty, Source::Win32, Source::Lingers, Source::XServer}) {
    TerminalInput input = inputFor(source);
    act(source, input, kGameKeys[3], Step::Press, 1000);
    feed(input, "\x1b[I", 1000);
    EXPECT_TRUE(isKeyHeld(input.keys, 'D', 1001)) << static_cast<int>(source);
    EXPECT_EQ(input.reportedFocus, Focus::Ours);
    feed(input, "\x1b[O", 1001);
    EXPECT_FALSE(isKeyHeld(input.keys, 'D', 1002)) << static_cast<int>(source);
    EXPECT_EQ(input.reportedFocus, Focus::Elsewhere);
  }
}

// Random typing through a source, read as the game reads it: keys pressed, repeated after a delay
// at an interval (only the last one pressed), let go, several down at once, the focus lost and
// regained now and then, the X server's keymap polled every 4 ms; whether each game key is held
// at every millisecond, and its press and held state once a frame, all hashed. A change in
// holding, lingers, learned repeat timing, press counting or the answers to the terminal shows as
// another digest (after a deliberate change, record anew).
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
  std::vector<Held> held;
  for (int64_t ms = 0, delay = 250, interval = 20; ms < 40000; ++ms) {
    if (ms % 10000 == 0) delay += 200, interval += 10;  // another terminal's auto-repeat
    const GameKey& key = kGameKeys[upTo(std::size(kGameKeys))];
    if (random() % 250 == 0 &&
        std::none_of(held.begin(), held.end(), [&](const Held& h) { return h.key == &key; })) {
      held.push_back({&key, ms + delay + upTo(3), ms + upTo(1500)});
      send(key, Step::Press, ms);
    }
    for (size_t i = 0; i < held.size(); ++i) {
      if (ms >= held[i].releaseMs) {
        send(*held[i].key, Step::Release, ms);
        held.erase(held.begin() + static_cast<std::ptrdiff_t>(i--));
      } else if (i + 1 == held.size() && ms >= held[i].nextRepeatMs) {
        send(*held[i].key, Step::Repeat, ms);
        held[i].nextRepeatMs = ms + interval + upTo(3);
      }
    }
    if (source == Source::XServer && ms % 4 == 0) {
      std::vector<const GameKey*> down;
      for (const Held& h : held) down.push_back(h.key);
      term::noteServerKeys(input.keys, true, serverKeys(down));
    }
    if (random() % 3000 == 0) feed(input, random() % 2 ? "\x1b[I" : "\x1b[O", ms);
    if (random() % 2000 == 0) term::forgetKeyPresses(input.keys);  // a dialogue's answer typed
    for (const GameKey& game : kGameKeys) {
      note(isKeyHeld(input.keys, game.virtualKey, ms));
      if (ms % 16 == 0) note(term::takeKeyPress(input.keys, game.virtualKey, ms));
      if (ms % 16 == 8) note(term::queryKeyHeld(input.keys, game.virtualKey, ms));
    }
    for (const int outside : {-1, 256}) {  // no key at all
      note(isKeyHeld(input.keys, outside, ms) + term::takeKeyPress(input.keys, outside, ms) +
           term::queryKeyHeld(input.keys, outside, ms));
    }
  }
  return digest;
}

TEST(KeySources, RandomTypingInEachSourceIsReadAsRecorded) {
  const std::pair<Source, uint64_t> recorded[] = {{Source::Kitty, 11632869828947490727u},
                                                  {Source::Win32, 6624334129617234976u},
                                                  {Source::Lingers, 9621329328861208340u},
                                                  {Source::XServer, 13299354790367886310u}};
  for (const auto& [source, digest] : recorded) {
    EXPECT_EQ(randomTraffic(source), digest) << static_cast<int>(source);
  }
}

// Enter held since before the program started (it started the program) repeats at 40 ms; a
// fresh press within the first-repeat delay is told from it by the repeat that does not follow.
TEST(KeySources, AKeyDownWhenItsSourceTakesOverIsNoPressUntilSeenUp) {
  for (const Source source : {Source::Kitty, Source::Win32, Source::Lingers}) {
    const GameKey& enter = kGameKeys[7];
    const auto at = [&](Step step, int64_t ms, TerminalInput& input) {
      feed(input, keyBytes(source, enter, step), ms);
    };
    TerminalInput held = inputFor(source);
    term::takeOverKeys(held.keys, held.keys.exact, 0);
    at(Step::Repeat, 300, held);
    at(Step::Repeat, 340, held);
    EXPECT_FALSE(term::takeKeyPress(held.keys, kVkReturn, 450)) << static_cast<int>(source);
    // Seen up, its next press is one at once; without releases it is doubtful a little longer.
    at(Step::Release, 350, held);
    at(Step::Press, 500, held);
    EXPECT_EQ(term::takeKeyPress(held.keys, kVkReturn, 501), source != Source::Lingers);
    EXPECT_EQ(term::takeKeyPress(held.keys, kVkReturn, 600), source == Source::Lingers);

    TerminalInput fresh = inputFor(source);
    term::takeOverKeys(fresh.keys, fresh.keys.exact, 0);
    at(Step::Press, 300, fresh);
    EXPECT_EQ(term::takeKeyPress(fresh.keys, kVkReturn, 301), source == Source::Kitty);
    EXPECT_EQ(term::takeKeyPress(fresh.keys, kVkReturn, 400), source != Source::Kitty);
  }
}

// Each start-up exchange: the answers, whether keys end up exact, and which protocol is on.
TEST(KeyProtocols, TheRepliesChooseKittyOnlyWithReleasesThenWin32) {
  using term::kAskWin32, term::kPopKeyboard, term::kPushKeyboard;
  const char* const kStart = "\x1b[?0u\x1b[?62c";
  const struct {
    const char* keys;
    std::vector<const char*> replies;
    std::vector<std::vector<unsigned>> answers;
    bool exact;
  } cases[] = {
      {"", {kStart, "\x1b[?11u\x1b[?62c"}, {{kPushKeyboard, 0}, {0, 0}}, true},
      // Flags without release events, or no read-back at all: not exact after all.
      {"", {kStart, "\x1b[?9u\x1b[?62c"}, {{kPushKeyboard, 0}, {kPopKeyboard | kAskWin32, 0}}, 0},
      {"", {kStart, "\x1b[?62c"}, {{kPushKeyboard, 0}, {kPopKeyboard | kAskWin32}}, false},
      {"", {"\x1b[?62c", "\x1b[?9001;1$y"}, {{kAskWin32}, {0}}, true},
      {"", {"\x1b[?62c", "\x1b[?9001;2$y"}, {{kAskWin32}, {0}}, false},
      {"win32", {"\x1b[?62c", "\x1b[?9001;3$y"}, {{kAskWin32}, {0}}, true},
      {"kitty", {"\x1b[?62c"}, {{0}}, false},
      {"x11", {kStart, "\x1b[?62c"}, {{0, 0}, {0}}, false},
      {"linger", {kStart}, {{0, 0}}, false},
  };
  for (const auto& c : cases) {
    TerminalInput input;
    input.choice = *term::parseKeyChoice(c.keys);
    for (size_t reply = 0; reply < c.replies.size(); ++reply) {
      EXPECT_EQ(feed(input, c.replies[reply], 10), c.answers[reply]) << c.replies[reply] + 1;
    }
    EXPECT_TRUE(input.attributesAnswered);
    EXPECT_EQ(input.keys.exact, c.exact) << c.keys << " " << c.replies.back() + 1;
  }
  // Queries only for what the choice allows; a value it cannot mean is no choice.
  EXPECT_EQ(term::startQueries(*term::parseKeyChoice(nullptr)).substr(0, 4), "\x1b[?u");
  EXPECT_EQ(term::startQueries(*term::parseKeyChoice("x11")).substr(0, 4), "\x1b[?1");
  EXPECT_FALSE(term::parseKeyChoice("kity") || term::parseKeyChoice("X11"));
}

TEST(KeyProtocols, RecordsTakeOverAnywhereAndALegacyGameKeyEndsExactKeysWithNoneStuck) {
  TerminalInput input;
  feed(input, "\x1b[?0u\x1b[?62c\x1b[?11u\x1b[?62c", 0);
  feed(input, "\x1b[100u\x1b[87;17;119;1;0;1_", 5000);  // D by kitty, then W by record
  EXPECT_TRUE(input.win32InForce && input.keys.exact);
  EXPECT_FALSE(isKeyHeld(input.keys, 'D', 5001)) << "no release of D will come as a kitty key";
  EXPECT_TRUE(isKeyHeld(input.keys, 'W', 60000));
  feed(input, "\x1b[87;17;119;0;0;1_", 60001);
  EXPECT_FALSE(isKeyHeld(input.keys, 'W', 60001));
  // A terminal whose protocol is not in force after all sends legacy game keys: the lingers
  // take over with no key stuck, and the next protocol is asked for. (CSI cursor keys are the
  // kitty protocol's own presses.)
  for (const GameKey& key : kGameKeys) {
    if (std::string(key.text).starts_with("\x1b[")) continue;
    TerminalInput kitty;
    feed(kitty, "\x1b[?0u\x1b[?62c\x1b[?11u\x1b[?62c", 0);
    const char held = key.virtualKey == 'D' ? 'W' : 'D';
    feed(kitty, "\x1b[" + std::to_string(held - 'A' + 'a') + "u", 1000);
    EXPECT_EQ(feed(kitty, key.text, 1100).back(), term::kPopKeyboard | term::kAskWin32) << key.text;
    EXPECT_FALSE(kitty.keys.exact || isKeyHeld(kitty.keys, held, 1100)) << key.text;
    EXPECT_FALSE(isKeyHeld(kitty.keys, key.virtualKey, 1900)) << key.text;
  }
  feed(input, "w", 70000);
  feed(input, "\x1b[87;17;119;1;0;1_", 70001);
  EXPECT_FALSE(input.keys.exact) << "records that came with legacy keys are not trusted again";
  // A mode report of pixel mouse or synchronized output in each state: 1 to 3 mean it exists.
  for (int state = 0; state <= 4; ++state) {
    TerminalInput modes;
    const std::string value = std::to_string(state);
    const bool has = state >= 1 && state <= 3;
    EXPECT_EQ(feed(modes, "\x1b[?1016;" + value + "$y\x1b[?2026;" + value + "$y"),
              (std::vector<unsigned>{has ? term::kPixelMouse : 0u,
                                     has ? term::kSynchronizedOutput : 0u}));
    EXPECT_EQ(modes.pixelMouse, has);
  }
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
  const std::pair<const char*, int> cases[] = {{"\x1b[D", -30},
                                               {"\x1b[C", 30},
                                               {"\x1b[1;1:1D\x1b[1;1:3D", -30},
                                               {"\x1b[37;75;0;1;256;1_", -30},
                                               {"w", 0}};
  for (const auto& [bytes, dx] : cases) {
    TerminalInput input;
    input.pointer = term::makeVirtualPointer(600, 400);
    feed(input, bytes);
    term::steerWithArrows(input.keys, input.pointer, 10);
    EXPECT_EQ(term::pointerX(input.pointer), 600 + dx) << bytes + 1;
  }
}

void note(term::KeyTracker& tracker, int key, int64_t ms) {
  term::noteKeyEvent(tracker, term::InputEvent{term::EventKind::Key, key}, ms);
}

// What a table gives a key, 0 for a key it lacks, as the X calls answer.
template <typename Key, typename Value>
Value lookup(const std::map<Key, Value>& table, Key key) {
  const auto found = table.find(key);
  return found == table.end() ? 0 : found->second;
}

TEST(XKeys, BothShiftsAndBothEntersCount) {
  // An X server's keycodes: the right Shift and the keypad's Enter are Shift and Enter too.
  const std::map<unsigned long, int> keycodes = {{'w', 25},    {0xff53, 114}, {0xffe1, 50},
                                                 {0xffe2, 62}, {0xff0d, 36},  {0xff8d, 104}};
  const term::XKeyCodes codes =
      term::mapXKeys([&](unsigned long symbol) { return lookup(keycodes, symbol); });
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

// The X server's repeat settings are taken within a believable delay (100 to 2000 ms) and
// interval (5 to 500 ms, and shorter than the delay); the first linger follows the delay.
TEST(RepeatTiming, OnlyBelievableServerSettingsAreTaken) {
  const struct {
    int delay, interval;
    bool taken;
  } cases[] = {{100, 5, true},     {99, 5, false},    {100, 4, false},  {2000, 500, true},
               {2001, 500, false}, {600, 501, false}, {300, 299, true}, {300, 300, false}};
  for (const auto& c : cases) {
    term::RepeatTiming timing;
    term::noteServerRepeat(timing, c.delay, c.interval);
    EXPECT_EQ(term::firstRepeatLinger(timing), c.taken ? c.delay + 32 : 700) << c.delay;
    EXPECT_EQ(term::repeatLinger(timing), c.taken ? c.interval + 16 : 100) << c.interval;
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
  term::noteServerKeys(tracker, true, none);
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
  // Focus lost while Enter is down: nothing is held, and with no word from the server the
  // lingers take over.
  term::noteServerKeys(tracker, true, enter);
  term::releaseAllKeys(tracker);
  EXPECT_FALSE(term::isKeyHeld(tracker, kVkReturn, 80003));
  term::noteServerKeys(tracker, false, none);
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
