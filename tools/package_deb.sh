#!/usr/bin/env bash
# Builds the Debian package of the three programs with CPack and prints its path. The same commit
# gives the same bytes wherever it is built: every time stamp is the commit's time.
# Depends on: cmake, g++, dpkg-dev (dpkg-shlibdeps), file, gzip, git.
#
#   tools/package_deb.sh [BUILD_DIR]      (build/package by default)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build/package}
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
cmake --preset package -B "$build_dir" >/dev/null
cmake --build "$build_dir" -j "${PACKAGE_BUILD_JOBS:-$(nproc)}" \
  --target marbek tolvan ziravo packed_documents desktop_icons >/dev/null
(cd "$build_dir" && cpack -G DEB) >"$build_dir/cpack.log" 2>&1 ||
  { cat "$build_dir/cpack.log" >&2; exit 1; }
ls "$build_dir"/*.deb
