#!/usr/bin/env bash
# Installs the cross compilers, Wine and the display server when they are missing.
# Checks first, so a second run costs nothing.
set -euo pipefail
need=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q "install ok installed"; }
for p in cmake make python3 binutils g++-mingw-w64-i686 g++-mingw-w64-x86-64 mingw-w64-tools googletest \
         wine wine64 xvfb xauth imagemagick xdotool \
         cups-daemon cups-client libcups2 ghostscript poppler-utils; do
  have "$p" || need+=("$p")
done
# With --wine32: 32-bit Wine too, for running the 32-bit build (only where the kernel runs
# 32-bit programs; the caller checks).
if [ "${1:-}" = "--wine32" ]; then
  have wine32:i386 || need+=("wine32:i386")
  # 32-bit Wine reaches printers through the 32-bit CUPS library.
  have libcups2:i386 || need+=("libcups2:i386")
fi
# With --fuzz: clang and its sanitizer runtime, for the fuzz targets (fuzz/README.md).
if [ "${1:-}" = "--fuzz" ]; then
  for p in clang libclang-rt-14-dev; do have "$p" || need+=("$p"); done
fi
if [ ${#need[@]} -eq 0 ]; then exit 0; fi
echo "setup: installing ${need[*]}"
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
if [[ " ${need[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${need[@]}" >/dev/null
