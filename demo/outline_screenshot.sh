#!/usr/bin/env bash
# Shows sample results in the outline control on a virtual display and saves screenshots:
# docs/screenshots/outline.png (the results tree as the main window sets it up) and
# docs/screenshots/outline-styles.png (the six outline styles). Uses the build in $QRX_BUILD.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/env.sh"
cmake --build "$QRX_BUILD" --target outline_demo -j2 >/dev/null
mkdir -p "$root/docs/screenshots"
shoot() {
  local mode=$1 out=$2
  xvfb-run -a -s "-screen 0 800x480x24" bash -c "
    # A Wine server of this display's own: one started elsewhere cannot open windows here.
    source '$root/scripts/env.sh'; wineserver -k >/dev/null 2>&1 || true; qrx_wine_up
    '$QRX_WINE' '$QRX_BUILD/bin/outline_demo.exe' $mode 6000 &
    sleep 4
    import -window root '$out'
    wait
    wineserver -k >/dev/null 2>&1 || true
  "
  echo "screenshot: $out"
}
shoot results "$root/docs/screenshots/outline.png"
shoot styles "$root/docs/screenshots/outline-styles.png"
