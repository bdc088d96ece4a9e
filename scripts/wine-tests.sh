#!/usr/bin/env bash
# Runs the server's tests under Wine for one architecture (win32 or win64): registration,
# the type library read back against the engine's property table, automation from Wine's
# cscript, unregistration. Everything runs on one virtual display, so that the Wine
# processes of one run share it.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=$1
if [ -z "${DELVORIN_XVFB:-}" ]; then
  exec xvfb-run -a env DELVORIN_XVFB=1 "$0" "$@"
fi
build=build/$arch/ocx
export WINEPREFIX="$PWD/build/wine-$arch" WINEARCH=$arch WINEDEBUG=-all
wineserver -k 2>/dev/null || true  # a server left from another display would not draw here
# In a 64-bit prefix the plain loader prefers the 32-bit builtins (cscript among them).
loader=wine
[ "$arch" = win64 ] && [ -x /usr/lib/wine/wine64 ] && loader=/usr/lib/wine/wine64
run() { timeout 300 "$loader" "$@"; }
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  timeout 300 wineboot -i >/dev/null 2>&1
fi
ocx=$(winepath -w "$build/Delvorin2.ocx" 2>/dev/null)
run regsvr32 /s "$ocx"
run "$build/teste_biblioteca.exe"
# Wine's cscript stops silently on a script error: the closing count line must be there.
saida=$(cd ocx/testes && run cscript //nologo automacao.vbs 2>&1 | tr -d '\r')
echo "$saida"
echo "$saida" | grep -q '^automacao.vbs: [0-9]* passed, 0 failed$'
run "$build/teste_conteiner.exe"
run "$build/teste_persistencia.exe"
run regsvr32 /u /s "$ocx"
run "$build/teste_biblioteca.exe" removido
wineserver -w
