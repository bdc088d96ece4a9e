#!/usr/bin/env bash
# Runs the delvorin binary itself on the documented examples: output bytes and exit status.
set -u
bin=$1
fail=0
check() {
  local expected=$1 status=$2; shift 2
  local out; out=$("$bin" "$@" 2>/dev/null); local got=$?
  if [ "$out" != "$expected" ] || [ "$got" -ne "$status" ]; then
    echo "FAIL: delvorin $*"; echo " expected ($status): $expected"; echo " got ($got): $out"; fail=1
  fi
}
check "UM MIL, DUZENTOS E TRINTA E QUATRO REAIS E CINQUENTA E SEIS CENTAVOS" 0 Tipo=11 Text=1.234,56 ?Text
check "msgbox: 48 Delvorin: CPF Inválido.
123.456.789-01" 0 Tipo=9 focus type:12345678901 blur ?Text
check "error: Tipo: Overflow" 1 Tipo=256
check "" 2 nonsense
"$bin" nonsense 2>&1 >/dev/null | grep -q '^usage: delvorin' || { echo "FAIL: no usage on stderr"; fail=1; }
exit $fail
