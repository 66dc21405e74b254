#!/usr/bin/env bash
# Sets up what is missing, builds, and starts the viewer on your display when
# DISPLAY is set. Without a display it gives a short tour of the real viewer
# on a headless screen: it opens a sample photo and a sample icon, zooms in
# and out, and saves a screenshot of each step under build/tour/.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/setup.sh"
"$ROOT/scripts/build.sh"
source "$ROOT/scripts/wine_env.sh"
ensure_wine_prefix
EXE="$BUILD/win/bin/KALDERO5.EXE"
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$EXE"
fi
start_xvfb 24
trap 'wineserver -k 2>/dev/null || true; stop_xvfb' EXIT
tour="$BUILD/tour"
rm -rf "$tour"
mkdir -p "$tour"
status=0
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
exit "$status"
