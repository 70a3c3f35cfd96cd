// The frame encoder against a real terminal emulator: its bytes are fed to libvterm and the
// emulated screen (characters, colours, cursor) must match the console model after every flush,
// across frames, resizes, "cls" and colour changes. Depends on: frame_encoder.h, cp437.h,
// platform/console_model.h, libvterm, GoogleTest.
#include "platform/terminal/frame_encoder.h"

#include <gtest/gtest.h>
#include <vterm.h>

#include <random>
#include <string>

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

struct Emulator {
  VTerm* vt = nullptr;
  VTermScreen* screen = nullptr;
  bool cursorVisible = true;

  Emulator(int width, int height) {
    vt = vterm_new(height, width);
    vterm_set_utf8(vt, 1);
    screen = vterm_obtain_screen(vt);
    static VTermScreenCallbacks callbacks{};
    callbacks.settermprop = [](VTermProp prop, VTermValue* value, void* user) {
      if (prop == VTERM_PROP_CURSORVISIBLE)
        static_cast<Emulator*>(user)->cursorVisible = value->boolean;
      return 1;
    };
    vterm_screen_set_callbacks(screen, &callbacks, this);
    vterm_screen_reset(screen, 1);
  }
  ~Emulator() { vterm_free(vt); }

  void feed(const std::string& bytes) { vterm_input_write(vt, bytes.data(), bytes.size()); }
  void resize(int width, int height) { vterm_set_size(vt, height, width); }
};

// Every cell must look as the console shows it: the glyph, its colours (the default attribute
// in the terminal's own colours), and for blanks the background.
void expectSameScreen(const Emulator& emulator, const ConsoleModel& console,
                      const std::string& step) {
  int mismatches = 0;
  for (int y = 0; y < console.height && mismatches < 5; ++y) {
    for (int x = 0; x < console.width && mismatches < 5; ++x) {
      VTermScreenCell cell;
      vterm_screen_get_cell(emulator.screen, VTermPos{y, x}, &cell);
      unsigned char c = static_cast<unsigned char>(charAt(console, x, y));
      uint8_t attribute = attributeAt(console, x, y);
      uint32_t expected = codePointOf(term::glyphFor(c));
      uint32_t shown = cell.chars[0] == 0 ? ' ' : cell.chars[0];
      bool blank = expected == ' ';
      bool backgroundOk = attribute == kDefaultAttribute
                              ? VTERM_COLOR_IS_DEFAULT_BG(&cell.bg)
                              : !VTERM_COLOR_IS_DEFAULT_BG(&cell.bg) &&
                                    VTERM_COLOR_IS_INDEXED(&cell.bg) &&
                                    cell.bg.indexed.idx == paletteIndex(attribute >> 4);
      bool foregroundOk = blank || (attribute == kDefaultAttribute
                                        ? VTERM_COLOR_IS_DEFAULT_FG(&cell.fg)
                                        : !VTERM_COLOR_IS_DEFAULT_FG(&cell.fg) &&
                                              VTERM_COLOR_IS_INDEXED(&cell.fg) &&
                                              cell.fg.indexed.idx == paletteIndex(attribute & 15));
      if (shown != expected || !backgroundOk || !foregroundOk) {
        ++mismatches;
        ADD_FAILURE() << step << ": cell (" << x << ", " << y << ") shows U+" << std::hex << shown
                      << " expected U+" << expected << " attribute " << int(attribute);
      }
    }
  }
  EXPECT_EQ(emulator.cursorVisible, console.cursorVisible) << step;
  if (console.cursorVisible) {
    VTermPos cursor;
    vterm_state_get_cursorpos(vterm_obtain_state(emulator.vt), &cursor);
    EXPECT_EQ(cursor.col, console.cursorX) << step;
    EXPECT_EQ(cursor.row, console.cursorY) << step;
  }
}

struct Session {
  ConsoleModel console;
  term::ShownScreen shown;
  Emulator emulator;
  size_t bytesSent = 0;

  Session(int width, int height) : console(makeConsole(width, height)), emulator(width, height) {}

  void flush(const std::string& step) {
    std::string bytes = term::encodeUpdate(shown, console);
    bytesSent += bytes.size();
    emulator.feed(bytes);
    expectSameScreen(emulator, console, step);
    EXPECT_EQ(term::encodeUpdate(shown, console), "") << step << ": a second flush sends nothing";
  }
  void resize(int width, int height) {
    resizeConsole(console, width, height);
    emulator.resize(width, height);
    shown.width = 0;
  }
};

std::string frameRow(std::mt19937& random, int width, int wallFrom, int wallTo) {
  std::string row(width, ' ');
  for (int x = 0; x < width; ++x) {
    if (x >= wallFrom && x < wallTo && random() % 4 != 0) row[x] = static_cast<char>(0xDB);
  }
  return row;
}

TEST(FrameEncoder, MenuSettingsAndGameScreensMatchTheTerminal) {
  Session s(40, 12);
  s.console.cursorVisible = false;
  writeText(s.console, "=== Title ===\n\nRun DEMO\n\nSettings\n");
  setCursor(s.console, 10, 2);
  writeText(s.console, "<--");
  s.flush("menu");
  runCommand(s.console, "cls");
  writeText(s.console, "Set custom screen resolution\n\nWidth? 80 25\n");
  s.console.cursorVisible = true;
  s.flush("settings with a visible cursor");
  s.console.cursorVisible = false;

  std::mt19937 random(7);
  for (int frame = 0; frame < 30; ++frame) {
    runCommand(s.console, "color 3f");
    for (int y = 0; y < s.console.height; ++y) {
      std::string row = frameRow(random, s.console.width, 5 + frame % 7, 30 - frame % 5);
      writeRow(s.console, y, row.data(), static_cast<int>(row.size()));
    }
    if (frame == 10) s.resize(30, 8);   // smaller: long rows wrap onto the next rows
    if (frame == 20) s.resize(55, 14);  // larger: the rest is blank
    s.flush("frame " + std::to_string(frame));
  }
  runCommand(s.console, "color 0f");
  runCommand(s.console, "cls");
  writeText(s.console, "Game Over");
  s.flush("end screen");
  setCursor(s.console, 0, 0);
  writeText(s.console, "=== Title ===\n\nRun DEMO\n\nSettings\n");
  s.flush("menu over the last frame");
}

TEST(FrameEncoder, RandomCellsAttributesAndCursorMatchTheTerminal) {
  Session s(23, 9);
  std::mt19937 random(12345);
  for (int step = 0; step < 300; ++step) {
    int changes = static_cast<int>(random() % 40);
    for (int i = 0; i < changes; ++i) {
      size_t cell = random() % s.console.chars.size();
      s.console.chars[cell] = static_cast<char>(random() % 4 == 0 ? ' ' : random() % 256);
      s.console.attrs[cell] =
          static_cast<uint8_t>(random() % 3 == 0 ? kDefaultAttribute : random() % 256);
    }
    if (random() % 25 == 0) runCommand(s.console, random() % 2 ? "color 3f" : "color 0f");
    if (random() % 40 == 0) runCommand(s.console, "cls");
    if (random() % 50 == 0) s.resize(1 + random() % 30, 1 + random() % 12);
    s.console.cursorVisible = random() % 3 == 0;
    setCursor(s.console, random() % 40, random() % 15);
    s.flush("step " + std::to_string(step));
  }
}

TEST(FrameEncoder, SendsOnlyWhatChanged) {
  ConsoleModel console = makeConsole(120, 41);
  console.cursorVisible = false;
  runCommand(console, "color 3f");
  term::ShownScreen shown;
  std::string first = term::encodeUpdate(shown, console);
  EXPECT_LT(first.size(), 41u * 12) << "a plain screen is erased row by row, not written";
  EXPECT_EQ(term::encodeUpdate(shown, console), "");

  writeRow(console, 20, "\xDB", 1);
  // Cursor move, colour known already, three bytes of the glyph.
  EXPECT_EQ(term::encodeUpdate(shown, console), "\x1b[21H\xe2\x96\x88");

  std::string full = term::encodeFullRepaint(console);
  EXPECT_GE(full.size(), 120u * 41);
}

TEST(FrameEncoder, MapsConsoleColoursToSgr) {
  EXPECT_EQ(term::sgrParameters(0x07), "0");
  EXPECT_EQ(term::sgrParameters(0x3F), "97;46");
  EXPECT_EQ(term::sgrParameters(0x0F), "97;40");
  EXPECT_EQ(term::sgrParameters(0x1C), "91;44");
  EXPECT_EQ(term::sgrParameters(0xE0), "30;103");
}

TEST(FrameEncoder, SynchronizedTerminalsGetTheUpdateInOnePiece) {
  ConsoleModel console = makeConsole(10, 2);
  term::ShownScreen shown;
  shown.synchronized = true;
  std::string bytes = term::encodeUpdate(shown, console);
  EXPECT_EQ(bytes.rfind("\x1b[?2026h", 0), 0u);
  EXPECT_EQ(bytes.substr(bytes.size() - 8), "\x1b[?2026l");
  EXPECT_EQ(term::encodeUpdate(shown, console), "");
}

}  // namespace
