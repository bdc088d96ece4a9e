#!/usr/bin/env bash
# Runs each fuzz target for a few seconds from its seed corpus. Any crash, leak, timeout or
# sanitizer report makes it fail.
set -euo pipefail
dir=$1
seconds=${2:-8}
here=$(cd "$(dirname "$0")" && pwd)
for target in texts numbers field session binary_form long_text mascara; do
  work=$(mktemp -d)
  cp -r "$here/corpus/$target/." "$work/" 2>/dev/null || true
  echo "fuzz_$target: ${seconds}s"
  "$dir/fuzz_$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
    -print_final_stats=0 -artifact_prefix="$work." "$work" >"$work.log" 2>&1 || { tail -n 60 "$work.log"; exit 1; }
  grep -E '^#[0-9]+.*DONE' "$work.log" | tail -n 1 || true
  rm -rf "$work" "$work.log"
done
