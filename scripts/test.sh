#!/usr/bin/env bash
# Builds everything and runs every test (GUI tests under a virtual display); then checks
# that the 32-bit deliverables build too.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$QRX_ROOT/scripts/setup.sh"
qrx_build
status=0
# The Wine server and its desktop must live on the same display as the tests: a server
# left from an earlier run, or started without a display, cannot create windows.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  source "$1/scripts/env.sh"; shift
  wineserver -k >/dev/null 2>&1 || true
  qrx_wine_up
  cd "$QRX_BUILD"
  rc=0
  ctest --output-on-failure -j"$(nproc)" "$@" || rc=$?
  wineserver -k >/dev/null 2>&1 || true
  exit $rc' _ "$QRX_ROOT" "$@" || status=$?
qrx_build32 >/dev/null || { echo "the 32-bit build failed"; status=1; }
exit $status
