// Presenting a frame and placing the console's text cursor.
// Owns: presentFrame, hideConsoleCursor, homeConsoleCursor. Depends on: world/game_state.h,
// render/frame_buffer.h, platform/platform.h.
#include "shell/present.h"

#include <cassert>
#include <cstddef>

#include "platform/platform.h"
#include "render/frame_buffer.h"
#include "world/game_state.h"

namespace {

constexpr int kFramePauseMs = 16;

}  // namespace

void presentFrame() {
  assert(frameBufferMatchesScreen() && "resizeScreen must run after every change of the size");
  // One call per row straight from the row's storage; the console keeps its colours.
  for (int y = 0; y < game.screenHeight; ++y) {
    platform::writeRow(y, game.screenRows[static_cast<std::size_t>(y)].data(), game.screenWidth);
  }
  // The only frame pacing: a fixed pause whatever the frame took.
  platform::sleepMs(kFramePauseMs);
}

void hideConsoleCursor() {
  platform::hideCursor();
}

void homeConsoleCursor() {
  platform::setCursor(0, 0);
}
