#!/usr/bin/env bash
# Starts Quarrix on the project's own sources, runs a search in it (the window selects
# the first match, so the preview shows it coloured), and saves a screenshot of the
# screen (to build/screenshots/main.png, or where QRX_SCREENSHOT says:
# docs/screenshots/main.png when the documented one is renewed).
# Starts a virtual display when there is none.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"
"$QRX_ROOT/scripts/setup.sh"
qrx_build --target quarrix qrxpost >/dev/null
WINE=$QRX_WINE
text=${1:-TFileSearchObj}
out=${QRX_SCREENSHOT:-$QRX_BUILD/screenshots/main.png}
mkdir -p "$(dirname "$out")"

xvfb_pid=""
quarrix_pid=""
cleanup() {
  [ -n "$quarrix_pid" ] && kill "$quarrix_pid" 2>/dev/null || true
  # The server's desktop belongs to this display; it must not outlive it.
  [ -n "$xvfb_pid" ] && wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
  done
  Xvfb "$display" -screen 0 800x600x24 >/dev/null 2>&1 &
  xvfb_pid=$!
  export DISPLAY=$display
  sleep 1
  wineserver -k >/dev/null 2>&1 || true  # a server from another display cannot open windows here
fi
qrx_wine_up

# A profile of the screenshot's own, past its first run, with the masks to use.
profile=Screenshot
key='HKCU\Software\Vortalis\Quarrix\3.0\'$profile
"$WINE" reg add "$key\\Options" /v EditorType /d 0 /f >/dev/null 2>&1
"$WINE" reg add "$key\\Search" /v FileMask /d '*.cpp;*.h' /f >/dev/null 2>&1
"$WINE" reg add "$key\\Search" /v ExprType /d 0 /f >/dev/null 2>&1
"$WINE" reg add "$key\\Main" /v CurPage /d 0 /f >/dev/null 2>&1
# Room for every match, so the run does not end at the limit with a message box that
# would hold the scripted click until someone answers it.
"$WINE" reg add "$key\\Options" /v MaxFinds /d 5000 /f >/dev/null 2>&1
# The stored default width, taller, so the tree and a few lines of preview both show.
for v in Left:0 Top:0 Width:582 Height:590 PreviewHeight:150; do
  "$WINE" reg add "$key\\Main" /v "${v%%:*}" /d "${v#*:}" /f >/dev/null 2>&1
done

src="Z:${QRX_ROOT//\//\\}\\src"
cd "$QRX_BUILD/bin"
"$WINE" ./quarrix.exe "/KEY=$profile" >/dev/null 2>&1 &
quarrix_pid=$!
# The later starts hand their directory and search text to the running copy.
sleep 3
"$WINE" ./quarrix.exe "/DIR=$src" >/dev/null 2>&1
"$WINE" ./quarrix.exe "$text" >/dev/null 2>&1
# The window selects the first match of the new search itself, so the preview shows it.
"$WINE" ./qrxpost.exe "click:Search Su&b Dirs" "click:S&tart"
sleep 1
import -window root "$out"
"$WINE" ./qrxpost.exe close >/dev/null 2>&1 || true
wait "$quarrix_pid" 2>/dev/null || true
quarrix_pid=""
echo "screenshot: $out"
