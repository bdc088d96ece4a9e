#!/usr/bin/env bash
# Runs the server's tests under Wine for one architecture (win32 or win64) through CTest, whose
# emulator for the cross build is scripts/wine-run.sh: registration, the type library read
# back against the engine's property table, automation from Wine's cscript, the container,
# site, persistence and leak suites, unregistration. Everything runs on one virtual display,
# so that the Wine processes of one run share it, in a private prefix made here.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=$1
if [ -z "${DELVORIN_XVFB:-}" ]; then
  exec xvfb-run -a env DELVORIN_XVFB=1 "$0" "$@"
fi
export WINEPREFIX="$PWD/build/wine-$arch" WINEARCH=$arch WINEDEBUG=-all
wineserver -k 2>/dev/null || true  # a server left from another display would not draw here
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  timeout 300 wineboot -i >/dev/null 2>&1
fi
ctest --preset "$arch"
wineserver -w
