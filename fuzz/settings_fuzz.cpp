// Fuzz target: the settings dialogue's reading of numbers. The input is what the user types; the
// dialogue runs as the main loop runs it until it returns to the menu or the typing ends (the
// console closes). It must take only sizes the screen allows and keep the frame buffer that size.
// Depends on: shell (settings, start-up), platform/scripted.h, render/frame_buffer.h,
// world/game_state.h.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/scripted.h"
#include "render/frame_buffer.h"
#include "shell/settings.h"
#include "shell/start_up.h"
#include "world/game_state.h"

namespace {

bool inRange(int value) {
  return value >= 1 && value <= kLargestScreen;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  scripted::reset(120, 40);
  startUp(120, 40);
  scripted::setInput(std::string(reinterpret_cast<const char*>(data), size));
  game.appState = AppState::Settings;
  try {
    // Each pass that returns still in the dialogue has refused a width, which it read from the
    // input; the typing runs out within one pass per byte.
    for (size_t pass = 0; game.appState == AppState::Settings; ++pass) {
      if (pass > size) std::abort();
      runSettingsScreen();
      if (!inRange(game.screenWidth)) std::abort();
    }
    if (game.appState != AppState::Menu || game.widthAccepted) std::abort();
    if (!inRange(game.screenHeight)) std::abort();
  } catch (const scripted::ConsoleClosed&) {
    // Typing ended before a size was taken: a width may have been, the rows keep their size.
    if (game.screenHeight != 40 || game.screenRows.size() != 40) std::abort();
    for (const std::string& row : game.screenRows) {
      if (row.size() != 120) std::abort();
    }
    return 0;
  }
  if (!frameBufferMatchesScreen()) std::abort();
  return 0;
}
