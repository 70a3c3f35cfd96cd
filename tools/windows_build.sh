#!/usr/bin/env bash
# Cross-builds the Windows programs: the 32-bit x86 deliverables (build/windows-x86) and the
# 64-bit build of marbek that the checks run under wine (build/windows-x64).
# Depends on: cmake, the MinGW-w64 compilers (g++-mingw-w64-i686, g++-mingw-w64-x86-64), python3.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=${WINDOWS_BUILD_JOBS:-$(nproc)}
cmake --preset windows-x86 >/dev/null
cmake --build --preset windows-x86 -j "$jobs" --target marbek tolvan ziravo
cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 -j "$jobs" --target marbek
