#!/usr/bin/env bash
# Runs the Windows build's test suites under Wine through ctest.
#   run-tests.sh BUILD_DIR [JOBS]
# One Wine prefix inside the build folder, and one wineserver kept running for
# the whole run, so that each test process does not start its own.
set -euo pipefail

build=$(realpath "$1")
jobs=${2:-$(nproc)}
export WINEPREFIX="$build/wine"
export WINEDEBUG=-all
# No desktop, no dialog boxes: the tests run without a display.
unset DISPLAY WAYLAND_DISPLAY

if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix $WINEPREFIX"
  wineboot -i >/dev/null 2>&1 </dev/null
fi
# A server left by wineboot or an earlier run would end a few seconds after
# its last client, and the next test would start one on ctest's pipe: start
# afresh with one that stays, its streams away from ctest's pipe.
wineserver -k >/dev/null 2>&1 || true
wineserver -p >/dev/null 2>&1 </dev/null
# Wine's own service processes start with the first program and inherit its
# streams: let a first program without them start them.
wine cmd /c exit >/dev/null 2>&1 </dev/null
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

cd "$build"
ctest --output-on-failure -j "$jobs"
