// One frame of play: look, draw, let the enemies act, move, shoot, end the game, present.
// Owns: runFrame and the player's movement. Depends on: world (state, cells), render (walls,
// billboards, HUD, frame buffer), shell/present.h, actors (enemies, sort, shot),
// platform/platform.h (input, pauses).
#include "shell/frame_loop.h"

#include <cassert>
#include <cmath>
#include <ostream>

#include "actors/combat.h"
#include "actors/enemies.h"
#include "actors/entities.h"
#include "platform/platform.h"
#include "render/frame_buffer.h"
#include "render/hud.h"
#include "render/raycaster.h"
#include "render/sprites.h"
#include "shell/present.h"
#include "world/angles.h"
#include "world/game_state.h"

namespace {

constexpr int kVkW = 'W';
constexpr int kVkS = 'S';
constexpr int kVkA = 'A';
constexpr int kVkD = 'D';

constexpr float kMouseDegreesPerPixel = 0.1f;
constexpr int kPointerEdgeMargin = 10;  // a pointer this close to a monitor edge is moved back
constexpr float kWalkSpeed = 0.25f;
constexpr float kRunSpeed = 0.5f;
constexpr float kEnemyTimeStep = 0.04f;
constexpr int kFireCooldownFrames = 5;
constexpr int kEndScreenPauseMs = 5000;
// Console colours: play on aqua ("color 3f"), the end screens on black ("color 0f").
constexpr int kBlack = 0;
constexpr int kAqua = 3;
constexpr int kBrightWhite = 15;

// Turns the view by the horizontal pointer movement and moves the pointer back from the monitor's
// edges, so the mouse can turn for ever; the wrap itself costs no turn.
void lookWithMouse() {
  const platform::ScreenPoint pointer = platform::pointerPosition();
  // Widened: a pointer far off the monitor must not overflow the difference.
  const long long movement = static_cast<long long>(pointer.x) - game.savedCursor.x;
  game.savedCursor = {pointer.x, pointer.y};
  game.viewAngle += static_cast<float>(movement) * kMouseDegreesPerPixel;

  const int monitorWidth = platform::monitorWidth();
  if (pointer.x <= kPointerEdgeMargin) {
    platform::setPointerPosition(monitorWidth - 11, pointer.y);
    game.savedCursor.x = monitorWidth - 11;
  } else if (pointer.x >= monitorWidth - kPointerEdgeMargin) {
    platform::setPointerPosition(11, pointer.y);
    game.savedCursor.x = 11;
  }
}

// The player has no size against walls: only the cell under the candidate point counts, and
// enemies keep it off at their keep-off distance.
bool tryMove(float x, float y) {
  const char cell = cellAt(*game.currentLevel, static_cast<int>(x), static_cast<int>(y));
  for (const Entity& entity : game.entities) {
    if (entity.kind != EntityKind::Enemy) continue;
    const float ex = x - entity.x;
    const float ey = y - entity.y;
    if (ex * ex + ey * ey < kKeepOffSquared) return false;
  }
  if (cell == kFloorCell) return true;
  if (cell == kExitCell && game.kills >= game.killTarget) {
    game.levelComplete = true;
    return true;
  }
  return false;
}

// x then y separately, so a blocked axis still lets the player slide along the other.
void movePlayer(float cosHeading, float sinHeading, float speed) {
  float dx = 0.0f;
  float dy = 0.0f;
  if (platform::keyHeld(kVkW)) {
    dx += cosHeading * speed;
    dy += sinHeading * speed;
  }
  if (platform::keyHeld(kVkS)) {
    dx -= cosHeading * speed;
    dy -= sinHeading * speed;
  }
  if (platform::keyHeld(kVkD)) {
    dx -= sinHeading * speed;
    dy += cosHeading * speed;
  }
  if (platform::keyHeld(kVkA)) {
    dx += sinHeading * speed;
    dy -= cosHeading * speed;
  }
  if (tryMove(game.playerX + dx, game.playerY)) game.playerX = game.playerX + dx;
  if (tryMove(game.playerX, game.playerY + dy)) game.playerY = game.playerY + dy;
}

void showEndScreen(const char* message) {
  game.kills = 0;
  platform::setConsoleColours(kBlack, kBrightWhite);
  platform::clearConsole();
  platform::consoleOut() << message << std::flush;
  platform::sleepMs(kEndScreenPauseMs);
  game.appState = AppState::Menu;
}

}  // namespace

void runFrame() {
  assert(frameBufferMatchesScreen() && "resizeScreen must run after every change of the size");

  game.depthBuffer.resize(static_cast<size_t>(game.screenWidth), 0.0f);
  lookWithMouse();
  // One heading in radians serves the whole frame, although viewAngle is normalised only at the
  // end of it.
  const float heading = radians(game.viewAngle);
  platform::setConsoleColours(kAqua, kBrightWhite);
  const float speed = platform::keyHeld(platform::kVkShift) ? kRunSpeed : kWalkSpeed;
  const float cosHeading = static_cast<float>(std::cos(static_cast<double>(heading)));
  const float sinHeading = static_cast<float>(std::sin(static_cast<double>(heading)));

  clearFrame();
  castWalls();
  updateEnemies(kEnemyTimeStep);
  sortEntitiesForDrawing();
  for (const Entity& entity : game.entities) drawBillboard(entity, heading);
  drawStatusLine();
  movePlayer(cosHeading, sinHeading, speed);

  if (platform::keyHeld(platform::kVkSpace) && game.fireCooldown == 0) {
    fireShot();
    game.weaponFrame = 2;
    game.fireCooldown = kFireCooldownFrames;
  }
  if (platform::keyHeld(platform::kVkTab)) drawLevelMap();
  if (game.fireCooldown > 0) {
    --game.fireCooldown;
    if (game.fireCooldown == 0) game.weaponFrame = 1;
  }

  if (game.viewAngle < 0.0f) game.viewAngle += 360.0f;
  if (game.viewAngle >= 360.0f) game.viewAngle -= 360.0f;
  if (game.health <= 0) game.playerDead = true;
  // Both ends can come in one frame; each shows its own message and pause.
  if (game.levelComplete) showEndScreen("Demo Completed");
  if (game.playerDead) showEndScreen("Game Over");

  // The frame is presented even when the game just ended: it stays on the console until the
  // menu writes over it.
  drawWeapon();
  presentFrame();
}
