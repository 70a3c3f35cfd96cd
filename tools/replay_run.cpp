// The headless run behind the replay tool, through the scripted backend and without pauses.
// Owns: runReplay, describeState. Depends on: shell (start-up, game start, frame loop),
// platform/scripted.h.
#include "tools/replay_run.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <ostream>
#include <string>

#include "platform/platform.h"
#include "platform/scripted.h"
#include "shell/frame_loop.h"
#include "shell/game_start.h"
#include "shell/start_up.h"
#include "world/game_state.h"

namespace {

const char* appStateName(AppState state) {
  switch (state) {
    case AppState::Menu:
      return "Menu";
    case AppState::Settings:
      return "Settings";
    case AppState::Playing:
      return "Playing";
  }
  return "Unknown";
}

void printFrame(long long number, std::ostream& out) {
  out << "frame " << number << '\n';
  std::string line;
  for (const std::string& row : game.screenRows) {
    line.assign(row);
    for (char& c : line) {
      if (c == kBlock) c = '#';
    }
    out << line << '\n';
  }
}

// Walks the script one frame at a time; nullptr once it is used up.
struct ScriptCursor {
  const ReplayScript& script;
  size_t step = 0;
  long long framesUsed = 0;
};

const ReplayStep* nextFrameStep(ScriptCursor& cursor) {
  while (cursor.step < cursor.script.size() &&
         cursor.framesUsed >= cursor.script[cursor.step].frames) {
    ++cursor.step;
    cursor.framesUsed = 0;
  }
  if (cursor.step == cursor.script.size()) return nullptr;
  ++cursor.framesUsed;
  return &cursor.script[cursor.step];
}

// A real pointer cannot leave the int range; neither may a scripted jump of any size.
void moveMouseBy(int dx) {
  const platform::ScreenPoint cursor = platform::pointerPosition();
  const long long x = static_cast<long long>(cursor.x) + dx;
  scripted::setCursor(static_cast<int>(std::clamp<long long>(x, INT_MIN, INT_MAX)), cursor.y);
}

void holdKeysOf(const ReplayStep* step) {
  constexpr int kScriptKeys[] = {
      'W', 'A', 'S', 'D', platform::kVkShift, platform::kVkSpace, platform::kVkTab};
  for (int key : kScriptKeys) {
    scripted::setKeyHeld(key, false);
  }
  if (step == nullptr) return;
  for (int key : step->keys) scripted::setKeyHeld(key, true);
}

}  // namespace

std::string describeState() {
  const char* format =
      "state playerX=%f playerY=%f viewAngle=%f health=%d kills=%d killTarget=%d entities=%d "
      "appState=%s playerDead=%d levelComplete=%d";
  auto print = [&](char* buffer, size_t size) {
    return std::snprintf(buffer, size, format, game.playerX, game.playerY, game.viewAngle,
                         game.health, game.kills, game.killTarget,
                         static_cast<int>(game.entities.size()), appStateName(game.appState),
                         game.playerDead ? 1 : 0, game.levelComplete ? 1 : 0);
  };
  // Measured first: a float printed with "%f" can be dozens of digits long.
  std::string text(static_cast<size_t>(print(nullptr, 0)), '\0');
  print(text.data(), text.size() + 1);
  return text;
}

void runReplay(const ReplayOptions& options, std::ostream& out) {
  // The console as large as the frame; the pointer at (960, 540) on a monitor 1920 pixels wide.
  scripted::reset(options.width, options.height);
  startUp(options.width, options.height);
  startGame(*options.variant);

  ScriptCursor script{options.script};
  for (long long index = 0; index < options.frames; ++index) {
    const ReplayStep* step = nextFrameStep(script);
    holdKeysOf(step);
    moveMouseBy(step ? step->mouseDx : 0);
    runFrame();
    const bool ended = game.appState != AppState::Playing;
    const bool last = ended || index + 1 == options.frames;
    if (options.print == PrintMode::All || (options.print == PrintMode::Last && last)) {
      printFrame(index + 1, out);
    }
    if (ended) break;
  }
  out << describeState() << '\n';
}
