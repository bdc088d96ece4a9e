#!/usr/bin/env bash
# Builds the server for one architecture (win32, the default, or win64), registers it in a
# Wine prefix of its own and runs the server benchmark (ocx/bench/bench_server.cpp) on a
# virtual display. Further arguments go to the benchmark: instances (500) and runs (5), or
# "count" and instances. With DELVORIN_TRACE=FILE the window server's requests are traced there.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=${1:-win32}
[ $# -gt 0 ] && shift
if [ -z "${DELVORIN_XVFB:-}" ]; then
  exec xvfb-run -a env DELVORIN_XVFB=1 "$0" "$arch" "$@"
fi
cmake --preset "$arch" >/dev/null
cmake --build --preset "$arch" -j "$(nproc)" --target Delvorin2 bench_server >/dev/null
build=build/$arch/ocx
# Not build/wine-ARCH: scripts/wine-tests.sh stops that prefix's wineserver when it starts.
export WINEPREFIX="$PWD/build/wine-bench-$arch" WINEARCH=$arch WINEDEBUG=-all
wineserver -k 2>/dev/null || true  # a server left from another display would not draw here
loader=wine
[ "$arch" = win64 ] && [ -x /usr/lib/wine/wine64 ] && loader=/usr/lib/wine/wine64
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  timeout 300 wineboot -i >/dev/null 2>&1
fi
timeout 300 "$loader" regsvr32 /s "$(winepath -w "$build/Delvorin2.ocx" 2>/dev/null)"
if [ -n "${DELVORIN_TRACE:-}" ]; then
  # The window server traces when the process that starts it asks to: it starts afresh here,
  # and its trace goes to the file named.
  wineserver -k 2>/dev/null || true
  wineserver -w
  WINEDEBUG=+server timeout 1200 "$loader" "$build/bench_server.exe" "$@" 2>"$DELVORIN_TRACE" | tr -d '\r'
else
  timeout 1200 "$loader" "$build/bench_server.exe" "$@" | tr -d '\r'
fi
wineserver -k
