#!/usr/bin/env bash
# Builds the server for one architecture (win32, the default, or win64), registers it in a
# Wine prefix of its own and runs the server benchmark (ocx/bench/bench_server.cpp) on a
# virtual display. Further arguments go to the benchmark: instances (500) and runs (5), or
# "count" and instances. With DELVORIN_TRACE=FILE the window server's requests are traced there.
# An architecture this machine cannot run under Wine (scripts/wine-env.sh) is refused.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=${1:-win32}
[ $# -gt 0 ] && shift
. scripts/wine-env.sh
wine_require "$arch"
if [ -z "${DELVORIN_XVFB:-}" ]; then
  exec xvfb-run -a env DELVORIN_XVFB=1 "$0" "$arch" "$@"
fi
wine_step "configuring the $arch server" cmake --preset "$arch"
wine_step "building the $arch server and its benchmark" cmake --build --preset "$arch" -j "$(nproc)" --target Delvorin2 bench_server
build=build/$arch/ocx
loader=$(wine_loader "$arch")
# Not build/wine-ARCH: scripts/wine-tests.sh stops that prefix's wineserver when it starts.
wine_prefix "$arch" "$PWD/build/wine-bench-$arch"
wine_step "registering $build/Delvorin2.ocx (regsvr32)" timeout 300 "$loader" regsvr32 /s "$(wine_path "$build/Delvorin2.ocx")"
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
