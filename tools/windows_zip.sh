#!/usr/bin/env bash
# Builds the Windows zip: the three 32-bit programs and a README.txt with CRLF line ends in one
# folder; prints its path. The same commit gives the same bytes wherever it is built: the entries
# in name order, each stamped with the commit's time, with fixed permissions.
# Depends on: cmake, the MinGW-w64 i686 compiler (g++-mingw-w64-i686), git, python3.
#
#   tools/windows_zip.sh [BUILD_DIR]      (build/windows-x86 by default)
set -euo pipefail
cd "$(dirname "$0")/.."

build_dir=${1:-build/windows-x86}
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH
cmake --preset windows-x86 -B "$build_dir" -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
# Linked afresh, so that the programs' PE time stamp is this commit's time.
rm -f "$build_dir"/{marbek,tolvan,ziravo}.exe
cmake --build "$build_dir" -j "${PACKAGE_BUILD_JOBS:-$(nproc)}" --target marbek tolvan ziravo \
  >/dev/null
cached() { sed -n "s/^$1:[A-Z]*=//p" "$build_dir/CMakeCache.txt"; }
folder=$(cached GAME_PACKAGE_NAME)-$(cached CMAKE_PROJECT_VERSION)-windows-x86
staging=$build_dir/zip
rm -rf "$staging"
cmake --install "$build_dir" --prefix "$staging/$folder" >/dev/null
python3 - "$staging" "$folder" "$build_dir/$folder.zip" <<'PYTHON'
import os, sys, time, zipfile
staging, folder, target = sys.argv[1:]
stamp = time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"]))[:6]
with zipfile.ZipFile(target, "w") as archive:
    for name in sorted(os.listdir(os.path.join(staging, folder))):
        entry = zipfile.ZipInfo(f"{folder}/{name}", stamp)
        entry.compress_type = zipfile.ZIP_DEFLATED
        entry.external_attr = 0o100644 << 16
        with open(os.path.join(staging, folder, name), "rb") as source:
            archive.writestr(entry, source.read())
PYTHON
echo "$build_dir/$folder.zip"
