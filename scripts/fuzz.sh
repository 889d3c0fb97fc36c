#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer) in
# build-fuzz and runs each for SECONDS, printing per target its executions, coverage and
# findings, then a summary. Exits non-zero when anything was found.
#
#   scripts/fuzz.sh SECONDS [TARGET...]     targets: receive dumps files exchange (default all)
#
# FUZZ_PARALLEL=N runs N targets at once (default 1). Corpora grow in build-fuzz/corpus/TARGET;
# crash, leak, timeout and out-of-memory inputs land in build-fuzz/findings/TARGET.
set -euo pipefail
cd "$(dirname "$0")/.."
if [[ $# -lt 1 || ! $1 =~ ^[0-9]+$ ]]; then
  echo "usage: scripts/fuzz.sh SECONDS [receive|dumps|files|exchange ...]" >&2
  exit 2
fi
seconds=$1
shift
targets=("$@")
[[ ${#targets[@]} -gt 0 ]] || targets=(receive dumps files exchange)
parallel=${FUZZ_PARALLEL:-1}
out=build-fuzz

if [[ ! -f $out/CMakeCache.txt ]]; then
  cmake -S . -B $out -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DKORVANE_FUZZ=ON -DKORVANE_SANITIZE=ON >/dev/null
fi
nice cmake --build $out -j2 --target "${targets[@]/#/korvane_fuzz_}"

export QT_QPA_PLATFORM=offscreen
# Leaks are findings; Qt's own one-off allocations at exit are not ours.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/lsan.supp}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}

max_len() { [[ $1 == exchange ]] && echo 16384 || echo 4096; }
# The whole program keeps its state from input to input, so libFuzzer's leak check after each
# input (a stop of the process and a scan of its heap) would cost far more than the input; its
# leaks are looked for once, at exit, by LeakSanitizer.
leak_check() { [[ $1 == exchange ]] && echo 0 || echo 1; }

run() {
  local t=$1 exe=$out/tests/fuzz/korvane_fuzz_$1
  mkdir -p "$out/corpus/$t" "$out/findings/$t" "$out/seeds/$t"
  # Seeds made now by the program's own code (the Virtual SP's answers, a memory file, the
  # settings it writes), beside the ones kept in the source tree.
  [[ $t == receive ]] || KORVANE_FUZZ_SEEDS="$out/seeds/$t" "$exe" >/dev/null 2>&1 || true
  local seeds=()
  [[ -d tests/fuzz/seeds/$t ]] && seeds+=("tests/fuzz/seeds/$t")
  nice "$exe" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len="$(max_len "$t")" \
    -detect_leaks="$(leak_check "$t")" \
    -print_final_stats=1 -artifact_prefix="$out/findings/$t/" \
    "$out/corpus/$t" "$out/seeds/$t" "${seeds[@]}" >"$out/fuzz-$t.log" 2>&1 || true
}

stamp=$(mktemp)
running=0
for t in "${targets[@]}"; do
  run "$t" &
  running=$((running + 1))
  if [[ $running -ge $parallel ]]; then
    wait -n || true
    running=$((running - 1))
  fi
done
wait

total=0
found=0
printf '%-10s %14s %8s %8s %9s\n' target executions cov ft findings
for t in "${targets[@]}"; do
  log=$out/fuzz-$t.log
  execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  last=$(grep -E '^#[0-9]+' "$log" | tail -n 1 || true)
  cov=$(grep -o 'cov: [0-9]*' <<<"$last" | grep -o '[0-9]*' || true)
  ft=$(grep -o 'ft: [0-9]*' <<<"$last" | grep -o '[0-9]*' || true)
  findings=$(find "$out/findings/$t" -type f -newer "$stamp" | wc -l)
  # A run that stopped without its final figures found something, even with no file written.
  if [[ -z $execs ]] || grep -qE 'ERROR: (AddressSanitizer|LeakSanitizer|libFuzzer)|runtime error:' "$log"; then
    findings=$((findings > 0 ? findings : 1))
  fi
  printf '%-10s %14s %8s %8s %9s\n' "$t" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$findings"
  total=$((total + ${execs:-0}))
  found=$((found + findings))
done
rm -f "$stamp"
echo "fuzz summary: ${#targets[@]} targets, $total executions in ${seconds}s each, $found findings (logs: $out/fuzz-TARGET.log)"
[[ $found -eq 0 ]]
