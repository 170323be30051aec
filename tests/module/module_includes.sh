#!/usr/bin/env bash
# module_includes.sh CXX ROOT: fails when a module source reaches into the
# headless host. Every file a source of launcher/, payload/, carrier/ or
# messages/ includes, directly or not, as the compiler finds it on the modules'
# include path, must lie outside sim/.
set -euo pipefail
cxx=$1
root=$(realpath "$2")
cd "$root"
mapfile -t sources < <(find launcher payload carrier messages -name '*.cpp' -o -name '*.h' | sort)
# One rule per source: "TARGET: SOURCE DEPENDENCY...".
if ! rules=$("$cxx" -std=c++17 -x c++ -MM -Ihost -Ilauncher -Ipayload -Icarrier -Imessages "${sources[@]}" 2>&1); then
  echo "the module sources do not preprocess on the module include path:"
  echo "$rules"
  exit 1
fi
# Each file included, with a source that includes it.
declare -A includer
source=
expectSource=0
for word in $rules; do
  case $word in
    '\') continue ;;
    *:) expectSource=1; continue ;;
  esac
  if [ $expectSource -eq 1 ]; then source=$word; expectSource=0; continue; fi
  [ -n "${includer[$word]:-}" ] || includer[$word]=$source
done
bad=0
files=("${!includer[@]}")
mapfile -t resolved < <(realpath -m "${files[@]}")
for i in "${!files[@]}"; do
  case ${resolved[$i]} in
    "$root"/sim/*) echo "${includer[${files[$i]}]} includes ${files[$i]}, which belongs to the host"; bad=1 ;;
  esac
done
[ $bad -eq 0 ] && echo "${#sources[@]} module sources include nothing of sim/"
exit $bad
