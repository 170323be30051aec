#!/usr/bin/env bash
# module_includes.sh CXX ROOT: fails when a module source reaches into the
# headless host. Every file a source of launcher/, payload/, carrier/ or
# messages/ includes, directly or not, as the compiler finds it on the modules'
# include path, must lie outside sim/.
set -euo pipefail
cxx=$1
root=$(realpath "$2")
cd "$root"
bad=0
while IFS= read -r src; do
  if ! deps=$("$cxx" -std=c++17 -x c++ -MM -Ihost -Ilauncher -Ipayload -Icarrier -Imessages "$src" 2>&1); then
    echo "$src: does not preprocess on the module include path: $deps"
    bad=1
    continue
  fi
  for dep in $deps; do
    case $dep in *: | '\') continue ;; esac
    case $(realpath -m "$dep") in
      "$root"/sim/*) echo "$src includes $dep, which belongs to the host"; bad=1 ;;
    esac
  done
done < <(find launcher payload carrier messages -name '*.cpp' -o -name '*.h')
[ $bad -eq 0 ] && echo "module sources include nothing of sim/"
exit $bad
