#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into
# build-asan/ (or $ASAN_BUILD_DIR) and runs the whole test suite there; any
# finding, leaks included, fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build_dir=${ASAN_BUILD_DIR:-build-asan}
BUILD_DIR=$build_dir scripts/build.sh -DVARNELL_SANITIZE=ON -DVARNELL_BENCH=OFF
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build_dir" --output-on-failure -j2
