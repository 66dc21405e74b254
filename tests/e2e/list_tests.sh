#!/usr/bin/env bash
# Prints the end-to-end driver's test list (--gtest_list_tests) with the
# build's Wine prefix, for CTest.
set -u
bin=$1
source "$(dirname "$0")/../../scripts/wine_env.sh"
[ -f "$bin/e2e_tests.exe" ] || exit 1
timeout 100 wine "$bin/e2e_tests.exe" --gtest_list_tests 2>/dev/null | tr -d '\r'
exit "${PIPESTATUS[0]}"
