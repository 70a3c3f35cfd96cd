// Random input for soaking: held keys that change now and then, mouse moves from a pixel to the
// whole int range, a hunter that aims, fires and walks routes so that games are also won, and
// settings answers mixing refused entries with sizes from 1 x 1 to 512 x 512.
// Depends on: soak_input.h, platform/scripted.h, render/frame_buffer.h, tools/soak/soak_player.h,
// world/game_state.h.
#include "tools/soak/soak_input.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <iterator>
#include <string>

#include "platform/platform.h"
#include "platform/scripted.h"
#include "render/frame_buffer.h"
#include "tools/soak/soak_player.h"
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
  const platform::ScreenPoint cursor = platform::pointerPosition();
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
    steerSoakPlayer();
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
    if (kind == 1) return kLargestScreen;
    if (kind <= 4) return between(input, 1, 40);
    if (kind <= 7) return between(input, 41, 200);
    return between(input, 201, kLargestScreen);
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
