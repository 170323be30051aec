#!/usr/bin/env bash
# Checks the 32-bit Windows modules that a cross build made (by default in
# build-win/): each is a PE32 DLL for i386, and each exports exactly the entry
# points the simulator looks up, under undecorated names.
set -euo pipefail
cd "$(dirname "$0")/.."
modules=${1:-build-win}/root/Modules
objdump=i686-w64-mingw32-objdump

# exports FILE: the names in the DLL's export table, sorted, one a line.
exports() {
  "$objdump" -p "$1" | awk '
    /^\[Ordinal\/Name Pointer\] Table/ { table = 1; next }
    table && NF == 0 { table = 0 }
    table { print $NF }' | sort
}

failed=0
check() {
  local name=$1 dll="$modules/$1" want got format
  shift
  if [ ! -f "$dll" ]; then echo "$dll: missing"; failed=1; return; fi
  format=$("$objdump" -f "$dll" | sed -n 's/.*file format //p')
  want=$(printf '%s\n' "$@" | sort)
  got=$(exports "$dll")
  if [ "$format" != pei-i386 ]; then
    echo "$dll: file format $format, not pei-i386"; failed=1
  elif [ "$got" != "$want" ]; then
    echo "$dll: exports $(echo $got), not $(echo $want)"; failed=1
  else
    echo "$name: PE32 i386, exports $(echo $got)"
  fi
}

vessel_entries=(ovcInit ovcExit ovcLoadStateEx ovcSaveState GetModuleVersion)
check Varnell.dll "${vessel_entries[@]}"
check cvelmessage.dll SendCMessage CheckCMessage DropCMessages
check VarnellDispenser.dll ovcInit ovcExit
exit $failed
