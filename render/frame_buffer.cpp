// The frame buffer's sizing and clearing, and its presentation on the console.
// Owns: resizeScreen, clearFrame, presentFrame, hideConsoleCursor, homeConsoleCursor.
// Depends on: world/game_state.h, platform/platform.h (this is the frame presenter).
#include "render/frame_buffer.h"

#include <algorithm>
#include <cassert>
#include <cstddef>

#include "platform/platform.h"
#include "world/game_state.h"

namespace {

// Clearing and presenting index by the two screen fields, not by the rows' own sizes; a frame
// must never run with the two out of step, or it would read and write past the rows.
[[maybe_unused]] bool rowsMatchScreen() {
  if (game.screenRows.size() < static_cast<std::size_t>(game.screenHeight)) return false;
  for (int y = 0; y < game.screenHeight; ++y) {
    if (game.screenRows[static_cast<std::size_t>(y)].size() <
        static_cast<std::size_t>(game.screenWidth)) {
      return false;
    }
  }
  return true;
}

}  // namespace

void resizeScreen() {
  assert(game.screenHeight >= 0 && game.screenWidth >= 0 && "screen size is never negative");
  // Rows that remain keep their contents; only the cut or added parts change.
  game.screenRows.resize(static_cast<std::size_t>(game.screenHeight));
  for (std::string& row : game.screenRows)
    row.resize(static_cast<std::size_t>(game.screenWidth), ' ');
}

void clearFrame() {
  assert(rowsMatchScreen() && "resizeScreen must run after every change of the screen size");
  for (int y = 0; y < game.screenHeight; ++y) {
    std::string& row = game.screenRows[static_cast<std::size_t>(y)];
    std::fill_n(row.begin(), game.screenWidth, ' ');
  }
}

void presentFrame() {
  assert(rowsMatchScreen() && "resizeScreen must run after every change of the screen size");
  // One call per row straight from the row's storage; the console keeps its colours.
  for (int y = 0; y < game.screenHeight; ++y) {
    platform::writeRow(y, game.screenRows[static_cast<std::size_t>(y)].data(), game.screenWidth);
  }
  // The only frame pacing: a fixed pause whatever the frame took.
  platform::sleepMs(16);
}

void hideConsoleCursor() {
  platform::hideCursor();
}

void homeConsoleCursor() {
  platform::setConsoleCursor(0, 0);
}
