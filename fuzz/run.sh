#!/usr/bin/env bash
# Builds the fuzz targets with clang's libFuzzer (address and undefined-behaviour sanitizers on)
# and runs each for a bounded time: the terminal input decoder and the key state it drives, the
# settings dialogue's reading of numbers, and the replay tool's script parser. Each target is compiled from only the
# sources it needs, and rebuilt when a source is newer than it.
#
#   fuzz/run.sh [SECONDS]      seconds per target, 20 by default
#
# A crash, sanitizer report, failed check or hang (10 s on one input) stops it with status 1 and
# leaves the input that did it in build/fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
out=build/fuzz
mkdir -p "$out"

flags=(-std=c++20 -g -O1 -I. -Wall -Wextra -ffp-contract=off
       -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all)
declare -A sources=(
  [input_decoder]="fuzz/input_decoder_fuzz.cpp platform/terminal/input_decoder.cpp
    platform/terminal/terminal_input.cpp platform/terminal/key_tracker.cpp
    platform/terminal/repeat_timing.cpp platform/terminal/virtual_pointer.cpp"
  [settings]="fuzz/settings_fuzz.cpp shell/settings.cpp shell/present.cpp shell/start_up.cpp
    render/frame_buffer.cpp render/sprites.cpp platform/scripted.cpp platform/console_model.cpp
    world/game_state.cpp world/level.cpp actors/runtime_random.cpp"
  [replay_script]="fuzz/replay_script_fuzz.cpp tools/replay_script.cpp"
)

for target in input_decoder settings replay_script; do
  binary=$out/${target}_fuzz
  if [ ! -x "$binary" ] ||
     [ -n "$(find actors fuzz platform render shell tools world -newer "$binary" -print -quit)" ]; then
    # shellcheck disable=SC2086  # the source list splits into files
    clang++ "${flags[@]}" ${sources[$target]} -o "$binary"
  fi
  corpus=$out/corpus_$target
  mkdir -p "$corpus"
  log=$out/${target}.log
  if ! (cd "$out" && "./${target}_fuzz" -max_total_time="$seconds" -timeout=10 \
          -rss_limit_mb=2048 "corpus_$target" "../../fuzz/seeds/$target") >"$log" 2>&1; then
    tail -n 40 "$log" >&2
    echo "fuzz: $target failed; its log is $log" >&2
    exit 1
  fi
  runs=$(grep -o 'Done [0-9]* runs' "$log" | grep -o '[0-9]*' || echo "?")
  echo "fuzz: $target: $runs inputs in ${seconds} s, no fault"
done
