#!/usr/bin/env bash
# Runs end-to-end tests of the Windows driver under Wine (a GoogleTest filter;
# the environment is chosen by the suite of its first name). Suites whose
# name ends in OnDepth8 run on an 8-bit screen of their own; suites ending in
# InShellDesktop run inside a Wine desktop with a task bar; suites ending in
# Japanese run with a Japanese locale (Wine takes the code page from the
# locale of the process tree it starts, so the driver must have it too).
set -u
bin=$1
name=$2
suite=${name%%.*}
source "$(dirname "$0")/../../scripts/wine_env.sh"
mkdir -p "$BUILD/e2e-shots"

# Registry values an earlier test changed and could not put back (it was
# killed): the driver journals each value before changing it.
journal="$BUILD/e2e-registry-journal.txt"
if [ -s "$journal" ]; then
  tac "$journal" | while IFS=$'\t' read -r root key name existed value; do
    if [ "$existed" = 1 ]; then
      wine reg add "$root\\$key" /v "$name" /t REG_SZ /d "$value" /f >/dev/null 2>&1
    else
      wine reg delete "$root\\$key" /v "$name" /f >/dev/null 2>&1
    fi
  done
  wineserver -w
fi
rm -f "$journal"
export KALDERO_REG_JOURNAL="$(winepath -w "$journal" 2>/dev/null)"
# A caller may send the screenshots elsewhere (the run command's tour does).
export KALDERO_SHOTS="${KALDERO_SHOTS:-$(winepath -w "$BUILD/e2e-shots" 2>/dev/null)}"
driver="$bin/e2e_tests.exe"
# Print tests need a printer queue: the test run's, or one set up here. A
# program's CUPS client takes the server from the Unix environment, which
# Wine hands down unchanged: the tests of an unreachable CUPS point it nowhere.
source "$(dirname "$0")/../../scripts/printer.sh"
case "$suite" in
  PrintUnreachable*) export CUPS_SERVER=/nonexistent/cups.sock ;;
  Print*) ensure_printer; wait_printer_idle; trap stop_printer EXIT ;;
esac
cmd=(wine "$driver" "--gtest_filter=$name")

case "$suite" in
  *OnDepth8)
    # Screen settings are taken when the Wine server starts: a fresh one
    # before and after keeps the 8-bit screen to this test alone.
    wineserver -k 2>/dev/null; wineserver -w
    saved_display=${DISPLAY:-}
    start_xvfb 8 || exit 1
    trap 'wineserver -k 2>/dev/null; wineserver -w; stop_xvfb; export DISPLAY=$saved_display' EXIT
    ;;
  *Japanese)
    cmd=(env LC_ALL=ja_JP.UTF-8 "${cmd[@]}")
    ;;
  *InShellDesktop)
    cmd=(wine explorer "/desktop=shell,800x600" "$(winepath -w "$driver")" "--gtest_filter=$name")
    # The desktop's screen size outlives the run in the Wine server.
    trap 'wineserver -k 2>/dev/null; wineserver -w' EXIT
    ;;
esac

out=$(timeout 150 "${cmd[@]}" 2>&1)
rc=$?
printf '%s\n' "$out" | grep -a -v '^[0-9a-f]\{4\}:\(fixme\|err\|warn\)' 
# A desktop run does not hand the driver's exit code back: read its verdict.
# A filter may match several tests; one that cannot run on this machine says
# why and does not fail the run, but a filter that matches none does.
if ! printf '%s\n' "$out" | grep -q '^\[  FAILED  \]'; then
  printf '%s\n' "$out" | grep -q '^\[  \(PASSED  \|SKIPPED \)\] [1-9][0-9]* tests\?[.,]' && exit 0
fi
echo "e2e test $name failed (exit code $rc)"
exit 1
