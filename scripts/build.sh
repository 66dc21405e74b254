#!/usr/bin/env bash
# Builds everything: the host tools and unit tests (with sanitizers), then
# with MinGW the two Windows programs, their manuals and the release folder
# build/dist (win32 thread model: nothing older systems lack), and the
# end-to-end driver and picture tools (posix thread model, for GoogleTest).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
BUILD="${KALDERO_BUILD_DIR:-$ROOT/build}"
jobs=$(nproc)
# CI fails on any warning, from every compiler.
werror=OFF
[ "${CI:-}" = true ] && werror=ON
# Progress lines hide the warnings and errors worth reading.
quiet() { grep -vE '^\[ *[0-9]+%\]|^(Consolidate|Scanning|Built target)' || true; }
# Configuring again is quick and keeps the folders pointing at each other.
cmake -S . -B "$BUILD/host" -DCMAKE_BUILD_TYPE=Debug -DWIN_BIN_DIR="$BUILD/win/bin" -DDIST_DIR="$BUILD/dist" \
  -DWARNINGS_AS_ERRORS=$werror >/dev/null
cmake --build "$BUILD/host" -j"$jobs" 2>&1 | quiet
cmake --no-warn-unused-cli -S . -B "$BUILD/programs" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686-win32.cmake \
  -DCMAKE_BUILD_TYPE=Release -DWIN_PART=programs -DARTWORK_DIR="$BUILD/host/artwork" -DDIST_DIR="$BUILD/dist" \
  -DWARNINGS_AS_ERRORS=$werror >/dev/null
cmake --build "$BUILD/programs" -j"$jobs" 2>&1 | quiet
cmake --no-warn-unused-cli -S . -B "$BUILD/win" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
  -DWIN_PART=tests -DDIST_DIR="$BUILD/dist" -DWARNINGS_AS_ERRORS=$werror >/dev/null
cmake --build "$BUILD/win" -j"$jobs" 2>&1 | quiet
# The portable code again under clang: the fuzz harnesses with libFuzzer, and
# the harnesses and unit tests with 32-bit sizes, as the programs have them.
for arch in 64 32; do
  cmake -S . -B "$BUILD/fuzz$arch" -DPORTABLE_ONLY=ON -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang --no-warn-unused-cli \
    -DCMAKE_CXX_FLAGS="-m$arch" -DCMAKE_C_FLAGS="-m$arch" -DCMAKE_EXE_LINKER_FLAGS="-m$arch" -DWARNINGS_AS_ERRORS=$werror >/dev/null
  cmake --build "$BUILD/fuzz$arch" -j"$jobs" 2>&1 | quiet
done
