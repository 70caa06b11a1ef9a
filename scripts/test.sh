#!/usr/bin/env bash
# Builds everything and runs every test (GUI tests under a virtual display). The tests run
# on the 32-bit build, the deliverable, where this machine can run 32-bit programs, and on
# the 64-bit build of the same sources where it cannot; both builds are made either way.
# Arguments go to ctest (for example -R engine_tests to run one suite).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$QRX_ROOT/scripts/setup.sh"
if [ -z "${QRX_BITS:-}" ]; then
  if qrx_can_run32; then QRX_BITS=32; else QRX_BITS=64; fi
fi
if [ "$QRX_BITS" = 32 ]; then
  "$QRX_ROOT/scripts/setup.sh" --wine32
  QRX_TEST32=ON qrx_build32
  qrx_build
  test_build=$QRX_BUILD32
  echo "the tests run on the 32-bit build"
else
  qrx_build
  test_build=$QRX_BUILD
  echo "the tests run on the 64-bit build: this machine cannot run 32-bit programs"
fi
status=0
# The Wine server and its desktop must live on the same display as the tests: a server
# left from an earlier run, or started without a display, cannot create windows.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  source "$1/scripts/env.sh"
  [ "$2" = 32 ] && qrx_use_build32
  cd "$3"; shift 3
  wineserver -k >/dev/null 2>&1 || true
  qrx_wine_up
  rc=0
  ctest --output-on-failure -j"$(nproc)" "$@" || rc=$?
  wineserver -k >/dev/null 2>&1 || true
  exit $rc' _ "$QRX_ROOT" "$QRX_BITS" "$test_build" "$@" || status=$?
if [ "$QRX_BITS" = 64 ]; then
  qrx_build32 >/dev/null || { echo "the 32-bit build failed"; status=1; }
fi
exit $status
