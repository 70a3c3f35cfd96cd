// Frame times in a browser: ziravo at 120x40 with every enemy chasing a player who stands still,
// 1,000 frames through the web console; web_frames.js measures them and logs a summary.
// Depends on: shell (game start, frame loop), render/sprites.h, render/frame_buffer.h,
// world/game_state.h, variants/variant.h; runs with the web backend.
#include <emscripten.h>

#include "render/frame_buffer.h"
#include "render/sprites.h"
#include "shell/frame_loop.h"
#include "shell/game_start.h"
#include "variants/variant.h"
#include "world/game_state.h"

namespace {

constexpr int kFrames = 1000;

}  // namespace

int main() {
  setUpSprites();
  hideConsoleCursor();
  game.savedCursor = {960, 540};  // where the page's pointer rests
  resizeScreen();
  startGame(ziravoVariant);
  for (Entity& entity : game.entities) {
    if (entity.kind == EntityKind::Enemy) entity.state = EnemyState::Chase;
  }
  for (int frame = 0; frame < kFrames; ++frame) {
    game.health = 100;  // the crowd would end the game
    runFrame();
  }
  EM_ASM(Module.reportFrames());
}
