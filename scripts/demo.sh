#!/usr/bin/env bash
# The main job: builds Delvorin2.ocx, registers it in a private Wine prefix and opens a demo
# form with one labelled field per type (under Xvfb when there is no display), types a scripted
# session into each field, prints what each field shows and writes build/demo.png; opens the
# property frame of the CPF field and writes build/demo-pages.png. Then a few sessions of the
# engine's command-line tool.
#
# It shows the 32-bit server where this machine runs 32-bit programs under Wine, otherwise the
# 64-bit one (scripts/wine-env.sh decides, DELVORIN_WINE_ARCHS overrides), and says which.
# A failing step prints what failed and the end of its output.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh

if [ -z "${DELVORIN_DEMO_ARCH:-}" ]; then
  scripts/install-deps.sh
  if why32=$(wine_why_not win32); then
    arch=win32
    echo "demo: the 32-bit server (build/win32), which this machine runs under Wine"
  elif why64=$(wine_why_not win64); then
    arch=win64
    echo "demo: the 64-bit server (build/win64), because $why32"
  else
    echo "demo: no server can be shown: win32: $why32; win64: $why64" >&2
    exit 1
  fi
  wine_step "configuring the $arch server (cmake --preset $arch)" cmake --preset "$arch"
  wine_step "building the $arch server (cmake --build --preset $arch)" cmake --build --preset "$arch" -j "$(nproc)"
  mkdir -p build
  rm -f build/demo.bmp build/demo-pages.bmp
  # The form runs on the display there is, or on a virtual one.
  if [ -n "${DISPLAY:-}" ]; then
    DELVORIN_DEMO_ARCH=$arch "$0"
  else
    DELVORIN_DEMO_ARCH=$arch xvfb-run -a -s "-screen 0 1024x768x24" "$0"
  fi
  wine_step "converting build/demo.bmp" python3 tools/bmp_to_png.py build/demo.bmp build/demo.png
  echo "screenshot: build/demo.png"
  wine_step "converting build/demo-pages.bmp" python3 tools/bmp_to_png.py build/demo-pages.bmp build/demo-pages.png
  echo "screenshot: build/demo-pages.png"

  echo
  echo "== the engine's command-line tool"
  wine_step "configuring the native build (cmake --preset default)" cmake --preset default
  wine_step "building the command-line tool" cmake --build --preset default -j "$(nproc)" --target delvorin
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
  exit 0
fi

# On the display: the prefix, the registration and the form.
arch=$DELVORIN_DEMO_ARCH
loader=$(wine_loader "$arch")
ocx=build/$arch/ocx
wine_prefix "$arch" "$PWD/build/wine-demo-$arch"
wine_step "registering $ocx/Delvorin2.ocx (regsvr32)" timeout 300 "$loader" regsvr32 /s "$(wine_path "$ocx/Delvorin2.ocx")"
echo "== Delvorin2.ocx on a demo form (Wine, $arch)"
log=$(mktemp)
status=0
timeout 600 "$loader" "$ocx/delvorin-demo.exe" "$(wine_path build/demo.bmp)" "$(wine_path build/demo-pages.bmp)" \
  >"$log" 2>&1 || status=$?
tr -d '\r' <"$log"
rm -f "$log"
if [ "$status" -ne 0 ]; then
  echo "failed: the demo form (exit status $status)" >&2
  exit "$status"
fi
wineserver -w
