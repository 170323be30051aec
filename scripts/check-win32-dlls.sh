#!/usr/bin/env bash
# Checks the 32-bit Windows modules that a cross build made (by default in
# build-win/): each is a PE32 DLL for i386, and each exports exactly the entry
# points the simulator looks up, under undecorated names. With x86_64 after
# the build folder, the 64-bit modules: PE32+ for x86-64.
set -euo pipefail
cd "$(dirname "$0")/.."
modules=${1:-build-win}/root/Modules
case "${2:-i686}" in
  i686) objdump=i686-w64-mingw32-objdump pe=pei-i386 kind="PE32 i386" ;;
  x86_64) objdump=x86_64-w64-mingw32-objdump pe=pei-x86-64 kind="PE32+ x86-64" ;;
  *) echo "check-win32-dlls.sh: no architecture \"$2\" (i686 or x86_64)" >&2; exit 2 ;;
esac

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
  if [ "$format" != "$pe" ]; then
    echo "$dll: file format $format, not $pe"; failed=1
  elif [ "$got" != "$want" ]; then
    echo "$dll: exports $(echo $got), not $(echo $want)"; failed=1
  else
    echo "$name: $kind, exports $(echo $got)"
  fi
}

vessel_entries=(ovcInit ovcExit ovcLoadStateEx ovcSaveState GetModuleVersion)
check Varnell.dll "${vessel_entries[@]}"
check cvelmessage.dll SendCMessage CheckCMessage DropCMessages
check VarnellDispenser.dll ovcInit ovcExit
exit $failed
