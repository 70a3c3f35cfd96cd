// Frame times in a browser: ziravo at 120x40 with every enemy chasing a player who stands still,
// 1,000 frames through the web console; web_frames.js measures them and logs a summary.
// Depends on: shell (start-up, game start, frame loop), world/game_state.h, variants/variant.h;
// runs with the web backend.
#include <emscripten.h>

#include "shell/frame_loop.h"
#include "shell/game_start.h"
#include "shell/start_up.h"
#include "variants/variant.h"
#include "world/game_state.h"

namespace {

constexpr int kFrames = 1000;

}  // namespace

int main() {
  startUp(120, 40);
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
