#!/usr/bin/env bash
# Compares the default mission as flown by two builds (by default the Linux
# build and the Windows build under Wine): the same events in the same order,
# each within 0.5 s, and the satellites' final periapsis and apoapsis within
# 1 km. Reads the flight records that the shipped_flight tests write.
set -euo pipefail
cd "$(dirname "$0")/.."
a=${1:-build/flights/Scenarios/Varnell/Launch}
b=${2:-build-win/flights/Scenarios/Varnell/Launch}
for f in "$a/events.csv" "$b/events.csv" "$a/telemetry.csv" "$b/telemetry.csv"; do
  [ -f "$f" ] || { echo "compare-flights: no $f (run both test suites first)" >&2; exit 2; }
done

# events.csv: t,vessel,kind,detail
paste -d '\n' <(tail -n +2 "$a/events.csv") <(tail -n +2 "$b/events.csv") | awk -F, '
  NR % 2 == 1 { t = $1; who = $2 "," $3; next }
  {
    n++
    if ($2 "," $3 != who) { printf "event %d differs: %s against %s\n", n, who, $2 "," $3; bad = 1 }
    else if (t - $1 > 0.5 || $1 - t > 0.5) { printf "event %d (%s) at %s s against %s s\n", n, who, t, $1; bad = 1 }
  }
  END { if (bad) exit 1; printf "%d events alike\n", n }'
[ "$(wc -l < "$a/events.csv")" -eq "$(wc -l < "$b/events.csv")" ] || { echo "event counts differ" >&2; exit 1; }

# telemetry.csv: the last row of each satellite; apoapsis and periapsis are columns 11 and 12 [m].
last_orbit() { awk -F, -v s="$2" '$2 == s { row = $11 " " $12 } END { print row }' "$1"; }
for sat in Sat1 Sat2; do
  read -r apo_a peri_a <<< "$(last_orbit "$a/telemetry.csv" "$sat")"
  read -r apo_b peri_b <<< "$(last_orbit "$b/telemetry.csv" "$sat")"
  awk -v s="$sat" -v a1="$apo_a" -v p1="$peri_a" -v a2="$apo_b" -v p2="$peri_b" 'BEGIN {
    da = a1 - a2; dp = p1 - p2; if (da < 0) da = -da; if (dp < 0) dp = -dp
    printf "%s: periapsis %.0f m against %.0f m, apoapsis %.0f m against %.0f m\n", s, p1, p2, a1, a2
    exit (da > 1000 || dp > 1000 || a1 == "" || a2 == "") }'
done
