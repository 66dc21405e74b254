#!/usr/bin/env bash
# Checks that the release folder is reproducible: builds it twice from two
# clones of the committed sources, in folders of different names and lengths,
# without the compiler cache, and compares the SHA-256 of every file.
#   scripts/repro_check.sh [scratch folder]   (kept afterwards; about two builds' time)
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
scratch=${1:-$(mktemp -d /tmp/kaldero-repro.XXXXXX)}
mkdir -p "$scratch"
export CCACHE_DISABLE=1
unset CMAKE_CXX_COMPILER_LAUNCHER CMAKE_C_COMPILER_LAUNCHER
jobs=$(nproc)
for side in one second-build; do
  src="$scratch/$side/src"
  build="$scratch/$side/build"
  rm -rf "$scratch/$side"
  git clone -q "$ROOT" "$src"
  # Only the artwork tool of the host build: the programs' resources need its drawings.
  cmake -S "$src" -B "$build/host" -DCMAKE_BUILD_TYPE=Debug -DSANITIZE=OFF >/dev/null
  cmake --build "$build/host" --target artwork_files -j"$jobs" >/dev/null
  cmake --no-warn-unused-cli -S "$src" -B "$build/programs" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-i686-win32.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DWIN_PART=programs -DARTWORK_DIR="$build/host/artwork" -DDIST_DIR="$build/dist" >/dev/null
  cmake --build "$build/programs" --target dist -j"$jobs" | grep '^dist:' || true
  (cd "$build/dist" && sha256sum -- *) > "$scratch/$side.sha256"
done
echo "$scratch/one/build/dist:"
cat "$scratch/one.sha256"
if diff "$scratch/one.sha256" "$scratch/second-build.sha256" >/dev/null; then
  echo "repro: the two builds are byte-identical ($(wc -l < "$scratch/one.sha256") files)"
else
  echo "repro: the two builds differ:"
  diff "$scratch/one.sha256" "$scratch/second-build.sha256" || true
  exit 1
fi
