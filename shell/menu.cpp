// The main menu: title and two entries written over the console, an arrow moved by Up/Down.
// Owns: runMenuPass. Depends on: world/game_state.h, shell/game_start.h,
// shell/present.h, platform/platform.h.
#include "shell/menu.h"

#include <ostream>

#include "platform/platform.h"
#include "shell/game_start.h"
#include "shell/present.h"
#include "world/game_state.h"

namespace {

constexpr int kArrowColumn = 10;  // two columns after "Run DEMO" and "Settings"
constexpr int kSelectionPauseMs = 120;
constexpr int kIdleWaitMs = 10;

}  // namespace

void runMenuPass(const Variant& variant) {
  game.levelComplete = false;
  const int selectionBefore = game.menuSelection;
  homeConsoleCursor();
  std::ostream& out = platform::consoleOut();
  // Written over what the console shows; it is cleared only when something changes.
  out << variant.menuTitle << "Run DEMO\n\n"
      << "Settings\n";

  const bool upHeld = platform::keyHeld(platform::kVkUp);
  if (upHeld && game.menuSelection > 0) {
    game.menuSelection -= 2;
    platform::sleepMs(kSelectionPauseMs);
    platform::clearConsole();
  }
  const bool downHeld = platform::keyHeld(platform::kVkDown);
  if (downHeld && game.menuSelection < 2) {
    game.menuSelection += 2;
    platform::sleepMs(kSelectionPauseMs);
    platform::clearConsole();
  }

  platform::setCursor(kArrowColumn, game.menuSelection + 2);
  out << "<--" << std::flush;

  const bool enterPressed = platform::keyPressedSinceLastQuery(platform::kVkReturn);
  if (enterPressed) {
    if (game.menuSelection == 0) {
      startGame(variant);
    } else {
      platform::clearConsole();
      game.appState = AppState::Settings;
    }
  } else if (game.menuSelection == selectionBefore) {
    // Nothing changed: wait for a key instead of spinning a core, even while one is held.
    platform::waitForInput(kIdleWaitMs);
  }
}
