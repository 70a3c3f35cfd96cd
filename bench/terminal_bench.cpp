// What the terminal is sent per frame: the frames of a played game, each encoded as the
// difference from the one before, against repainting every cell.
// Depends on: bench/bench_game.h, platform/scripted.h, platform/terminal/frame_encoder.h.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <vector>

#include "bench/bench_game.h"
#include "platform/platform.h"
#include "platform/scripted.h"
#include "platform/terminal/frame_encoder.h"
#include "shell/frame_loop.h"
#include "world/game_state.h"

namespace {

const Variant* const kVariants[] = {&marbekVariant, &tolvanVariant, &ziravoVariant};
const char* const kVariantNames[] = {"marbek", "tolvan", "ziravo"};
constexpr int kFrames = 200;

// The console after each frame of a short game: walking, turning both ways, firing, and the
// map held now and then. The game may end early; its frames until then are kept.
std::vector<ConsoleModel> playedFrames(const Variant& variant) {
  startBenchGame(variant, 120, 40);
  std::vector<ConsoleModel> frames;
  for (int frame = 0; frame < kFrames && game.appState == AppState::Playing; ++frame) {
    scripted::setKeyHeld('W', frame % 40 < 25);
    scripted::setKeyHeld(platform::kVkSpace, frame % 3 == 0);
    scripted::setKeyHeld(platform::kVkTab, frame % 50 >= 45);
    scripted::moveCursor(frame % 80 < 40 ? 12 : -9, 0);
    runFrame();
    frames.push_back(scripted::console());
  }
  return frames;
}

void EncodeFrames(benchmark::State& state) {
  const int variant = static_cast<int>(state.range(0));
  const std::vector<ConsoleModel> frames = playedFrames(*kVariants[variant]);
  size_t bytes = 0;
  size_t encoded = 0;
  for (auto _ : state) {
    // Every pass starts from a terminal that shows nothing yet; the first frame is all new.
    term::ShownScreen shown;
    shown.cursorVisible = 0;
    for (const ConsoleModel& frame : frames) {
      bytes += term::encodeUpdate(shown, frame).size();
      ++encoded;
    }
  }
  state.counters["bytes_per_frame"] = static_cast<double>(bytes) / static_cast<double>(encoded);
  state.counters["full_repaint_bytes"] =
      static_cast<double>(term::encodeFullRepaint(frames.back()).size());
  state.counters["frames"] = static_cast<double>(frames.size());
  state.SetLabel(kVariantNames[variant]);
}

}  // namespace

BENCHMARK(EncodeFrames)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);
