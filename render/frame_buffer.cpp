// The frame buffer's sizing and clearing, and its invariant.
// Owns: resizeScreen, clearFrame, frameBufferMatchesScreen. Depends on: world/game_state.h.
#include "render/frame_buffer.h"

#include <algorithm>
#include <cassert>
#include <cstddef>

#include "world/game_state.h"

void resizeScreen() {
  assert(game.screenHeight >= 0 && game.screenWidth >= 0 && "screen size is never negative");
  // Rows that remain keep their contents; only the cut or added parts change.
  game.screenRows.resize(static_cast<std::size_t>(game.screenHeight));
  for (std::string& row : game.screenRows)
    row.resize(static_cast<std::size_t>(game.screenWidth), ' ');
}

void clearFrame() {
  assert(frameBufferMatchesScreen() && "resizeScreen must run after every change of the size");
  for (int y = 0; y < game.screenHeight; ++y) {
    std::string& row = game.screenRows[static_cast<std::size_t>(y)];
    std::fill_n(row.begin(), game.screenWidth, ' ');
  }
}

bool frameBufferMatchesScreen() {
  if (game.screenRows.size() != static_cast<std::size_t>(game.screenHeight)) return false;
  return std::all_of(game.screenRows.begin(), game.screenRows.end(), [](const std::string& row) {
    return row.size() == static_cast<std::size_t>(game.screenWidth);
  });
}
