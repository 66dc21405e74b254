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
if [ ! -f "$BUILD/host/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD/host" -DCMAKE_BUILD_TYPE=Debug -DWIN_BIN_DIR="$BUILD/win/bin" >/dev/null
fi
cmake --build "$BUILD/host" -j"$jobs" 2>&1 | quiet
if [ ! -f "$BUILD/win/CMakeCache.txt" ]; then
  cmake -S . -B "$BUILD/win" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
    -DARTWORK_DIR="$BUILD/host/artwork" >/dev/null
fi
cmake --build "$BUILD/win" -j"$jobs" 2>&1 | quiet
