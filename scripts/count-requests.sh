#!/usr/bin/env bash
# Counts the requests a process makes to Wine's window server (registry, windows, messages,
# handles) per control created, loaded and activated in place (in the project's own site, with
# and without message reflection, windowless and kept inactive, and in Wine's ATL host
# window), against per plain EDIT
# window: runs `bench_server count N` through scripts/bench-server.sh with the server traced
# and counts the trace's request lines between its markers.
# Usage: scripts/count-requests.sh [win32|win64] [instances=50]
set -euo pipefail
cd "$(dirname "$0")/.."
arch=${1:-win32}
n=${2:-50}
. scripts/wine-env.sh
wine_require "$arch"
trace=$(mktemp)
trap 'rm -f "$trace"' EXIT
[ -n "${KEEP_TRACE:-}" ] && trap - EXIT && echo "trace: $trace"
DELVORIN_TRACE="$trace" scripts/bench-server.sh "$arch" count "$n" >/dev/null
# A request line is "TID: name( args )"; its reply is "TID: name() = status ...".
awk -v n="$n" '
  /^@@ [a-z]+ begin/ {side = $2; next}
  /^@@ [a-z]+ end/ {side = ""; next}
  side != "" && /^[0-9a-f]+: [a-z_]+\(/ && !/\) = / {count[side]++; name[side, $2]++}
  END {
    printf "window-server requests per instance, %d instances: control %.1f (without reflection %.1f, in the ATL host %.1f, windowless %.1f, inactive %.1f, with one class factory %.1f), EDIT %.1f\n", n, count["controls"] / n, count["unreflected"] / n, count["atl"] / n, count["windowless"] / n, count["inactive"] / n, count["factory"] / n, count["edits"] / n
    for (k in name) { split(k, p, SUBSEP); if (name[k] / n >= 0.5) printf "  %-12s %-28s %6.1f\n", p[1], p[2], name[k] / n }
  }' "$trace" | { read -r total; echo "$total"; sort -k1,1 -k3,3nr; }
