// The console screen buffer's behaviour: text at the cursor, row writes, scrolling, resizing,
// clearing and colours. Depends on: platform/console_model.h only.
#include "platform/console_model.h"

#include <algorithm>
#include <cassert>
#include <cstddef>
#include <cstring>

namespace {

size_t cellCount(int width, int height) {
  return static_cast<size_t>(width) * static_cast<size_t>(height);
}

size_t cellIndex(const ConsoleModel& console, int x, int y) {
  return static_cast<size_t>(y) * static_cast<size_t>(console.width) + static_cast<size_t>(x);
}

bool insideBuffer(const ConsoleModel& console, int x, int y) {
  return x >= 0 && y >= 0 && x < console.width && y < console.height;
}

void checkShape([[maybe_unused]] const ConsoleModel& console) {
  assert(console.chars.size() == cellCount(console.width, console.height) &&
         console.attrs.size() == console.chars.size() && "cell arrays must match the buffer size");
}

// Moves every row up by one and blanks the bottom row in the text attribute, as the console does
// when output runs past its last line.
void scrollUp(ConsoleModel& console) {
  const size_t rowSize = static_cast<size_t>(console.width);
  const size_t kept = console.chars.size() - rowSize;
  std::memmove(console.chars.data(), console.chars.data() + rowSize, kept);
  std::memmove(console.attrs.data(), console.attrs.data() + rowSize, kept);
  std::fill_n(console.chars.begin() + static_cast<std::ptrdiff_t>(kept), rowSize, ' ');
  std::fill_n(console.attrs.begin() + static_cast<std::ptrdiff_t>(kept), rowSize,
              console.textAttribute);
}

void newLine(ConsoleModel& console) {
  console.cursorX = 0;
  if (console.cursorY + 1 < console.height) {
    ++console.cursorY;
  } else {
    scrollUp(console);
  }
}

void fillAll(ConsoleModel& console, char ch, uint8_t attribute) {
  std::fill(console.chars.begin(), console.chars.end(), ch);
  std::fill(console.attrs.begin(), console.attrs.end(), attribute);
}

}  // namespace

ConsoleModel makeConsole(int width, int height) {
  ConsoleModel console;
  resizeConsole(console, width, height);
  return console;
}

void resizeConsole(ConsoleModel& console, int width, int height) {
  checkShape(console);
  // A size of zero (or a nonsensical negative one) leaves an empty buffer on which every
  // operation does nothing.
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == 0 || height == 0) width = height = 0;
  if (width == console.width && height == console.height) return;

  std::vector<char> chars(cellCount(width, height), ' ');
  std::vector<uint8_t> attrs(chars.size(), console.textAttribute);
  const int keptWidth = std::min(width, console.width);
  const int keptHeight = std::min(height, console.height);
  for (int y = 0; y < keptHeight; ++y) {
    const size_t from = cellIndex(console, 0, y);
    const size_t to = static_cast<size_t>(y) * static_cast<size_t>(width);
    std::copy_n(console.chars.begin() + static_cast<std::ptrdiff_t>(from), keptWidth,
                chars.begin() + static_cast<std::ptrdiff_t>(to));
    std::copy_n(console.attrs.begin() + static_cast<std::ptrdiff_t>(from), keptWidth,
                attrs.begin() + static_cast<std::ptrdiff_t>(to));
  }
  console.width = width;
  console.height = height;
  console.chars = std::move(chars);
  console.attrs = std::move(attrs);
  setCursor(console, console.cursorX, console.cursorY);
}

char charAt(const ConsoleModel& console, int x, int y) {
  if (!insideBuffer(console, x, y)) return ' ';
  return console.chars[cellIndex(console, x, y)];
}

uint8_t attributeAt(const ConsoleModel& console, int x, int y) {
  if (!insideBuffer(console, x, y)) return console.textAttribute;
  return console.attrs[cellIndex(console, x, y)];
}

std::string_view rowText(const ConsoleModel& console, int y) {
  if (!insideBuffer(console, 0, y)) return {};
  return {console.chars.data() + cellIndex(console, 0, y), static_cast<size_t>(console.width)};
}

void writeText(ConsoleModel& console, std::string_view text) {
  checkShape(console);
  if (console.chars.empty()) return;
  for (const char ch : text) {
    switch (ch) {
      case '\n':
        newLine(console);
        break;
      case '\r':
        console.cursorX = 0;
        break;
      case '\b':
        if (console.cursorX > 0) --console.cursorX;
        break;
      default: {
        const size_t cell = cellIndex(console, console.cursorX, console.cursorY);
        console.chars[cell] = ch;
        console.attrs[cell] = console.textAttribute;
        if (++console.cursorX == console.width) newLine(console);
      }
    }
  }
}

void writeRow(ConsoleModel& console, int y, const char* bytes, int length) {
  checkShape(console);
  if (bytes == nullptr || length <= 0 || !insideBuffer(console, 0, y)) return;
  const size_t start = cellIndex(console, 0, y);
  const size_t count = std::min(static_cast<size_t>(length), console.chars.size() - start);
  std::memcpy(console.chars.data() + start, bytes, count);
}

void setCursor(ConsoleModel& console, int x, int y) {
  console.cursorX = std::clamp(x, 0, std::max(console.width - 1, 0));
  console.cursorY = std::clamp(y, 0, std::max(console.height - 1, 0));
}

void clearConsole(ConsoleModel& console) {
  checkShape(console);
  fillAll(console, ' ', console.textAttribute);
  console.cursorX = 0;
  console.cursorY = 0;
}

std::optional<uint8_t> colourAttribute(int background, int foreground) {
  const auto isColour = [](int colour) { return colour >= 0 && colour <= 15; };
  if (!isColour(background) || !isColour(foreground) || background == foreground) return {};
  return static_cast<uint8_t>(background << 4 | foreground);
}

void setConsoleColours(ConsoleModel& console, int background, int foreground) {
  checkShape(console);
  const std::optional<uint8_t> attribute = colourAttribute(background, foreground);
  if (!attribute) return;
  console.textAttribute = *attribute;
  std::fill(console.attrs.begin(), console.attrs.end(), *attribute);
}
