#!/usr/bin/env bash
# Builds the native targets the way CMake users do, without presets (so without warnings as
# errors), in Release with g++ and with clang, and runs the suite of each build.
set -euo pipefail
cd "$(dirname "$0")/.."
mkdir -p build
for compiler in g++ clang++; do
  dir=build/plain-${compiler%++}
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER="$compiler" -DDELVORIN_BENCH=OFF >"$dir.log"
  cmake --build "$dir" >>"$dir.log" 2>&1 || { tail -n 60 "$dir.log"; exit 1; }
  echo "$compiler: built ($(grep -c 'warning:' "$dir.log" || true) warnings)"
  (cd "$dir" && ctest --output-on-failure | tail -n 3)
done
