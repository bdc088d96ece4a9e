#!/usr/bin/env bash
# Builds the command-line tool and runs a few field sessions on a headless control.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target delvorin >/dev/null
d=build/default/delvorin
run() { echo "\$ delvorin $*"; "$d" "$@" || true; echo; }
run Tipo=11 Text=1.234,56 ?Text
run Tipo=9 focus type:12345678901 blur ?Text
run Tipo=0 focus type:1234.5 blur ?Text focus ?Text
run Tipo=0 Negativo=True usar_parenteses=True Text=-1234,5 ?Text Digitos=0 atualiza ?Text
run Tipo=5 Text="maria das dores" ?Text
run Tipo=10 Text=11222333000181 ?Text
run --events Tipo=2 Usar_Enter=False focus key:enter ?Text
run Tipo=13 TravaCpf=True focus type:12345678901 blur ?Text
