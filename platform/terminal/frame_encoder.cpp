// The difference encoder: compares each model cell with what the terminal shows and sends only
// what changed, with the shortest cursor moves and colour changes it can find.
// Depends on: frame_encoder.h, cp437.h, platform/console_model.h.
#include "platform/terminal/frame_encoder.h"

#include <algorithm>
#include <string_view>

#include "platform/terminal/cp437.h"

namespace term {
namespace {

constexpr int kDefaultBackground = 16;  // the terminal's own background, not one of the 16
constexpr uint8_t kFullBlock = 0xDB;
// Runs of blanks at least this long are erased rather than written (ECH costs 4 to 6 bytes).
constexpr int kEraseRunMinimum = 8;
// Unchanged cells up to this many are rewritten instead of skipped when that is shorter.
constexpr int kRewriteGapMaximum = 6;

bool isBlank(uint8_t c) {
  return c == ' ' || c == 0;
}

// A blank shows only its background, so blanks compare by what the eye sees.
int backgroundKey(uint8_t attribute) {
  return attribute == kDefaultAttribute ? kDefaultBackground : attribute >> 4;
}

bool looksSame(uint8_t shownChar, uint8_t shownAttr, uint8_t modelChar, uint8_t modelAttr) {
  if (isBlank(modelChar)) {
    return isBlank(shownChar) && backgroundKey(shownAttr) == backgroundKey(modelAttr);
  }
  return shownChar == modelChar && shownAttr == modelAttr;
}

// Console colour bits are blue 1, green 2, red 4; SGR's are red 1, green 2, blue 4.
int sgrColour(int consoleColour) {
  return ((consoleColour & 1) << 2) | (consoleColour & 2) | ((consoleColour & 4) >> 2);
}

std::string foreground(uint8_t attribute) {
  const int colour = attribute & 0x0F;
  return std::to_string((colour & 8 ? 90 : 30) + sgrColour(colour));
}

std::string background(uint8_t attribute) {
  const int colour = attribute >> 4;
  return std::to_string((colour & 8 ? 100 : 40) + sgrColour(colour));
}

std::string countedSequence(int count, char final) {
  std::string sequence = "\x1b[";
  if (count != 1) sequence += std::to_string(count);
  return sequence + final;
}

struct Encoder {
  ShownScreen& shown;
  const ConsoleModel& console;
  std::string out;

  int index(int x, int y) const { return y * console.width + x; }
  // A painted block is a blank whose background is the block's colour: from here on it is
  // compared, erased and written as one, so it looks the same as any blank of that colour.
  bool painted(int x, int y) const {
    return shown.paintBlocks && static_cast<uint8_t>(console.chars[index(x, y)]) == kFullBlock;
  }
  uint8_t modelChar(int x, int y) const {
    return painted(x, y) ? ' ' : static_cast<uint8_t>(console.chars[index(x, y)]);
  }
  uint8_t modelAttr(int x, int y) const {
    const uint8_t attribute = console.attrs[index(x, y)];
    return painted(x, y) ? static_cast<uint8_t>((attribute & 0x0F) * 0x11) : attribute;
  }

  void setPen(uint8_t attribute) {
    if (shown.pen == attribute) return;
    if (attribute == kDefaultAttribute) {
      out += "\x1b[m";
    } else if (shown.pen < 0 || shown.pen == kDefaultAttribute) {
      out += shown.pen < 0 ? "\x1b[0;" : "\x1b[";
      out += foreground(attribute) + ";" + background(attribute) + "m";
    } else {
      const uint8_t pen = static_cast<uint8_t>(shown.pen);
      const bool foregroundChanges = (pen & 0x0F) != (attribute & 0x0F);
      const bool backgroundChanges = (pen >> 4) != (attribute >> 4);
      out += "\x1b[";
      if (foregroundChanges) out += foreground(attribute);
      if (foregroundChanges && backgroundChanges) out += ";";
      if (backgroundChanges) out += background(attribute);
      out += "m";
    }
    shown.pen = attribute;
  }

  // A blank only needs the pen's background: keeping the pen's foreground, a run of blanks and
  // painted blocks switches the background alone, and the text after it often needs nothing.
  void setPenForCell(uint8_t c, uint8_t attribute) {
    if (!isBlank(c) || shown.pen < 0 || shown.pen == kDefaultAttribute ||
        attribute == kDefaultAttribute) {
      return setPen(attribute);
    }
    const auto pen = static_cast<uint8_t>((attribute & 0xF0) | (shown.pen & 0x0F));
    // That pen would read as the terminal's own colours, not as a black background.
    setPen(pen == kDefaultAttribute ? attribute : pen);
  }

  bool writableWithPen(int x, int y) const {
    if (shown.pen < 0) return false;
    const uint8_t pen = static_cast<uint8_t>(shown.pen);
    const uint8_t c = modelChar(x, y);
    return isBlank(c) ? backgroundKey(pen) == backgroundKey(modelAttr(x, y))
                      : pen == modelAttr(x, y);
  }

  void writeCell(int x, int y) {
    const uint8_t c = modelChar(x, y);
    setPenForCell(c, modelAttr(x, y));
    out += glyphFor(c);
    shown.chars[index(x, y)] = c;
    shown.attrs[index(x, y)] = static_cast<uint8_t>(shown.pen);
    // After the last column the terminal holds a pending wrap: its position is no longer plain.
    shown.cursorX = x + 1 < console.width ? x + 1 : -1;
    shown.cursorY = shown.cursorX < 0 ? -1 : y;
  }

  void moveTo(int x, int y) {
    if (shown.cursorX == x && shown.cursorY == y) return;
    if (shown.cursorY == y && shown.cursorX >= 0 && x > shown.cursorX) {
      const std::string skip = countedSequence(x - shown.cursorX, 'C');
      if (x - shown.cursorX <= kRewriteGapMaximum) {
        size_t rewriteBytes = 0;
        bool rewritable = true;
        for (int gapX = shown.cursorX; gapX < x && rewritable; ++gapX) {
          rewritable = writableWithPen(gapX, y);
          rewriteBytes += glyphFor(modelChar(gapX, y)).size();
        }
        if (rewritable && rewriteBytes <= skip.size()) {
          for (int gapX = shown.cursorX; gapX < x; ++gapX) writeCell(gapX, y);
          return;
        }
      }
      out += skip;
    } else if (x == 0 && shown.cursorX >= 0 && y == shown.cursorY + 1) {
      out += "\r\n";
    } else if (x == 0 && y == 0) {
      out += "\x1b[H";
    } else if (x == 0) {
      out += "\x1b[" + std::to_string(y + 1) + "H";
    } else {
      out += "\x1b[" + std::to_string(y + 1) + ";" + std::to_string(x + 1) + "H";
    }
    shown.cursorX = x;
    shown.cursorY = y;
  }

  // Erases a run of equal blanks in one sequence; returns how many cells it covered (0: none).
  int eraseBlankRun(int x, int y) {
    const uint8_t attribute = modelAttr(x, y);
    int end = x;
    while (end < console.width && isBlank(modelChar(end, y)) &&
           backgroundKey(modelAttr(end, y)) == backgroundKey(attribute)) {
      ++end;
    }
    const bool toRowEnd = end == console.width;
    const int length = end - x;
    if (length < kEraseRunMinimum && !(toRowEnd && length >= 4)) return 0;
    moveTo(x, y);
    setPenForCell(' ', attribute);
    out += toRowEnd ? std::string("\x1b[K") : countedSequence(length, 'X');
    for (int i = x; i < end; ++i) {
      shown.chars[index(i, y)] = ' ';
      shown.attrs[index(i, y)] = static_cast<uint8_t>(shown.pen);
    }
    return length;
  }

  void clearScreen() {
    out += "\x1b[m\x1b[2J";
    shown.width = console.width;
    shown.height = console.height;
    shown.chars.assign(static_cast<size_t>(console.width) * console.height, ' ');
    shown.attrs.assign(shown.chars.size(), kDefaultAttribute);
    shown.pen = kDefaultAttribute;
  }

  void updateCells(bool everyCell) {
    for (int y = 0; y < console.height; ++y) {
      for (int x = 0; x < console.width;) {
        const int i = index(x, y);
        if (!everyCell &&
            looksSame(shown.chars[i], shown.attrs[i], modelChar(x, y), modelAttr(x, y))) {
          ++x;
          continue;
        }
        if (!everyCell && isBlank(modelChar(x, y))) {
          const int erased = eraseBlankRun(x, y);
          if (erased > 0) {
            x += erased;
            continue;
          }
        }
        moveTo(x, y);
        writeCell(x, y);
        ++x;
      }
    }
  }

  void placeCursor() {
    if (console.cursorVisible && console.width > 0 && console.height > 0) {
      moveTo(std::clamp(console.cursorX, 0, console.width - 1),
             std::clamp(console.cursorY, 0, console.height - 1));
      if (shown.cursorVisible != 1) out += "\x1b[?25h";
      shown.cursorVisible = 1;
    } else {
      if (shown.cursorVisible != 0) out += "\x1b[?25l";
      shown.cursorVisible = 0;
    }
  }
};

bool sameAsEncoded(const ShownScreen& shown, const ConsoleModel& console) {
  const ConsoleModel& encoded = shown.encoded;
  return shown.width == console.width && shown.height == console.height &&
         encoded.cursorVisible == console.cursorVisible &&
         (!console.cursorVisible ||
          (encoded.cursorX == console.cursorX && encoded.cursorY == console.cursorY)) &&
         encoded.chars == console.chars && encoded.attrs == console.attrs;
}

}  // namespace

bool paintsBlocks(const char* terminalName) {
  return !terminalName || std::string_view(terminalName).substr(0, 5) != "linux";
}

std::string encodeUpdate(ShownScreen& shown, const ConsoleModel& console) {
  if (sameAsEncoded(shown, console)) return "";
  shown.encoded = console;
  Encoder encoder{shown, console, {}};
  if (shown.width != console.width || shown.height != console.height) {
    shown.cursorX = shown.cursorY = -1;
    encoder.clearScreen();
  }
  encoder.updateCells(false);
  encoder.placeCursor();
  if (encoder.out.empty() || !shown.synchronized) return encoder.out;
  return "\x1b[?2026h" + encoder.out + "\x1b[?2026l";
}

std::string encodeFullRepaint(const ConsoleModel& console) {
  ShownScreen shown;
  Encoder encoder{shown, console, {}};
  encoder.clearScreen();
  encoder.out.insert(0, "\x1b[H");
  shown.cursorX = shown.cursorY = 0;
  encoder.updateCells(true);
  encoder.placeCursor();
  return encoder.out;
}

}  // namespace term
