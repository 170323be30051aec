#!/usr/bin/env bash
# Installs what the build and the tests need, from Debian's packages, when it
# is missing. Run as root (or with sudo at hand).
set -euo pipefail

packages=(g++ cmake make libgtest-dev libbenchmark-dev nlohmann-json3-dev)
# The build installs the flight report's chart library with npm; a Node.js
# that brings its own npm will do as well as Debian's.
command -v npm >/dev/null || packages+=(nodejs npm)

# Opt-in groups, named as arguments: fuzz (clang and its libFuzzer runtime);
# windows (the 32-bit and 64-bit MinGW-w64 cross compilers, with which the
# modules are also built against a stand-in of the simulator's SDK for both
# its architectures, GoogleTest's sources to build with them, and Wine with
# the fonts its GDI draws text with: 32-bit Wine where this machine runs 32-bit
# programs, else 64-bit Wine, as scripts/windows-kind.sh decides); report
# (Chromium, in which the flight report's and the manual's tests open them,
# headless).
for group in "$@"; do
  case "$group" in
    fuzz) packages+=(clang libclang-rt-14-dev) ;;
    report) packages+=(chromium) ;;
    windows | --windows)
      packages+=(g++-mingw-w64-i686 g++-mingw-w64-x86-64 googletest wine fonts-wine)
      case "$("$(dirname "$0")"/windows-kind.sh)" in
        win32*) packages+=(wine32:i386) ;;
        *) packages+=(wine64) ;;
      esac
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
if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${as_root[@]}" dpkg --add-architecture i386
fi
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
