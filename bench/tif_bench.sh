#!/usr/bin/env bash
# The TIF writers on a 48-megapixel image (8-bit palette, 24-bit RGB, 16-bit
# grey) against ImageMagick converting the same BMP to TIF and against cp of
# a file of the TIF's size, all on one file system, median of 5 runs each.
# Not part of the test run: nice -n 19 bench/tif_bench.sh [palette|rgb|grey ...]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
OUT="${KALDERO_BUILD_DIR:-$ROOT/build}/bench"
RUNS=5
mkdir -p "$OUT"
# Optimised and without sanitizers: the unit-test build is neither.
g++ -std=c++20 -O2 -DNDEBUG -I"$ROOT" "$ROOT/bench/tif_bench.cpp" "$ROOT/formats/tif_write.cpp" \
  "$ROOT/formats/bmp_read.cpp" -o "$OUT/tif_bench"

now() { date +%s%N; }
# Median wall time in nanoseconds of RUNS runs of a command.
median_ns() {
  local times=() t0 t1
  for _ in $(seq "$RUNS"); do
    "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
    t0=$(now); "$@" >/dev/null 2>&1; t1=$(now)
    times+=($((t1 - t0)))
  done
  printf '%s\n' "${times[@]}" | sort -n | sed -n "$(( (RUNS + 1) / 2 ))p"
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

printf '%-8s %10s %10s %10s %12s %12s\n' layout "ours ms" "convert ms" "cp ms" "convert/ours" "ours/cp"
kinds=("$@")
[ ${#kinds[@]} -gt 0 ] || kinds=(palette rgb grey)
for kind in "${kinds[@]}"; do
  bmp="$OUT/$kind.bmp" tif="$OUT/$kind.tif"
  "$OUT/tif_bench" bmp "$kind" "$bmp"
  read -r ours ours_cpu < <("$OUT/tif_bench" write "$kind" "$tif" "$RUNS")
  size=$(stat -c %s "$tif")
  head -c "$size" /dev/urandom > "$OUT/$kind.same-size"
  extra=()
  [ "$kind" = grey ] && extra=(-depth 16)
  conv=$(median_ns bash -c 'rm -f "$1"; convert "$2" "${@:4}" "$1"' _ "$OUT/$kind.im.tif" "$bmp" x "${extra[@]}")
  copy=$(median_ns bash -c 'rm -f "$1"; cp "$2" "$1"' _ "$OUT/$kind.copy" "$OUT/$kind.same-size")
  printf '%-8s %10.1f %10.1f %10.1f %12s %12s\n' "$kind" "$(ratio "$ours" 1e6)" "$(ratio "$conv" 1e6)" \
    "$(ratio "$copy" 1e6)" "$(ratio "$conv" "$ours")" "$(ratio "$ours" "$copy")"
  [ "$kind" = grey ] && echo "grey: $(ratio "$ours" 48000000) ns per pixel wall, $(ratio "$ours_cpu" 48000000) ns per pixel of CPU time (16-bit writer with its dither)"
  rm -f "$bmp" "$tif" "$OUT/$kind.im.tif" "$OUT/$kind.same-size" "$OUT/$kind.copy"
done
