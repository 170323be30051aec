#!/usr/bin/env bash
# Builds the benchmark suite, optimised, into build-bench/ (or $BUILD_DIR) and
# runs it. Arguments go to the program, e.g. --benchmark_filter=Orbit.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build_dir=${BUILD_DIR:-build-bench}
cmake -S . -B "$build_dir" -DCMAKE_BUILD_TYPE=Release -DVARNELL_BENCH=ON >/dev/null
cmake --build "$build_dir" -j2 --target varnell_bench
exec "$build_dir/bench/varnell_bench" "$@"
