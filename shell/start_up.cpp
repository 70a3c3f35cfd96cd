// Start-up of a fresh program. Owns: startUp. Depends on: world/game_state.h,
// actors/runtime_random.h, render/frame_buffer.h, render/sprites.h, shell/present.h,
// platform/platform.h.
#include "shell/start_up.h"

#include "actors/runtime_random.h"
#include "platform/platform.h"
#include "render/frame_buffer.h"
#include "render/sprites.h"
#include "shell/present.h"
#include "world/game_state.h"

void startUp(int width, int height) {
  // In a new process both are so already.
  game = GameState{};
  resetRuntimeRand();
  game.screenWidth = width;
  game.screenHeight = height;
  setUpSprites();
  hideConsoleCursor();
  const platform::ScreenPoint pointer = platform::pointerPosition();
  game.savedCursor = {pointer.x, pointer.y};
  resizeScreen();
}
