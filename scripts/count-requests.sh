#!/usr/bin/env bash
# Counts the requests a process makes to Wine's window server (registry, windows, messages,
# handles) per control created, loaded and activated in place (in the project's own site and in
# Wine's ATL host window), against per plain EDIT window:
# runs `bench_server count N` with WINEDEBUG=+server and counts the trace's request lines
# between its markers. Usage: scripts/count-requests.sh [win32|win64] [instances=50]
set -euo pipefail
cd "$(dirname "$0")/.."
arch=${1:-win32}
n=${2:-50}
if [ -z "${DELVORIN_XVFB:-}" ]; then
  exec xvfb-run -a env DELVORIN_XVFB=1 "$0" "$arch" "$n"
fi
cmake --preset "$arch" >/dev/null
cmake --build --preset "$arch" -j "$(nproc)" --target Delvorin2 bench_server >/dev/null
build=build/$arch/ocx
export WINEPREFIX="$PWD/build/wine-bench-$arch" WINEARCH=$arch WINEDEBUG=-all
wineserver -k 2>/dev/null || true
loader=wine
[ "$arch" = win64 ] && [ -x /usr/lib/wine/wine64 ] && loader=/usr/lib/wine/wine64
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  timeout 300 wineboot -i >/dev/null 2>&1
fi
timeout 300 "$loader" regsvr32 /s "$(winepath -w "$build/Delvorin2.ocx" 2>/dev/null)"
# The window server traces when the process that starts it asks to: it must start afresh here.
wineserver -k 2>/dev/null || true
wineserver -w
trace=$(mktemp)
trap 'rm -f "$trace"' EXIT
[ -n "${KEEP_TRACE:-}" ] && trap - EXIT && echo "trace: $trace"
WINEDEBUG=+server timeout 1200 "$loader" "$build/bench_server.exe" count "$n" 2>"$trace" >/dev/null
wineserver -k
# A request line is "TID: name( args )"; its reply is "TID: name() = status ...".
awk -v n="$n" '
  /^@@ controls begin/ {side = "control"; next}
  /^@@ edits begin/ {side = "EDIT"; next}
  /^@@ atl begin/ {side = "ATL"; next}
  /^@@ unreflected begin/ {side = "unrefl"; next}
  /^@@ .* end/ {side = ""; next}
  side != "" && /^[0-9a-f]+: [a-z_]+\(/ && !/\) = / {count[side]++; name[side, $2]++}
  END {
    printf "window-server requests per instance, %d instances: control %.1f (without reflection %.1f, in the ATL host %.1f), EDIT %.1f\n", n, count["control"] / n, count["unrefl"] / n, count["ATL"] / n, count["EDIT"] / n
    for (k in name) { split(k, p, SUBSEP); if (name[k] / n >= 0.5) printf "  %-8s %-28s %6.1f\n", p[1], p[2], name[k] / n }
  }' "$trace" | { read -r total; echo "$total"; sort -k1,1 -k3,3nr; }
