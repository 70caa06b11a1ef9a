# Sourced by the build scripts: where the build goes and how Wine is run for it.
QRX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QRX_BUILD=${QRX_BUILD:-$QRX_ROOT/build}
export WINEPREFIX=$QRX_BUILD/wine
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

# Configures (once) and builds everything.
qrx_build() {
  if [ ! -f "$QRX_BUILD/CMakeCache.txt" ]; then
    cmake -S "$QRX_ROOT" -B "$QRX_BUILD" -DCMAKE_TOOLCHAIN_FILE="$QRX_ROOT/cmake/mingw-i686.cmake" >/dev/null
  fi
  cmake --build "$QRX_BUILD" -j"$(nproc)"
}

# The first Wine call on a new prefix takes many seconds; do it once, and keep the server up.
qrx_wine_up() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot --init >/dev/null 2>&1 || true
    # Unmanaged windows: without a window manager (Xvfb) Wine otherwise waits 2 s per hidden window.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  fi
  wineserver -p >/dev/null 2>&1 || true
}
