#!/usr/bin/env bash
# Sets up, builds what a flight needs (the program with the report's page, and
# the modules) and flies a scenario, the default mission unless one is named.
# Arguments go to `varnell fly`; without --out the flight's record goes to
# build/flights/<scenario's name>/, and the last line printed names its report.html.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
BUILD_TARGETS="varnell varnell_dll varnell_dispenser cvelmessage" scripts/build.sh

scenario=Launch.scn
out_given=
args=("$@")
for ((i = 0; i < ${#args[@]}; ++i)); do
  case "${args[i]}" in
    --out) out_given=1; ((++i)) ;;
    --pilot | --until | --dt | --sample | --root) ((++i)) ;;
    --*) ;;
    *) scenario=${args[i]} ;;
  esac
done
[ -n "$out_given" ] || args+=(--out "build/flights/$(basename "$scenario" .scn)")
exec build/sim/varnell fly "${args[@]}"
