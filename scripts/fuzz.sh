#!/usr/bin/env bash
# Runs every fuzz harness (or the ones named) for a while, two at a time, and
# prints executions, executions per second and coverage. What a run finds
# that adds coverage is merged, minimised, into the kept corpus under
# tests/fuzz/corpus/; a crash leaves its input in build/fuzz-findings/.
#   scripts/fuzz.sh [--seconds N] [--runs N] [harness ...]
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD="${KALDERO_BUILD_DIR:-$ROOT/build}"
seconds=60
runs=-1
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    *) break ;;
  esac
done
bin="$BUILD/fuzz64/tests/fuzz"
[ -d "$bin" ] || { echo "fuzz: build first (scripts/build.sh)" >&2; exit 1; }
if [ $# -gt 0 ]; then names=("$@"); else
  names=(); for f in "$bin"/fuzz_*; do [ -x "$f" ] && names+=("$(basename "$f" | sed 's/^fuzz_//')"); done
fi
findings="$BUILD/fuzz-findings"
mkdir -p "$findings"

one() {
  local name=$1 kept="$ROOT/tests/fuzz/corpus/$1" work="$BUILD/fuzz-work/$1" log="$findings/$1.log"
  rm -rf "$work"; mkdir -p "$work" "$kept"
  cp -r "$kept/." "$work/" 2>/dev/null || true
  # The harnesses refuse what the programs refuse; 1 MiB inputs reach every
  # header field and the larger tables.
  nice -n 19 "$bin/fuzz_$name" -max_total_time="$seconds" -runs="$runs" -max_len=65536 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$findings/$name-" "$work" >"$log" 2>&1 || true
  "$bin/fuzz_$name" -merge=1 "$kept" "$work" >/dev/null 2>&1 || true
  local execs rate cov
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
  rate=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
  cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*' || echo 0)
  local verdict=ok
  grep -qE '^==[0-9]+==ERROR|deadly signal|runtime error' "$log" && verdict="FINDING (see $log)"
  printf '%-14s %12s execs %8s/s  coverage %5s edges  kept %4s files  %s\n' \
    "$name" "$execs" "$rate" "$cov" "$(ls "$kept" | wc -l)" "$verdict"
}

i=0
for name in "${names[@]}"; do
  one "$name" &
  i=$((i + 1))
  [ $((i % 2)) -eq 0 ] && wait
done
wait
