#!/usr/bin/env bash
# CTest's emulator for the Windows builds: runs a program under Wine in the private prefix of
# the architecture given first (made by scripts/wine-tests.sh), with the loader it needs.
set -euo pipefail
arch=$1
shift
raiz=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="${WINEPREFIX:-$raiz/build/wine-$arch}" WINEARCH=$arch WINEDEBUG="${WINEDEBUG:--all}"
# In a 64-bit prefix the plain loader prefers the 32-bit builtins (cscript among them).
loader=wine
if [ "$arch" = win64 ] && [ -x /usr/lib/wine/wine64 ]; then loader=/usr/lib/wine/wine64; fi
exec timeout 300 "$loader" "$@"
