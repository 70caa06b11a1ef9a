#!/usr/bin/env bash
# Builds everything and runs every test (GUI tests under a virtual display); then checks
# that the 32-bit deliverables build too.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$QRX_ROOT/scripts/setup.sh"
qrx_build
qrx_wine_up
status=0
(cd "$QRX_BUILD" && xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j"$(nproc)" "$@") || status=$?
qrx_build32 >/dev/null || { echo "the 32-bit build failed"; status=1; }
exit $status
