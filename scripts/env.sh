# Sourced by the build scripts: where the builds go and how Wine is run for them.
#
# build/       the 64-bit Windows build: every binary and test, run under wine64
# build-i686/  the 32-bit product build (quarrix.exe, QRXIDE32.DLL, kresh32.dll, qrxfind.exe);
#              it compiles here, but runs only where the kernel can execute 32-bit Wine
QRX_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QRX_BUILD=${QRX_BUILD:-$QRX_ROOT/build}
QRX_BUILD32=${QRX_BUILD32:-$QRX_ROOT/build-i686}
export WINEPREFIX=$QRX_BUILD/wine
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINELOADER=/usr/lib/wine/wine64
QRX_WINE=/usr/lib/wine/wine64

# Configures (once) and builds everything of the 64-bit build.
qrx_build() {
  if [ ! -f "$QRX_BUILD/CMakeCache.txt" ]; then
    cmake -S "$QRX_ROOT" -B "$QRX_BUILD" -DCMAKE_TOOLCHAIN_FILE="$QRX_ROOT/cmake/mingw-x86_64.cmake" >/dev/null
  fi
  cmake --build "$QRX_BUILD" -j"$(nproc)" "$@"
}

# The 32-bit deliverables; with QRX_TEST32=ON their tests too.
qrx_build32() {
  local testing=${QRX_TEST32:-OFF}
  if [ ! -f "$QRX_BUILD32/CMakeCache.txt" ] || ! grep -q "^BUILD_TESTING:BOOL=$testing\$" "$QRX_BUILD32/CMakeCache.txt"; then
    cmake -S "$QRX_ROOT" -B "$QRX_BUILD32" -DBUILD_TESTING="$testing" \
      -DCMAKE_TOOLCHAIN_FILE="$QRX_ROOT/cmake/mingw-i686.cmake" >/dev/null
  fi
  cmake --build "$QRX_BUILD32" -j"$(nproc)" "$@"
}

# Wine for the 32-bit build's tests: its own prefix, and the loader /usr/bin/wine picks.
qrx_use_build32() {
  export WINEPREFIX=$QRX_BUILD32/wine
  unset WINELOADER
}

# True where the kernel runs 32-bit Linux programs, so that 32-bit Wine can start: a tiny
# 32-bit program is made and run, rather than assuming either way.
qrx_can_run32() {
  local d ok=1
  d=$(mktemp -d)
  printf '.globl _start\n_start:\n movl $1,%%eax\n xorl %%ebx,%%ebx\n int $0x80\n' >"$d/t.s"
  if as --32 "$d/t.s" -o "$d/t.o" 2>/dev/null && ld -m elf_i386 "$d/t.o" -o "$d/t" 2>/dev/null &&
    "$d/t" 2>/dev/null; then
    ok=0
  fi
  rm -rf "$d"
  return $ok
}

# The first Wine call on a new prefix takes many seconds; do it once, and keep the server up.
qrx_wine_up() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    "$QRX_WINE" wineboot --init >/dev/null 2>&1 || true
    # Unmanaged windows: without a window manager (Xvfb) Wine otherwise waits 2 s per hidden window.
    "$QRX_WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
  fi
  # Every Windows machine opens web pages (the help) in its browser; the prefix lacks the
  # association because its HTML engine is switched off, so it gets Wine's browser hand-over.
  if ! grep -q '^\[Software\\\\Classes\\\\.html\]' "$WINEPREFIX/system.reg" 2>/dev/null; then
    "$QRX_WINE" reg add 'HKCR\.html' /ve /d htmlfile /f >/dev/null 2>&1 || true
    "$QRX_WINE" reg add 'HKCR\.htm' /ve /d htmlfile /f >/dev/null 2>&1 || true
  fi
  wineserver -p >/dev/null 2>&1 || true
  # Start the session's own processes (services, desktop) now, with their output going
  # nowhere: started by the first test instead, they would inherit its output pipe and
  # keep ctest waiting for it long after the test has ended.
  "$QRX_WINE" wineboot >/dev/null 2>&1 </dev/null || true
}
