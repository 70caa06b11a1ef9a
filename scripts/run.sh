#!/usr/bin/env bash
# Builds Quarrix and starts it under Wine with the project's own sources as its
# directory. Without a display it runs a search on a virtual one instead and says
# where the screenshot went.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
if [ -z "${DISPLAY:-}" ]; then
  exec "$QRX_ROOT/scripts/screenshot.sh" "$@"
fi
"$QRX_ROOT/scripts/setup.sh"
qrx_build --target quarrix >/dev/null
qrx_wine_up
cd "$QRX_BUILD/bin"
exec "$QRX_WINE" ./quarrix.exe "/DIR=Z:${QRX_ROOT//\//\\}\\src" "$@"
