#!/usr/bin/env bash
# The main job: builds Delvorin2.ocx, registers it in a private Wine prefix and opens a demo
# form with one labelled field per type (under Xvfb when there is no display), types a scripted
# session into each field, prints what each field shows and writes build/demo.png; opens the
# property frame of the CPF field and writes build/demo-pages.png. Then a few sessions of the
# engine's command-line tool.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 -j "$(nproc)" >/dev/null

export WINEPREFIX="$PWD/build/wine-demo" WINEARCH=win32 WINEDEBUG=-all
xvfb=()
[ -n "${DISPLAY:-}" ] || xvfb=(xvfb-run -a -s "-screen 0 1024x768x24")
"${xvfb[@]}" bash -c '
  set -e
  wineserver -k 2>/dev/null || true
  [ -f "$WINEPREFIX/system.reg" ] || wineboot -i >/dev/null 2>&1
  wine regsvr32 /s "$(winepath -w build/win32/ocx/Delvorin2.ocx)"
  echo "== Delvorin2.ocx on a demo form (Wine)"
  wine build/win32/ocx/delvorin-demo.exe "$(winepath -w build/demo.bmp)" "$(winepath -w build/demo-pages.bmp)" | tr -d "\r"
  wineserver -w
'
python3 tools/bmp_to_png.py build/demo.bmp build/demo.png && echo "screenshot: build/demo.png"
python3 tools/bmp_to_png.py build/demo-pages.bmp build/demo-pages.png && echo "screenshot: build/demo-pages.png"

echo
echo "== the engine's command-line tool"
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target delvorin >/dev/null
d=build/default/delvorin
run() { echo "\$ delvorin $*"; "$d" "$@" || true; echo; }
run Tipo=11 Text=1.234,56 ?Text
run Tipo=9 focus type:12345678901 blur ?Text
run Tipo=0 focus type:1234.5 blur ?Text focus ?Text
run Tipo=0 Negativo=True usar_parenteses=True Text=-1234,5 ?Text Digitos=0 atualiza ?Text
run --events Tipo=2 Usar_Enter=False focus key:enter ?Text
run Tipo=9 focus "paste: 123 456 789 09 " ?Text blur
run Tipo=10 focus paste:12abc34501de35 blur ?Text
run Tipo=10 focus paste:12ABC34501DE36 blur ?Text
