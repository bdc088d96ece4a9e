#!/usr/bin/env bash
# CTest's emulator for the Windows builds: runs a program under Wine in the private prefix of
# the architecture given first (made by scripts/wine-tests.sh), with that architecture's loader.
set -euo pipefail
arch=$1
shift
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/wine-env.sh"
wine_require "$arch"
export WINEPREFIX="${WINEPREFIX:-$root/build/wine-$arch}" WINEARCH=$arch WINEDEBUG="${WINEDEBUG:--all}"
exec timeout 300 "$(wine_loader "$arch")" "$@"
