// Fuzz target: the settings dialogue's reading of numbers. The input is what the user types; the
// dialogue runs as the main loop runs it until it returns to the menu or the typing ends (the
// console closes). It must take only sizes within 1..512 and leave the frame buffer that size.
// Depends on: shell/settings.h, platform/scripted.h, render/frame_buffer.h, world/game_state.h.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/scripted.h"
#include "render/frame_buffer.h"
#include "shell/settings.h"
#include "world/game_state.h"

namespace {

bool frameBufferFitsScreen() {
  if (game.screenRows.size() != static_cast<size_t>(game.screenHeight)) return false;
  for (const std::string& row : game.screenRows) {
    if (row.size() != static_cast<size_t>(game.screenWidth)) return false;
  }
  return true;
}

bool inRange(int value) {
  return value >= 1 && value <= 512;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  game = GameState{};
  scripted::reset();
  resizeScreen();
  scripted::setInput(std::string(reinterpret_cast<const char*>(data), size));
  game.appState = AppState::Settings;
  try {
    // Each pass that returns still in the dialogue has refused a width, which it read from the
    // input; the typing runs out within one pass per byte.
    for (size_t pass = 0; game.appState == AppState::Settings; ++pass) {
      if (pass > size) std::abort();
      runSettingsScreen();
      if (!inRange(game.screenWidth) && game.screenWidth != 120) std::abort();
    }
    if (game.appState != AppState::Menu || game.widthAccepted) std::abort();
    if (!inRange(game.screenWidth) || !inRange(game.screenHeight)) std::abort();
    if (!frameBufferFitsScreen()) std::abort();
  } catch (const scripted::ConsoleClosed&) {
    // Typing ended before a size was taken: a width may have been, the rows keep their size.
    if (game.screenHeight != 40 || game.screenRows.size() != 40) std::abort();
    for (const std::string& row : game.screenRows) {
      if (row.size() != 120) std::abort();
    }
  }
  return 0;
}
