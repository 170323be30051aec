#!/bin/sh
# Runs a Windows program under Wine ($WINE, else wine) for CTest and passes on
# its output and exit status. The output goes through files, not straight to
# CTest's pipes: a Wine desktop process that starts on the way inherits them
# and outlives the program, and CTest would wait for it to close them.
out=$(mktemp) && err=$(mktemp) || exit 1
trap 'rm -f "$out" "$err"' EXIT
"${WINE:-wine}" "$@" >"$out" 2>"$err"
status=$?
cat "$out"
cat "$err" >&2
exit $status
