#!/usr/bin/env bash
# Sets up, builds and flies the default mission. Arguments go to `varnell fly`.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
exec build/sim/varnell fly "$@"
