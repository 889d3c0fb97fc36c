#!/usr/bin/env bash
# Sets up, builds and runs every test headless. Where clang can build a libFuzzer program it
# first builds the fuzz target and gives it a short run; the test runner's summary comes last.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
probe=$(mktemp -d)
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char *, unsigned long) { return 0; }\n' > "$probe/probe.cpp"
if command -v clang++ >/dev/null && clang++ -fsanitize=fuzzer "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null; then
  cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DKORVANE_FUZZ=ON -DKORVANE_TESTS=OFF >/dev/null
  cmake --build build-fuzz --target korvane_fuzz_receive
  mkdir -p build-fuzz/corpus
  build-fuzz/tests/fuzz/korvane_fuzz_receive -runs=200000 -max_len=4096 -seed=1 build-fuzz/corpus tests/fuzz/seeds 2>&1 | tail -n 1
else
  echo "No clang with libFuzzer here: the fuzz target is not built."
fi
rm -rf "$probe"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --timeout 300 -j2
