// The endless loop over the application state. Owns: runMainLoopPass, runProgram.
// Depends on: shell/menu.h, shell/settings.h, shell/frame_loop.h, shell/start_up.h.
#include "shell/main_loop.h"

#include "shell/frame_loop.h"
#include "shell/menu.h"
#include "shell/settings.h"
#include "shell/start_up.h"
#include "world/game_state.h"

void runMainLoopPass(const Variant& variant) {
  switch (game.appState) {
    case AppState::Menu:
      runMenuPass(variant);
      break;
    case AppState::Settings:
      runSettingsScreen();
      break;
    case AppState::Playing:
      runFrame();
      break;
  }
}

void runProgram(const Variant& variant) {
  // The fields' start values give the start size, 120 x 40.
  startUp(game.screenWidth, game.screenHeight);
  // The program never ends by itself: it runs until its console goes away.
  for (;;) runMainLoopPass(variant);
}
