#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test: the unit tests under
# AddressSanitizer and UndefinedBehaviorSanitizer, then the end-to-end tests
# of the real programs under Wine on a headless screen.
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
"$ROOT/scripts/setup.sh"
"$ROOT/scripts/build.sh"
source "$ROOT/scripts/wine_env.sh"
ensure_wine_prefix
source "$ROOT/scripts/printer.sh"
start_xvfb 24
ensure_printer
trap 'wineserver -k 2>/dev/null || true; stop_xvfb; stop_printer' EXIT
rm -rf "$BUILD/e2e-shots"
status=0
ctest --test-dir "$BUILD/host" --output-on-failure "$@" || status=$?
# The kept fuzz corpora replayed through every harness, and the unit tests
# again with 32-bit sizes.
for dir in fuzz64 fuzz32; do
  ctest --test-dir "$BUILD/$dir" --output-on-failure "$@" || status=$?
done
# Screenshots of the e2e run, as PNG files to look at.
if compgen -G "$BUILD/e2e-shots/*.bmp" >/dev/null; then
  for f in "$BUILD"/e2e-shots/*.bmp; do /usr/bin/convert "$f" "${f%.bmp}.png" && rm -f "$f"; done
fi
exit $status
