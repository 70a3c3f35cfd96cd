// Games set up for measuring, started the way the replay tool starts them.
// Depends on: shell/game_start.h, render (frame buffer, sprites), platform/scripted.h.
#include "bench/bench_game.h"

#include "actors/runtime_random.h"
#include "platform/scripted.h"
#include "render/frame_buffer.h"
#include "render/sprites.h"
#include "shell/game_start.h"
#include "world/game_state.h"

void startBenchGame(const Variant& variant, int width, int height) {
  resetRuntimeRand();
  game = GameState{};
  scripted::reset(width, height);
  setUpSprites();
  game.savedCursor = {960, 540};
  game.screenWidth = width;
  game.screenHeight = height;
  resizeScreen();
  startGame(variant);
}

void wakeEveryEnemy() {
  for (Entity& entity : game.entities) {
    if (entity.kind == EntityKind::Enemy) entity.state = EnemyState::Chase;
  }
}
