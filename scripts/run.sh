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
if [ ! -f "$QRX_BUILD/CMakeCache.txt" ]; then
  cmake -S "$QRX_ROOT" -B "$QRX_BUILD" -DCMAKE_TOOLCHAIN_FILE="$QRX_ROOT/cmake/mingw-i686.cmake" >/dev/null
fi
cmake --build "$QRX_BUILD" --target quarrix -j2 >/dev/null
qrx_wine_up
cd "$QRX_BUILD/bin"
exec "${WINE:-wine}" ./quarrix.exe "/DIR=Z:${QRX_ROOT//\//\\}\\src" "$@"
