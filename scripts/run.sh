#!/usr/bin/env bash
# Sets up what is missing, builds, and starts both programs on your display
# when DISPLAY is set. Without a display it gives a short tour of the real
# viewer on a headless screen (it opens a sample photo and a sample icon, zooms
# in and out, and saves a screenshot of each step under build/tour/), then
# starts the capture program and saves a screenshot of it.
#   scripts/run.sh [kaldero|meridot]   only the one program
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
which=${1:-both}
"$ROOT/scripts/setup.sh"
"$ROOT/scripts/build.sh"
source "$ROOT/scripts/wine_env.sh"
ensure_wine_prefix
# The release folder's programs, from their copies beside the test driver
# (the capture program writes its INI beside itself).
VIEWER="$BUILD/win/bin/KALDERO5.EXE"
CAPTURE="$BUILD/win/bin/MERIDOT5.EXE"
if [ -n "${DISPLAY:-}" ]; then
  case "$which" in
    kaldero) exec wine "$VIEWER" ;;
    meridot) exec wine "$CAPTURE" ;;
    *) wine "$VIEWER" & exec wine "$CAPTURE" ;;
  esac
fi
start_xvfb 24
trap 'wineserver -k 2>/dev/null || true; stop_xvfb' EXIT
status=0
if [ "$which" != meridot ]; then
  tour="$BUILD/tour"
  rm -rf "$tour"
  mkdir -p "$tour"
  KALDERO_SHOTS="$(winepath -w "$tour" 2>/dev/null)" \
    "$ROOT/tests/e2e/run_test.sh" "$BUILD/win/bin" Tour.OpensTheSamplePhotoAndIconZoomsAndSavesAScreenshotOfEachStep \
    >"$tour/tour.log" 2>&1 || status=$?
  shots=()
  for f in "$tour"/tour-*.bmp; do
    [ -e "$f" ] || continue
    /usr/bin/convert "$f" "${f%.bmp}.png" && rm -f "$f"
    shots+=("${f%.bmp}.png")
  done
  if [ "$status" -ne 0 ]; then
    cat "$tour/tour.log" >&2
    echo "The tour did not finish; screenshots so far:" >&2
  fi
  echo "The viewer ran headless: a tour of the sample photo and icon. Screenshots of each step:"
  printf '  %s\n' "${shots[@]}"
fi
if [ "$which" != kaldero ]; then
  wine "$CAPTURE" &
  for _ in $(seq 1 100); do
    xdotool search --name '^Meridot$' >/dev/null 2>&1 && break
    sleep 0.2
  done
  sleep 1
  shot="$BUILD/meridot-screenshot.png"
  /usr/bin/import -window root "$shot"
  echo "The capture program ran headless; screenshot: $shot"
fi
exit "$status"
