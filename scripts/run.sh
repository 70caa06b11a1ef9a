#!/usr/bin/env bash
# Builds Quarrix and runs its main job: a search over the project's own sources.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$QRX_ROOT/scripts/setup.sh"
qrx_build >/dev/null
qrx_wine_up
text=${*:-TFileSearchObj}
cd "$QRX_BUILD/bin"
"$QRX_WINE" ./qrxfind.exe "/DIR=Z:${QRX_ROOT//\//\\}\\src" "/MASK=*.cpp;*.h" /KIND=0 "$text"
