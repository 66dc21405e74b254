#!/usr/bin/env bash
# Sets up what is missing, builds, and starts the viewer: on your display when
# DISPLAY is set, otherwise on a headless screen, where it saves a screenshot.
# "scripts/run.sh meridot" starts the capture program instead.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/setup.sh"
"$ROOT/scripts/build.sh"
source "$ROOT/scripts/wine_env.sh"
ensure_wine_prefix
EXE="$BUILD/win/bin/KALDERO5.EXE"
TITLE='^Kaldero - '
NAME=kaldero
if [ "${1:-}" = meridot ]; then
  EXE="$BUILD/win/bin/MERIDOT5.EXE"
  TITLE='^Meridot$'
  NAME=meridot
fi
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$EXE"
fi
start_xvfb 24
trap 'wineserver -k 2>/dev/null || true; stop_xvfb' EXIT
wine "$EXE" &
for _ in $(seq 1 100); do
  xdotool search --name "$TITLE" >/dev/null 2>&1 && break
  sleep 0.2
done
sleep 1
shot="$BUILD/$NAME-screenshot.png"
/usr/bin/import -window root "$shot"
echo "The program ran headless; screenshot: $shot"
