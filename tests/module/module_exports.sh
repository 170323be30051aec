#!/usr/bin/env bash
# A module shows the host its entry points and nothing else of its own.
# Usage: module_exports.sh MODULE EXPECTED_SYMBOL...
set -euo pipefail
module=$1
shift
expected=$(printf '%s\n' "$@" | sort)
if [ "$(head -c 2 "$module")" = "MZ" ]; then
  # A Windows DLL: the names of its export table, as the loader looks them up.
  actual=$(${OBJDUMP:-objdump} -p "$module" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
    awk '/^\t\[/ { print $NF }' | sort)
else
  # Defined dynamic functions and data; absolute symbols (version nodes) are the linker's, not the module's.
  actual=$(nm -D --defined-only "$module" | awk 'NF == 3 && $2 != "A" { print $3 }' | sort)
fi
if [ "$actual" != "$expected" ]; then
  echo "$module exports:"
  echo "$actual" | sed 's/^/  /'
  echo "expected exactly:"
  echo "$expected" | sed 's/^/  /'
  exit 1
fi
