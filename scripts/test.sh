#!/usr/bin/env bash
# Builds everything and runs every test: the native suite, the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, the engine cross-built for 32- and
# 64-bit Windows, both servers with their Wine suites (for the architectures this machine can
# run), a smoke run of the benchmarks, and each libFuzzer target briefly.
set -euo pipefail
cd "$(dirname "$0")/.."
# Every build and test step of the workflow presets uses all cores.
CMAKE_BUILD_PARALLEL_LEVEL=$(nproc)
CTEST_PARALLEL_LEVEL=$(nproc)
export CMAKE_BUILD_PARALLEL_LEVEL CTEST_PARALLEL_LEVEL
scripts/install-deps.sh
mkdir -p build

echo "== native build and tests"
cmake --workflow --preset default | tee build/ctest-default.log

echo "== the plain CMake build (g++ and clang, Release, no preset)"
scripts/plain-build.sh

echo "== engine for Windows (mingw-w64 i686 and x86_64)"
for preset in engine-win32 engine-win64; do
  cmake --workflow --preset "$preset" >/dev/null
done

echo "== Delvorin2.ocx for Windows (i686 and x86_64), tested under Wine"
# Both servers are always built; the Wine suites run for each architecture this machine can
# run (scripts/wine-env.sh), and the server file of any other is checked statically.
. scripts/wine-env.sh
skipped=0
for arch in win32 win64; do
  cmake --workflow --preset "$arch" >/dev/null
  if why=$(wine_why_not "$arch"); then
    scripts/wine-tests.sh "$arch" | tee "build/wine-$arch.log"
  else
    suites=$(ctest --preset "$arch" -N -LE static | awk '/Total Tests:/ {print $3}')
    echo "$arch suites skipped: $why"
    echo "($suites Wine suites counted as skipped; the $arch server file is checked statically)"
    skipped=$((skipped + suites))
    ctest --preset "$arch" -L static | tee "build/wine-$arch.log"
  fi
done

echo "== benchmarks (smoke run)"
build/default/bench/delvorin-bench --benchmark_min_time=0.01 >/dev/null

echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize
# The whole suite in one process: a sanitized program's start costs more than most of its
# tests, and CTest would start one per test.
build/sanitize/tests/delvorin-tests --gtest_brief=1 | tee build/ctest-sanitize.log
(cd build/sanitize && ctest --output-on-failure -R '^cli_examples$' | tail -n 3)

echo "== fuzzing"
cmake --workflow --preset fuzz >/dev/null
fuzz/run.sh build/fuzz/fuzz "${FUZZ_SECONDS:-15}"

# One closing line for all the runs (each has already failed the script on any failing test).
# GoogleTest cases count once each; the Wine suites and the static checks count their checks.
total=$(awk '/tests failed out of/ && FILENAME ~ /ctest-/ {n += $NF}
             /^\[  PASSED  \] [0-9]+ tests?\./ && FILENAME ~ /ctest-/ {n += $4}
             / passed, [0-9]+ failed/ && FILENAME ~ /wine-/ {sub(/\r$/, ""); n += $(NF-3)} END {print n}' \
  build/ctest-default.log build/ctest-sanitize.log build/wine-win32.log build/wine-win64.log)
echo "tests: ${total} passed, 0 failed, ${skipped} skipped"
