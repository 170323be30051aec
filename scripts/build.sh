#!/usr/bin/env bash
# Configures and builds into build/ (or into the folder given as $BUILD_DIR):
# everything, or the targets named in $BUILD_TARGETS. Extra arguments go to
# cmake's configure step.
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir=${BUILD_DIR:-build}
cmake -S . -B "$build_dir" "$@" >/dev/null
cmake --build "$build_dir" -j2 ${BUILD_TARGETS:+--target $BUILD_TARGETS}
