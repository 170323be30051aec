#!/usr/bin/env bash
# Sets up, builds and runs every test: the suite on Linux, the suite again
# under AddressSanitizer and UndefinedBehaviorSanitizer, the Windows build's
# suite under Wine (32-bit or 64-bit, as this machine allows; see
# scripts/test-windows.sh) with the default mission compared with Linux's, and
# each fuzz target for 60 seconds; the benchmark suite and the flight report's
# test print their figures.
# Ends with the time each step took.
set -euo pipefail
cd "$(dirname "$0")/.."

timings=()
step_name="" step_start=$SECONDS
step() {
  [ -n "$step_name" ] && timings+=("$(printf '%5d s  %s' $((SECONDS - step_start)) "$step_name")")
  step_name=$1 step_start=$SECONDS
  echo; echo "=== $1 ($(date +%T))"
}

step "Setup: packages"
scripts/setup.sh windows fuzz report

step "Linux: build and test"
scripts/build.sh
ctest --test-dir build --output-on-failure -j2

step "Benchmarks (figures, not pass or fail)"
build/bench/varnell_bench --benchmark_min_time=0.1
step "The default mission's report: its size and how long it takes to open (figures)"
NODE_PATH=build/report-npm/node_modules node tests/report/report_check.js \
  build/flights/Scenarios/Varnell/Launch build/root/Scenarios/Varnell/Launch.scn

step "Linux: sanitizers"
scripts/test-sanitized.sh

step "Windows: cross-build, test under Wine, compare the default mission with Linux's"
scripts/test-windows.sh

step "Fuzzing"
FUZZ_SECONDS=${FUZZ_SECONDS:-60} scripts/fuzz.sh

step "All passed"
printf '%s\n' "${timings[@]}"
printf '%5d s  in all\n' "$SECONDS"
