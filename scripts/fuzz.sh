#!/usr/bin/env bash
# Fuzzes every parser target of tests/fuzz for a bounded time: scripts/fuzz.sh [seconds] (20 by
# default). Configures build-fuzz with clang and VRL_FUZZ=ON, builds only the fuzz targets and
# their libraries, then runs each target for the given time, as many at once as there are
# processors, seeded with its checked-in corpus. Fails when a target finds a fault: its input is
# kept in build-fuzz/fuzz/artifacts/ (add it to tests/fuzz/corpus/<target>/ once fixed). What the
# runs learn stays in build-fuzz/fuzz/corpus/; the checked-in corpus is never written.
# VRL_FUZZ_SEED fixes libFuzzer's random seed (CI sets it, so one commit meets the same inputs
# on every run); unset, each run draws its own.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-20}
jobs=${VRL_FUZZ_JOBS:-$(nproc)}
seed=${VRL_FUZZ_SEED:-0}
# Optimised as OSS-Fuzz builds fuzzers: quick to compile, with line tables for the reports.
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DVRL_FUZZ=ON -DVRL_BUILD_BENCH=OFF \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS_RELWITHDEBINFO='-O1 -gline-tables-only'
cmake --build build-fuzz --target vrl_fuzzers
echo "Fuzz targets configured and built in $SECONDS s"

work=$PWD/build-fuzz/fuzz
rm -rf "$work/artifacts" "$work/logs"
mkdir -p "$work/artifacts" "$work/logs"
# A smaller quarantine of freed memory than the default 256 MiB: the targets free much per input,
# and refilling a large quarantine's pages costs a run most of its inputs.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1:strict_string_checks=1:quarantine_size_mb=32
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp

# One target: NAME. Its log in logs/NAME.log, its exit status in logs/NAME.status (0: nothing
# found).
run_target() {
  local name=$1 status=0
  mkdir -p "$work/corpus/$name"
  "build-fuzz/bin/fuzz_$name" -max_total_time="$seconds" -seed="$seed" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$work/artifacts/$name-" \
    "$work/corpus/$name" "tests/fuzz/corpus/$name" >"$work/logs/$name.log" 2>&1 || status=$?
  echo "$status" >"$work/logs/$name.status"
}

targets=()
for folder in tests/fuzz/corpus/*/; do targets+=("$(basename "$folder")"); done
for name in "${targets[@]}"; do
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n || true; done
  run_target "$name" &
done
wait

failed=()
for name in "${targets[@]}"; do
  if [ "$(cat "$work/logs/$name.status")" = 0 ]; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/logs/$name.log")
    echo "fuzz_$name: ${runs:-?} inputs in $seconds s, nothing found"
  else
    failed+=("$name")
    echo "fuzz_$name: FAULT FOUND (log: $work/logs/$name.log)"
    tail -n 40 "$work/logs/$name.log"
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzz targets that found a fault: ${failed[*]}; their inputs are in $work/artifacts/" >&2
  exit 1
fi
