// Random input for soaking: held keys that change now and then, mouse moves from a pixel to the
// whole int range, a hunter that aims, fires and walks routes so that games are also won, and
// settings answers mixing refused entries with sizes from 1 x 1 to 512 x 512.
// Depends on: soak_input.h, platform/scripted.h, actors/pathfinding.h, world/game_state.h.
#include "tools/soak/soak_input.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <iterator>
#include <string>

#include "actors/pathfinding.h"
#include "platform/platform.h"
#include "platform/scripted.h"
#include "world/game_state.h"

namespace {

constexpr int kPlayKeys[] = {
    'W', 'A', 'S', 'D', platform::kVkShift, platform::kVkSpace, platform::kVkTab};
// Keys the game does not read during play; holding them must change nothing.
constexpr int kOtherKeys[] = {platform::kVkUp, platform::kVkDown, 'Q', 'E', 0x01, 0xFF};

bool chance(SoakInput& input, double probability) {
  return std::bernoulli_distribution(probability)(input.random);
}

int between(SoakInput& input, int low, int high) {
  return std::uniform_int_distribution<int>(low, high)(input.random);
}

// Mostly small turns, sometimes a jump anywhere on a huge virtual desktop or onto the monitor's
// wrapping edges.
void moveMouse(SoakInput& input) {
  const platform::ScreenPoint cursor = platform::cursorPosition();
  const int width = platform::monitorWidth();
  if (chance(input, 0.02)) {
    scripted::setCursor(between(input, INT_MIN, INT_MAX), between(input, INT_MIN, INT_MAX));
  } else if (chance(input, 0.03)) {
    scripted::setCursor(
        chance(input, 0.5) ? between(input, -20, 12) : width - between(input, -20, 12), cursor.y);
  } else if (chance(input, 0.6)) {
    const long long x = static_cast<long long>(cursor.x) + between(input, -60, 60);
    scripted::setCursor(static_cast<int>(std::clamp<long long>(x, INT_MIN, INT_MAX)), cursor.y);
  }
}

float headingTowards(float x, float y) {
  return static_cast<float>(std::atan2(y - game.playerY, x - game.playerX) * 180.0 /
                            3.14159265358979);
}

float turnTo(float wanted) {
  float turn = std::fmod(wanted - game.viewAngle, 360.0f);
  if (turn > 180.0f) turn -= 360.0f;
  if (turn < -180.0f) turn += 360.0f;
  return turn;
}

bool clearLine(float x, float y) {
  const float dx = x - game.playerX;
  const float dy = y - game.playerY;
  const int steps = static_cast<int>(std::sqrt(dx * dx + dy * dy) * 20.0f) + 1;
  for (int k = 1; k <= steps; ++k) {
    const int cellX = static_cast<int>(game.playerX + dx * static_cast<float>(k) / steps);
    const int cellY = static_cast<int>(game.playerY + dy * static_cast<float>(k) / steps);
    if (cellAt(*game.currentLevel, cellX, cellY) == '1') return false;
  }
  return true;
}

// Aim at the nearest enemy in sight and fire; otherwise walk the route to the nearest enemy, or
// to the exit once none is left.
void hunt() {
  const Entity* nearest = nullptr;
  float nearestSquared = 0.0f;
  float exitX = game.playerX;
  float exitY = game.playerY;
  for (const Entity& entity : game.entities) {
    if (entity.kind == EntityKind::ExitMarker) {
      exitX = entity.x;
      exitY = entity.y;
    }
    if (entity.kind != EntityKind::Enemy) continue;
    const float dx = entity.x - game.playerX;
    const float dy = entity.y - game.playerY;
    if (nearest == nullptr || dx * dx + dy * dy < nearestSquared) {
      nearest = &entity;
      nearestSquared = dx * dx + dy * dy;
    }
  }
  float goalX = nearest != nullptr ? nearest->x : exitX;
  float goalY = nearest != nullptr ? nearest->y : exitY;
  float turn = 0.0f;
  if (nearest != nullptr && clearLine(goalX, goalY)) {
    turn = turnTo(headingTowards(goalX, goalY));
    scripted::setKeyHeld(platform::kVkSpace, std::fabs(turn) < 1.0f);
  } else {
    CellPos next{};
    if (findRouteStep(static_cast<int>(game.playerX), static_cast<int>(game.playerY),
                      static_cast<int>(goalX), static_cast<int>(goalY), next)) {
      goalX = static_cast<float>(next.x) + 0.5f;
      goalY = static_cast<float>(next.y) + 0.5f;
    }
    turn = turnTo(headingTowards(goalX, goalY));
    scripted::setKeyHeld('W', std::fabs(turn) < 20.0f);
  }
  scripted::moveCursor(static_cast<int>(std::lround(turn * 10.0f)), 0);
}

}  // namespace

void chooseGamePlay(SoakInput& input) {
  input.frameOfGame = 0;
  input.huntFrom = chance(input, 0.3) ? 0 : between(input, 100, 1500);
}

void releaseAllKeys() {
  for (int key = 0; key < 256; ++key) scripted::setKeyHeld(key, false);
}

void inputForFrame(SoakInput& input) {
  if (input.frameOfGame++ >= input.huntFrom && !chance(input, 0.1)) {
    for (int key : kPlayKeys) scripted::setKeyHeld(key, false);
    hunt();
    return;
  }
  // Each key keeps its state for a while, as a player's fingers do.
  for (int key : kPlayKeys) {
    if (chance(input, 0.15)) scripted::setKeyHeld(key, chance(input, 0.4));
  }
  for (int key : kOtherKeys) scripted::setKeyHeld(key, chance(input, 0.02));
  moveMouse(input);
}

void chooseMenuEntry(SoakInput& input, bool settings) {
  releaseAllKeys();
  scripted::setKeyHeld(settings ? platform::kVkDown : platform::kVkUp, true);
  scripted::pressKey(platform::kVkReturn);
  // Menu passes may also meet stray presses of keys the menu does not read.
  if (chance(input, 0.2)) scripted::pressKey('W');
}

std::string settingsAnswers(SoakInput& input, int& width, int& height) {
  // Entries the dialogue refuses whole: out of range, no number at all, beyond the int range,
  // or a refused number followed by letters ("0x20" is 0, then "x20").
  static const char* const kRefused[] = {
      "0", "513",  "-1", "-512",     "abc",         "x12",        "+",
      "-", "0x20", "\t", "\xDB\xDB", "99999999999", "2147483648", "4294967297"};
  auto size = [&] {
    const int kind = between(input, 0, 9);
    if (kind == 0) return 1;
    if (kind == 1) return 512;
    if (kind <= 4) return between(input, 1, 40);
    if (kind <= 7) return between(input, 41, 200);
    return between(input, 201, 512);
  };
  auto refusals = [&] {
    std::string text;
    const int count = between(input, 0, 3);
    for (int i = 0; i < count; ++i) {
      text += kRefused[between(input, 0, static_cast<int>(std::size(kRefused)) - 1)];
      text += chance(input, 0.5) ? "\n" : " ";
    }
    return text;
  };
  width = size();
  height = size();
  return refusals() + std::to_string(width) + (chance(input, 0.5) ? " " : "\n") + refusals() +
         std::to_string(height) + "\n";
}
