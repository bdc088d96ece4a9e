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
  # The suite in one process (CTest would start one per test), then the CLI's examples.
  "$dir/tests/delvorin-tests" --gtest_brief=1
  (cd "$dir" && ctest --output-on-failure -R '^cli_examples$' | tail -n 3)
done
