// The frame encoder against a real terminal emulator: its bytes are fed to libvterm and the
// emulated screen (characters, colours, cursor) must match the console model after every flush,
// across frames, resizes, "cls" and colour changes, with full blocks painted and as glyphs. Depends
// on: frame_encoder.h, cp437.h, platform/console_model.h, libvterm, GoogleTest.
#include "platform/terminal/frame_encoder.h"

#include <gtest/gtest.h>
#include <vterm.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>

#include "platform/terminal/cp437.h"

namespace {

uint32_t codePointOf(std::string_view utf8) {
  unsigned char lead = static_cast<unsigned char>(utf8[0]);
  if (lead < 0x80) return lead;
  uint32_t cp = lead & (lead >= 0xE0 ? 0x0F : 0x1F);
  for (size_t i = 1; i < utf8.size(); ++i) cp = (cp << 6) | (utf8[i] & 0x3F);
  return cp;
}

// Console colour (blue 1, green 2, red 4, bright 8) as the terminal's palette index.
int paletteIndex(int consoleColour) {
  int rgb = ((consoleColour & 1) << 2) | (consoleColour & 2) | ((consoleColour & 4) >> 2);
  return rgb | (consoleColour & 8);
}

// The colour a cell shows: -1 for the terminal's default, otherwise its palette index.
int shownColour(const VTermColor& colour, bool background) {
  if (background ? VTERM_COLOR_IS_DEFAULT_BG(&colour) : VTERM_COLOR_IS_DEFAULT_FG(&colour)) {
    return -1;
  }
  return VTERM_COLOR_IS_INDEXED(&colour) ? colour.indexed.idx : -2;
}

// The console model, the encoder's view of the terminal, and libvterm fed with its bytes.
struct Session {
  ConsoleModel console;
  term::ShownScreen shown;
  VTerm* vt;
  VTermScreen* screen;
  bool cursorVisible = true;
  uint64_t digest = 14695981039346656037u;  // FNV-1a of every byte sent

  Session(int width, int height, bool paintBlocks) : console(makeConsole(width, height)) {
    shown.paintBlocks = paintBlocks;
    vt = vterm_new(height, width);
    vterm_set_utf8(vt, 1);
    screen = vterm_obtain_screen(vt);
    static VTermScreenCallbacks callbacks{};
    callbacks.settermprop = [](VTermProp prop, VTermValue* value, void* user) {
      if (prop == VTERM_PROP_CURSORVISIBLE)
        static_cast<Session*>(user)->cursorVisible = value->boolean;
      return 1;
    };
    vterm_screen_set_callbacks(screen, &callbacks, this);
    vterm_screen_reset(screen, 1);
  }
  ~Session() { vterm_free(vt); }

  void flush(const std::string& step) {
    const std::string bytes = term::encodeUpdate(shown, console);
    for (const unsigned char byte : bytes) digest = (digest ^ byte) * 1099511628211u;
    vterm_input_write(vt, bytes.data(), bytes.size());
    expectSameScreen(step);
    EXPECT_EQ(term::encodeUpdate(shown, console), "") << step << ": a second flush sends nothing";
  }
  void resize(int width, int height) {
    resizeConsole(console, width, height);
    vterm_set_size(vt, height, width);
    shown.width = 0;
  }

  // Every cell must look as the console shows it: the glyph, its colours (the default
  // attribute in the terminal's own colours; a blank's foreground does not show; a painted
  // block is a blank in the block's colour), and the cursor.
  void expectSameScreen(const std::string& step) {
    int mismatches = 0;
    for (int y = 0; y < console.height && mismatches < 5; ++y) {
      for (int x = 0; x < console.width && mismatches < 5; ++x) {
        VTermScreenCell cell;
        vterm_screen_get_cell(screen, VTermPos{y, x}, &cell);
        const bool painted = shown.paintBlocks && charAt(console, x, y) == '\xDB';
        uint8_t attribute = attributeAt(console, x, y);
        if (painted) attribute = (attribute & 15) * 0x11;
        const bool plain = attribute == kDefaultAttribute;
        const uint32_t expected =
            painted ? ' ' : codePointOf(term::glyphFor(charAt(console, x, y)));
        const uint32_t glyph = cell.chars[0] == 0 ? ' ' : cell.chars[0];
        if (glyph != expected ||
            shownColour(cell.bg, true) != (plain ? -1 : paletteIndex(attribute >> 4)) ||
            (expected != ' ' &&
             shownColour(cell.fg, false) != (plain ? -1 : paletteIndex(attribute & 15)))) {
          ++mismatches;
          ADD_FAILURE() << step << ": cell (" << x << ", " << y << ") shows U+" << std::hex << glyph
                        << " expected U+" << expected << " attribute " << int(attribute);
        }
      }
    }
    EXPECT_EQ(cursorVisible, console.cursorVisible) << step;
    if (console.cursorVisible) {
      VTermPos cursor;
      vterm_state_get_cursorpos(vterm_obtain_state(vt), &cursor);
      EXPECT_EQ(cursor.col, console.cursorX) << step;
      EXPECT_EQ(cursor.row, console.cursorY) << step;
    }
  }
};

// Every byte once, then runs of one character in one attribute, as frames and menus have them:
// blanks, wall blocks and any byte, in the default attribute or any other.
uint64_t randomRuns(Session&& s) {
  for (size_t i = 0; i < s.console.chars.size(); ++i) s.console.chars[i] = static_cast<char>(i);
  s.flush("every byte");
  std::mt19937 random(12345);
  for (int step = 0; step < 300; ++step) {
    for (int run = static_cast<int>(random() % 6); run > 0; --run) {
      const size_t size = s.console.chars.size();
      const size_t from = random() % size, to = std::min(size, from + 1 + random() % 60);
      const char c = random() % 3 == 0 ? ' ' : random() % 2 ? '\xDB' : char(random() % 256);
      const uint8_t attribute = random() % 3 == 0 ? kDefaultAttribute : random() % 256;
      std::fill(s.console.chars.begin() + from, s.console.chars.begin() + to, c);
      std::fill(s.console.attrs.begin() + from, s.console.attrs.begin() + to, attribute);
    }
    if (random() % 25 == 0) setConsoleColours(s.console, random() % 2 ? 3 : 0, 15);
    if (random() % 40 == 0) clearConsole(s.console);
    if (random() % 50 == 0) s.resize(1 + random() % 50, 1 + random() % 15);
    s.console.cursorVisible = random() % 3 == 0;
    setCursor(s.console, random() % 50, random() % 15);
    s.flush("step " + std::to_string(step));
  }
  return s.digest;
}

// Beyond what the screen shows, the bytes themselves as recorded: which cells are rewritten,
// skipped or erased and which colours are reused (after a deliberate change, record anew).
TEST(FrameEncoder, RandomRunsOfCellsCommandsResizesAndCursorMatchTheTerminal) {
  const std::pair<bool, uint64_t> recorded[] = {{true, 244195354131507192u},
                                                {false, 3516050026160735677u}};
  for (const auto& [paintBlocks, digest] : recorded) {
    SCOPED_TRACE(paintBlocks ? "blocks painted" : "blocks as glyphs");
    EXPECT_EQ(randomRuns(Session(40, 12, paintBlocks)), digest);
  }
}

// Blocks are painted everywhere but on the Linux console (TERM linux and its variants), whose
// backgrounds have no bright colours.
TEST(FrameEncoder, BlocksArePaintedButOnTheLinuxConsole) {
  const std::pair<const char*, bool> terminals[] = {{nullptr, true},  {"", true},
                                                    {"linu", true},   {"xlinux", true},
                                                    {"linux", false}, {"linux-16color", false}};
  for (const auto& [name, painted] : terminals) {
    EXPECT_EQ(term::paintsBlocks(name), painted) << (name ? name : "TERM unset");
  }
}

}  // namespace
