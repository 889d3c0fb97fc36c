#!/usr/bin/env bash
# Sets up, builds and runs every test headless. With clang present it first builds the fuzz
# target and gives it a short run; the test runner's summary comes last.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
if command -v clang++ >/dev/null; then
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKORVANE_FUZZ=ON -DKORVANE_TESTS=OFF >/dev/null
  cmake --build build-fuzz --target korvane_fuzz_receive
  mkdir -p build-fuzz/corpus
  build-fuzz/tests/fuzz/korvane_fuzz_receive -runs=200000 -max_len=4096 -seed=1 build-fuzz/corpus tests/fuzz/seeds 2>&1 | tail -n 1
fi
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --timeout 300 -j2
