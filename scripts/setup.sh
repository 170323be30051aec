#!/usr/bin/env bash
# Installs what the build and the tests need, from Debian's packages, when it
# is missing. Run as root (or with sudo at hand).
set -euo pipefail

packages=(g++ cmake make libgtest-dev libbenchmark-dev nlohmann-json3-dev)

# Opt-in groups, named as arguments: fuzz (clang and its libFuzzer runtime);
# windows (the 32-bit MinGW-w64 cross compiler, GoogleTest's sources to build
# with it, and 32-bit Wine with the fonts its GDI draws text with).
windows=false
for group in "$@"; do
  case "$group" in
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    windows | --windows)
      windows=true
      packages+=(g++-mingw-w64-i686 googletest wine wine32:i386 fonts-wine)
      ;;
    *) echo "setup.sh: unknown group \"$group\"" >&2; exit 2 ;;
  esac
done

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
as_root=()
[ "$(id -u)" -ne 0 ] && as_root=(sudo)
export DEBIAN_FRONTEND=noninteractive
# 32-bit Wine comes from the i386 architecture's packages.
if $windows && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${as_root[@]}" dpkg --add-architecture i386
fi
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
