#!/usr/bin/env bash
# Runs the server's tests under Wine for one architecture (win32 or win64): registration,
# the type library read back against the engine's property table, unregistration.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=$1
build=build/$arch/ocx
export WINEPREFIX="$PWD/build/wine-$arch" WINEARCH=$arch WINEDEBUG=-all
run() { timeout 300 xvfb-run -a wine "$@"; }
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  timeout 300 xvfb-run -a wineboot -i >/dev/null 2>&1
fi
ocx=$(winepath -w "$build/Delvorin2.ocx" 2>/dev/null)
run regsvr32 /s "$ocx"
run "$build/teste_biblioteca.exe"
run regsvr32 /u /s "$ocx"
run "$build/teste_biblioteca.exe" removido
