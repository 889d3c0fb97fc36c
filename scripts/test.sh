#!/usr/bin/env bash
# Sets up, builds and runs every test headless. Where clang can build a libFuzzer program it
# first builds the fuzz targets and gives each a short run; the test runner's summary comes last.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
probe=$(mktemp -d)
printf 'extern "C" int LLVMFuzzerTestOneInput(const unsigned char *, unsigned long) { return 0; }\n' > "$probe/probe.cpp"
if command -v clang++ >/dev/null && clang++ -fsanitize=fuzzer "$probe/probe.cpp" -o "$probe/probe" 2>/dev/null; then
  # A short smoke run of every fuzz target; long runs: scripts/fuzz.sh SECONDS.
  scripts/fuzz.sh 8
else
  echo "No clang with libFuzzer here: the fuzz targets are not built."
fi
rm -rf "$probe"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir build --output-on-failure --timeout 300 -j2
