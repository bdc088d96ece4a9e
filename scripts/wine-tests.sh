#!/usr/bin/env bash
# Runs the server's tests under Wine for one architecture (win32 or win64) through CTest, whose
# emulator for the cross build is scripts/wine-run.sh: registration, the type library read
# back against the engine's property table, automation from Wine's cscript, the container,
# site, persistence and leak suites, unregistration, and the static checks of the server file.
# Everything runs on one virtual display, so that the Wine processes of one run share it, in a
# private prefix made here. An architecture this machine cannot run is refused with the reason.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=$1
. scripts/wine-env.sh
wine_require "$arch"
if [ -z "${DELVORIN_XVFB:-}" ]; then
  exec xvfb-run -a env DELVORIN_XVFB=1 "$0" "$@"
fi
wine_prefix "$arch" "$PWD/build/wine-$arch"
ctest --preset "$arch"
wineserver -w
