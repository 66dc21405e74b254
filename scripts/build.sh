#!/usr/bin/env bash
# Builds everything: the host tools and unit tests (with sanitizers), then
# the Windows programs and the end-to-end driver with MinGW.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
BUILD="${KALDERO_BUILD_DIR:-$ROOT/build}"
jobs=$(nproc)
# Progress lines hide the warnings and errors worth reading.
quiet() { grep -vE '^\[ *[0-9]+%\]|^(Consolidate|Scanning|Built target)' || true; }
# Configuring again is quick and keeps the folders pointing at each other.
cmake -S . -B "$BUILD/host" -DCMAKE_BUILD_TYPE=Debug -DWIN_BIN_DIR="$BUILD/win/bin" >/dev/null
cmake --build "$BUILD/host" -j"$jobs" 2>&1 | quiet
cmake --no-warn-unused-cli -S . -B "$BUILD/win" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DARTWORK_DIR="$BUILD/host/artwork" >/dev/null
cmake --build "$BUILD/win" -j"$jobs" 2>&1 | quiet
