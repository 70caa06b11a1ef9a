#!/usr/bin/env bash
# Drives the advanced search dialog in a running Quarrix with the keyboard, as a user
# would, on a virtual display, and saves two screenshots: docs/screenshots/advanced.png
# (the dialog with criteria set) and docs/screenshots/calendar.png (the date edit's
# calendar open under its box). Uses the build in $QRX_BUILD.
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/env.sh"
if [ -z "${QRX_SHOT_DISPLAY:-}" ]; then
  "$root/scripts/setup.sh"
  cmake --build "$QRX_BUILD" --target quarrix qrxpost -j2 >/dev/null
  # Again on a display of its own, whose Wine server goes with it.
  exec xvfb-run -a -s "-screen 0 800x600x24" env QRX_SHOT_DISPLAY=1 "$0" "$@"
fi
WINE=$QRX_WINE
out="$root/docs/screenshots"
mkdir -p "$out"
quarrix_pid=""
cleanup() {
  [ -n "$quarrix_pid" ] && kill "$quarrix_pid" 2>/dev/null || true
  wineserver -k >/dev/null 2>&1 || true
}
trap cleanup EXIT
wineserver -k >/dev/null 2>&1 || true
qrx_wine_up

profile=AdvancedShot
key='HKCU\Software\Vortalis\Quarrix\3.0\'$profile
"$WINE" reg add "$key\\Options" /v EditorType /d 0 /f >/dev/null 2>&1
for v in Left:0 Top:0 Width:582 Height:440; do
  "$WINE" reg add "$key\\Main" /v "${v%%:*}" /d "${v#*:}" /f >/dev/null 2>&1
done
cd "$QRX_BUILD/bin"
"$WINE" ./quarrix.exe "/KEY=$profile" >/dev/null 2>&1 &
quarrix_pid=$!
sleep 4

step() { xdotool key --delay 150 "$@"; sleep 0.5; }
# Cuts the dialog (and what hangs below it) out of the whole screen.
shoot() {
  local file=$1 below=$2
  eval "$(xdotool search --name 'Advanced Search Options' getwindowgeometry --shell | head -5)"
  import -window root -crop "$((WIDTH + 16))x$((HEIGHT + below + 16))+$((X - 8))+$((Y - 8))" +repage "$file"
  echo "screenshot: $file"
}

step alt+a                 # the Advanced button's mnemonic opens the dialog
step End                   # dates: Between (both boxes today)
step Tab Tab Tab Down      # sizes: Smaller than
step Tab 6 4               # 64 k bytes
step Tab Tab Tab space     # Hidden
shoot "$out/advanced.png" 0
step shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab shift+Tab  # back to the first date
step Down                  # opens the calendar
step Next Right Right      # a month on, two days later
shoot "$out/calendar.png" 60
step Escape Return         # the opening date back, then OK
"$WINE" ./qrxpost.exe close >/dev/null 2>&1 || true
wait "$quarrix_pid" 2>/dev/null || true
quarrix_pid=""
