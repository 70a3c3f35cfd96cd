// Start-up and the endless loop over the application state.
// Owns: startUp, runMainLoopPass, runProgram. Depends on: shell/menu.h, shell/settings.h,
// shell/frame_loop.h, shell/present.h, render/frame_buffer.h, render/sprites.h,
// platform/platform.h.
#include "shell/main_loop.h"

#include "platform/platform.h"
#include "render/frame_buffer.h"
#include "render/sprites.h"
#include "shell/frame_loop.h"
#include "shell/menu.h"
#include "shell/present.h"
#include "shell/settings.h"
#include "world/game_state.h"

void startUp() {
  setUpSprites();
  hideConsoleCursor();
  const platform::ScreenPoint pointer = platform::pointerPosition();
  game.savedCursor = {pointer.x, pointer.y};
  resizeScreen();
}

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
  startUp();
  // The program never ends by itself: it runs until its console goes away.
  for (;;) runMainLoopPass(variant);
}
