#!/usr/bin/env bash
# Cross-builds the Windows programs: the 32-bit x86 deliverables (build/windows-x86) and a 64-bit
# build of them (build/windows-x64), each with the replay tool that the checks run under wine.
# Depends on: cmake, the MinGW-w64 compilers (g++-mingw-w64-i686, g++-mingw-w64-x86-64), python3.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=${WINDOWS_BUILD_JOBS:-$(nproc)}
for preset in windows-x86 windows-x64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs" --target marbek tolvan ziravo replay
done
