#!/usr/bin/env bash
# Shows one of the project's own sources in the preview window on a virtual display and
# saves a screenshot to docs/screenshots/preview.png. Uses the build in $QRX_BUILD.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/env.sh"
cmake --build "$QRX_BUILD" --target preview_demo -j2 >/dev/null
out="$root/docs/screenshots/preview.png"
file="Z:${root//\//\\}\\src\\controls\\FilePrev.cpp"
# The line that sets the selection in the re-centring, with "LB_SETCURSEL" as the match.
line=$(grep -n 'LB_SETCURSEL' "$root/src/controls/FilePrev.cpp" | head -1 | cut -d: -f1)
text=$(sed -n "${line}p" "$root/src/controls/FilePrev.cpp")
prefix=${text%%LB_SETCURSEL*}
start=$(( ${#prefix} + 1 ))
stop=$(( start + 11 ))  # "LB_SETCURSEL" is 12 characters
xvfb-run -a -s "-screen 0 720x420x24" bash -c "
  # A Wine server of this display's own: one started elsewhere cannot open windows here.
  source '$root/scripts/env.sh'; wineserver -k >/dev/null 2>&1 || true; qrx_wine_up
  '$QRX_WINE' '$QRX_BUILD/bin/preview_demo.exe' '$file' $line $start $stop 6000 &
  sleep 4
  import -window root '$out'
  wait
  wineserver -k >/dev/null 2>&1 || true
"
echo "screenshot: $out"
