#!/usr/bin/env bash
# Builds everything and runs every test (GUI tests under a virtual display).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$QRX_ROOT/scripts/setup.sh"
qrx_build
qrx_wine_up
cd "$QRX_BUILD"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j"$(nproc)" "$@"
