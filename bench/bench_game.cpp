// Games set up for measuring, started the way the replay tool starts them.
// Depends on: shell (start-up, game start), platform/scripted.h.
#include "bench/bench_game.h"

#include "platform/scripted.h"
#include "shell/game_start.h"
#include "shell/start_up.h"
#include "world/game_state.h"

void startBenchGame(const Variant& variant, int width, int height) {
  scripted::reset(width, height);
  startUp(width, height);
  startGame(variant);
}

void wakeEveryEnemy() {
  for (Entity& entity : game.entities) {
    if (entity.kind == EntityKind::Enemy) entity.state = EnemyState::Chase;
  }
}
