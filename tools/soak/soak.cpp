// soak: plays each program for many frames of random input through the scripted console, with
// games started and sizes set through the real menu and settings dialogue, and checks the frame
// invariants after every frame. Built with the sanitizers, it also finds memory and undefined-
// behaviour faults.
// Usage: soak [--frames N] [--seed S] [marbek|tolvan|ziravo ...]
// Depends on: soak_input.h, soak_checks.h, shell (main loop, start-up), platform/scripted.h,
// render/frame_buffer.h, variants.
#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/scripted.h"
#include "render/frame_buffer.h"
#include "shell/main_loop.h"
#include "shell/start_up.h"
#include "tools/soak/soak_checks.h"
#include "tools/soak/soak_input.h"
#include "variants/variant.h"
#include "world/game_state.h"

namespace {

constexpr const char* kUsage = "usage: soak [--frames N] [--seed S] [marbek|tolvan|ziravo ...]";
// A dialogue that has not taken a size after this many passes is stuck.
constexpr int kMostSettingsPasses = 100;

struct Program {
  std::string_view name;
  const Variant* variant;
  unsigned number;
};
constexpr Program kPrograms[] = {
    {"marbek", &marbekVariant, 0}, {"tolvan", &tolvanVariant, 1}, {"ziravo", &ziravoVariant, 2}};

struct Tally {
  long long frames = 0;
  int games = 0;
  int won = 0;
  int lost = 0;
  int settings = 0;
  int smallestArea = kLargestScreen * kLargestScreen;
  int largestArea = 0;
};

[[noreturn]] void broke(std::string_view program, long long frame, const std::string& what) {
  std::cerr << "soak: " << program << ", frame " << frame << ": " << what << "\n";
  std::exit(1);
}

void runSettings(const Program& program, SoakInput& input, Tally& tally) {
  int width = 0;
  int height = 0;
  scripted::setInput(settingsAnswers(input, width, height));
  for (int pass = 0; game.appState == AppState::Settings; ++pass) {
    if (pass == kMostSettingsPasses) broke(program.name, tally.frames, "settings never finish");
    runMainLoopPass(*program.variant);
  }
  if (game.screenWidth != width || game.screenHeight != height) {
    broke(program.name, tally.frames,
          "settings took " + std::to_string(game.screenWidth) + "x" +
              std::to_string(game.screenHeight) + " for " + std::to_string(width) + "x" +
              std::to_string(height));
  }
  ++tally.settings;
  tally.smallestArea = std::min(tally.smallestArea, width * height);
  tally.largestArea = std::max(tally.largestArea, width * height);
}

// One program from start-up until it has played `frames` frames.
Tally soak(const Program& program, long long frames, unsigned long long seed) {
  scripted::reset(120, 40);
  startUp(120, 40);
  SoakInput input{std::mt19937_64(seed)};
  Tally tally;
  GameRecord record;
  while (tally.frames < frames) {
    if (game.appState == AppState::Menu) {
      const bool settings = std::bernoulli_distribution(0.5)(input.random);
      chooseMenuEntry(input, settings);
      runMainLoopPass(*program.variant);
      releaseAllKeys();
      if (game.appState == AppState::Settings) runSettings(program, input, tally);
      if (game.appState == AppState::Playing) {
        record.spawned = game.entities.size();
        chooseGamePlay(input);
        ++tally.games;
      }
      continue;
    }
    if (game.appState != AppState::Playing) broke(program.name, tally.frames, "unknown state");
    inputForFrame(input);
    const FrameBefore before = noteBeforeFrame();
    runMainLoopPass(*program.variant);
    ++tally.frames;
    const std::string problem = checkAfterFrame(record, before);
    if (!problem.empty()) broke(program.name, tally.frames, problem);
    if (game.appState != AppState::Playing) {
      releaseAllKeys();
      (game.playerDead ? tally.lost : tally.won) += 1;
    }
  }
  return tally;
}

bool parseCount(std::string_view text, unsigned long long& value) {
  const char* end = text.data() + text.size();
  auto [stop, problem] = std::from_chars(text.data(), end, value);
  return !text.empty() && problem == std::errc() && stop == end;
}

}  // namespace

int main(int argc, char** argv) {
  unsigned long long frames = 2000;
  unsigned long long seed = 1;
  std::vector<Program> chosen;
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (word == "--frames" || word == "--seed") {
      if (i + 1 >= argc || !parseCount(argv[i + 1], word == "--frames" ? frames : seed)) {
        std::cerr << "soak: " << word << " needs a whole number\n" << kUsage << "\n";
        return 2;
      }
      ++i;
      continue;
    }
    bool known = false;
    for (const Program& program : kPrograms) {
      if (word == program.name) {
        chosen.push_back(program);
        known = true;
      }
    }
    if (!known) {
      std::cerr << "soak: unknown argument '" << word << "'\n" << kUsage << "\n";
      return 2;
    }
  }
  if (chosen.empty()) chosen.assign(std::begin(kPrograms), std::end(kPrograms));

  for (const Program& program : chosen) {
    try {
      // Each program its own input, the same whether it is soaked alone or with the others.
      const Tally tally = soak(program, static_cast<long long>(frames), seed * 3 + program.number);
      std::cout << program.name << ": " << tally.frames << " frames, " << tally.games << " games ("
                << tally.won << " won, " << tally.lost << " lost), ";
      if (tally.settings == 0) {
        std::cout << "no size set";
      } else {
        std::cout << tally.settings << " sizes set (areas " << tally.smallestArea << " to "
                  << tally.largestArea << " cells)";
      }
      std::cout << ", every check held\n";
    } catch (const scripted::ConsoleClosed&) {
      broke(program.name, -1, "the settings dialogue ran out of typed input");
    }
  }
  return 0;
}
