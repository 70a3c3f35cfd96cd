// Whole games through the real input path: a test player that reads the game state each frame
// and turns with the mouse, walks and fires wins marbek; a player who stands still in ziravo is
// found and killed.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>

#include "actors/pathfinding.h"
#include "platform/platform.h"
#include "shell/main_loop.h"
#include "shell_fixture.h"
#include "variants/variant.h"

namespace {

struct Target {
  float x;
  float y;
};

// Degrees to turn from the current heading to face (x, y), in -180..180.
float turnTowards(float x, float y) {
  const float wanted =
      static_cast<float>(std::atan2(y - game.playerY, x - game.playerX) * 180.0 / 3.14159265358979);
  float turn = std::fmod(wanted - game.viewAngle, 360.0f);
  if (turn > 180.0f) turn -= 360.0f;
  if (turn < -180.0f) turn += 360.0f;
  return turn;
}

// The line from the player to (x, y) crosses no wall cell.
bool inClearSight(float x, float y) {
  const float dx = x - game.playerX;
  const float dy = y - game.playerY;
  const int steps = static_cast<int>(std::sqrt(dx * dx + dy * dy) * 20.0f) + 1;
  for (int k = 1; k <= steps; ++k) {
    const float px = game.playerX + dx * k / steps;
    const float py = game.playerY + dy * k / steps;
    if (cellAt(*game.currentLevel, static_cast<int>(px), static_cast<int>(py)) == '1') {
      return false;
    }
  }
  return true;
}

std::optional<Target> nearestEnemy() {
  std::optional<Target> best;
  float bestDistance = 0.0f;
  for (const Entity& entity : game.entities) {
    if (entity.kind != EntityKind::Enemy) continue;
    const float distance = std::hypot(entity.x - game.playerX, entity.y - game.playerY);
    if (!best || distance < bestDistance) {
      best = Target{entity.x, entity.y};
      bestDistance = distance;
    }
  }
  return best;
}

Target exitCell() {
  const Level& level = *game.currentLevel;
  for (int y = 0; y < level.rowCount; ++y) {
    for (int x = 0; x < static_cast<int>(level.rows[y].size()); ++x) {
      if (level.rows[y][x] == '5') return Target{x + 0.5f, y + 0.5f};
    }
  }
  return Target{game.playerX, game.playerY};
}

// One frame's input: aim at a visible enemy and fire, else walk the grid route towards the
// nearest enemy (or the exit once all are dead).
void playOneFrame() {
  scripted::setKeyHeld('W', false);
  scripted::setKeyHeld(platform::kVkSpace, false);
  const std::optional<Target> enemy = nearestEnemy();
  Target goal = enemy ? *enemy : exitCell();
  float turn = 0.0f;
  if (enemy && inClearSight(enemy->x, enemy->y)) {
    turn = turnTowards(enemy->x, enemy->y);
    if (std::fabs(turn) < 1.0f) scripted::setKeyHeld(platform::kVkSpace, true);
  } else {
    const std::vector<CellPos> route =
        findPath(static_cast<int>(game.playerX), static_cast<int>(game.playerY),
                 static_cast<int>(goal.x), static_cast<int>(goal.y));
    if (route.size() >= 2) goal = Target{route[1].x + 0.5f, route[1].y + 0.5f};
    turn = turnTowards(goal.x, goal.y);
    if (std::fabs(turn) < 20.0f) scripted::setKeyHeld('W', true);
  }
  const platform::ScreenPoint cursor = platform::cursorPosition();
  scripted::setCursor(cursor.x + static_cast<int>(std::lround(turn * 10.0f)), cursor.y);
}

// Runs "Run DEMO" and then frames until the game is over; returns the end screen's text.
std::string playGame(const Variant& variant, bool standStill, int maxFrames) {
  freshProgram();
  startUp();
  std::string ending;
  scripted::onSleep([&ending](int ms) {
    if (ms == 5000) ending += consoleRow(0).substr(0, 14);
  });
  scripted::pressKey(platform::kVkReturn);
  runMainLoopPass(variant);
  EXPECT_EQ(game.appState, AppState::Playing);
  for (int frame = 0; frame < maxFrames && game.appState == AppState::Playing; ++frame) {
    if (!standStill) playOneFrame();
    runMainLoopPass(variant);
  }
  return ending;
}

TEST(WholeGame, ATestPlayerClearsMarbekAndLeavesByTheExit) {
  const std::string ending = playGame(marbekVariant, false, 20000);
  EXPECT_EQ(ending, "Demo Completed");
  EXPECT_EQ(game.appState, AppState::Menu);
  EXPECT_GT(game.health, 0);
  EXPECT_EQ(game.kills, 0) << "the end screen resets the count";
  ASSERT_EQ(game.entities.size(), 1u) << "only the exit marker is left";
  EXPECT_EQ(game.entities[0].kind, EntityKind::ExitMarker);
}

TEST(WholeGame, APlayerStandingStillInZiravoIsFoundAndKilled) {
  const std::string ending = playGame(ziravoVariant, true, 20000);
  EXPECT_EQ(ending, "Game Over     ");
  EXPECT_TRUE(game.playerDead);
  EXPECT_LE(game.health, 0);
  EXPECT_EQ(game.health % 10, 0) << "health falls only in steps of 10";
}

}  // namespace
