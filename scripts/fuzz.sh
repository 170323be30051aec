#!/usr/bin/env bash
# Builds the fuzz targets (clang with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer) into build-fuzz/ and runs each for
# ${FUZZ_SECONDS:-60} seconds, starting from its seeds in fuzz/corpus/<target>/.
# Arguments name the targets to run (default: every one built). Fails when a
# target crashes; the input that did it is kept in build-fuzz/artifacts/, and
# each target's output in build-fuzz/fuzz-logs/<target>.log.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh fuzz
build_dir=$(realpath -m "${BUILD_DIR:-build-fuzz}")  # absolute: a target works inside a tree of its own
seconds=${FUZZ_SECONDS:-60}

CC=clang CXX=clang++ cmake -S . -B "$build_dir" -DVARNELL_FUZZ=ON -DVARNELL_TESTS=OFF -DVARNELL_BENCH=OFF >/dev/null
cmake --build "$build_dir" -j2 --target fuzz_targets

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for exe in "$build_dir"/fuzz/fuzz_*; do
    [ -x "$exe" ] && targets+=("$(basename "$exe" | sed 's/^fuzz_//')")
  done
fi

mkdir -p "$build_dir/artifacts" "$build_dir/fuzz-logs"
failed=()
for t in "${targets[@]}"; do
  # What a run adds to the corpus stays in the build folder; the seeds in the
  # repository stay hand-made.
  grown="$build_dir/fuzz-corpus/$t"
  log="$build_dir/fuzz-logs/$t.log"
  mkdir -p "$grown"
  echo "fuzzing $t for $seconds s"
  if "$build_dir/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
      -artifact_prefix="$build_dir/artifacts/$t-" "$grown" "$PWD/fuzz/corpus/$t" >"$log" 2>&1; then
    sed -n 's/^stat::\(number_of_executed_units\|average_exec_per_sec\): */  \1 /p' "$log"
  else
    failed+=("$t")
    tail -n 40 "$log"
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing failed in: ${failed[*]} (logs in $build_dir/fuzz-logs/, crashing inputs in $build_dir/artifacts/)" >&2
  exit 1
fi
