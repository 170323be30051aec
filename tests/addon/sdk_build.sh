#!/usr/bin/env bash
# The modules built against the simulator's SDK, as far as a machine without
# Visual Studio goes. A stand-in SDK folder is made from host/, with the SDK's
# file names and layout: include/ the host's headers but the message module's,
# lib/orbiter.lib an import library of orbiter.exe made from orbiter.def beside
# this script, lib/Orbitersdk.lib an empty archive (the launcher has its own
# DllMain and GetModuleVersion; the dispenser needs neither). The build is
# configured with -DVARNELL_ORBITER_SDK, built with MinGW-w64 for ARCH and
# installed, and then it must have
#  - compiled the three modules and nothing else, with no include folder but
#    the SDK's, the modules' own and the SDK build's own few (no host/);
#  - read the SDK's VesselAPI.h and nothing under host/;
#  - made DLLs for ARCH that export the entry points (scripts/check-win32-dlls.sh)
#    and import the simulator from orbiter.exe and the rest from Windows alone;
#  - installed the modules into Modules/, root/'s class files, meshes and
#    manual, and its scenarios without their pilot programs: nothing else.
#
#   sdk_build.sh build ARCH SOURCE_DIR WORK_DIR     ARCH: x86_64 or i686
#   sdk_build.sh refuse SOURCE_DIR WORK_DIR
#
# The second gives the build a folder with only one of the SDK's files, which
# it must refuse, naming the four that are missing; and, where both MinGW-w64
# compilers are installed, a 32-bit build the stand-in SDK of the 64-bit
# simulator, which it must refuse, naming the architecture to build for.
set -euo pipefail

fail() { echo "FAILED: $*"; exit 1; }

# quietly LOG COMMAND...: runs the command with its output in LOG, shown if it fails.
quietly() {
  local log=$1
  shift
  "$@" >"$log" 2>&1 || { cat "$log"; fail "$*"; }
}

# expect_refusal LOG WANT CMAKE_ARGS...: the configuration must fail with an
# error whose message, its lines joined again, holds WANT.
expect_refusal() {
  local log=$1 want="(message): VARNELL_ORBITER_SDK: $2" flat
  shift 2
  if cmake "$@" >"$log" 2>&1; then
    fail "configured with $*"
  fi
  flat=$(tr -s ' \n' ' ' <"$log" | sed 's/CMake /\nCMake /g')
  grep '^CMake Error at ' <<<"$flat" | grep -qF "$want" || { cat "$log"; fail "refused, but not with: $want"; }
}

refuse() {
  local src=$1 work
  work=$(realpath -m "$2")
  rm -rf "$work" && mkdir -p "$work/Orbitersdk/include" "$work/Orbitersdk/lib"
  cp "$src/host/OrbiterAPI.h" "$work/Orbitersdk/include/"
  expect_refusal "$work/partial.log" "$work/Orbitersdk is not the simulator's Orbitersdk folder: it has no \
include/Orbitersdk.h, include/VesselAPI.h, lib/orbiter.lib, lib/Orbitersdk.lib" \
    -S "$src" -B "$work/partial" -DVARNELL_ORBITER_SDK="$work/Orbitersdk"
  echo "a folder with one of the SDK's files refused, naming the four missing"
  # The 64-bit simulator's SDK in a 32-bit build, where both compilers are at hand.
  command -v x86_64-w64-mingw32-dlltool >/dev/null && command -v i686-w64-mingw32-g++-posix >/dev/null || return 0
  stand_in_sdk "$src" "$work/x64/Orbitersdk" x86_64
  expect_refusal "$work/x64.log" "$work/x64/Orbitersdk is the SDK of a simulator for x64, this build is for x86: \
configure a new build with -A x64" \
    -S "$src" -B "$work/x64/build" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-i686.cmake" \
    -DVARNELL_ORBITER_SDK="$work/x64/Orbitersdk"
  echo "the 64-bit simulator's SDK refused for a 32-bit build"
}

# stand_in_sdk SOURCE_DIR SDK ARCH
stand_in_sdk() {
  local src=$1 sdk=$2 arch=$3 header
  mkdir -p "$sdk/include" "$sdk/lib"
  for header in "$src"/host/*.h; do
    [ "${header##*/}" = cvelmessage.h ] || cp "$header" "$sdk/include/"
  done
  "$arch-w64-mingw32-dlltool" -d "$src/tests/addon/orbiter.def" -l "$sdk/lib/orbiter.lib"
  "$arch-w64-mingw32-ar" rc "$sdk/lib/Orbitersdk.lib"
}

build() {
  local arch=$1 src work
  src=$(realpath "$2") work=$(realpath -m "$3")
  local sdk=$work/Orbitersdk build=$work/build addon=$work/addon
  rm -rf "$work" && mkdir -p "$work"
  stand_in_sdk "$src" "$sdk" "$arch"
  # Makefiles keep the compiler's dependency files, which tell what it read.
  quietly "$work/configure.log" cmake -S "$src" -B "$build" -G "Unix Makefiles" \
    -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-$arch.cmake" \
    -DVARNELL_ORBITER_SDK="$sdk" -DCMAKE_EXPORT_COMPILE_COMMANDS=ON
  quietly "$work/build.log" cmake --build "$build" -j2
  quietly "$work/install.log" cmake --install "$build" --prefix "$addon"

  local strays
  strays=$(grep -o '"file": "[^"]*"' "$build/compile_commands.json" | grep -vE "\"$src/(launcher|payload|messages|carrier)/" || true)
  [ -z "$strays" ] || fail "compiled more than the modules: $strays"
  local includes
  includes=$(find "$build" \( -name flags.make -o -name includes_CXX.rsp \) -exec cat {} + |
    grep -oE -- '-I("[^"]*"|[^ ]*)' | tr -d '"' | sed 's/^-I//' | sort -u)
  grep -qxF "$sdk/include" <<<"$includes" || fail "the SDK's include folder is not on the include path"
  strays=$(grep -vxE "$src/cmake/orbiter_sdk|$build/sdk-include|$sdk/include|$src/(launcher|payload|messages|carrier)" \
    <<<"$includes" || true)
  [ -z "$strays" ] || fail "include folders besides the SDK's and the modules': $strays"
  # Every file the compiler read, from its dependency files, as a real path.
  local read
  read=$(find "$build" -name '*.obj.d' -exec sed 's/^[^ ]*: //; s/\\$//' {} + | tr ' ' '\n' | grep . | sort -u |
    xargs realpath -m --)
  grep -qxF "$sdk/include/VesselAPI.h" <<<"$read" || fail "no module read the SDK's VesselAPI.h"
  strays=$(grep "^$src/host/" <<<"$read" || true)
  [ -z "$strays" ] || fail "read headers from host/: $strays"
  echo "the modules alone, compiled against $sdk/include, nothing read from host/"

  "$src/scripts/check-win32-dlls.sh" "$build" "$arch"
  local dll imports takes_simulator
  for dll in Varnell.dll VarnellDispenser.dll cvelmessage.dll; do
    imports=$("$arch-w64-mingw32-objdump" -p "$build/root/Modules/$dll" | sed -n 's/^\s*DLL Name: //p' | sort | tr '\n' ' ')
    takes_simulator=$([[ " $imports" == *" orbiter.exe "* ]] && echo yes || echo no)
    [ "$takes_simulator" = "$([ $dll = cvelmessage.dll ] && echo no || echo yes)" ] ||
      fail "$dll imports $imports: the vessel modules, and they alone, import the simulator (orbiter.exe)"
    strays=$(tr ' ' '\n' <<<"$imports" | grep -vixE 'orbiter\.exe|kernel32\.dll|msvcrt\.dll|gdi32\.dll|user32\.dll|' || true)
    [ -z "$strays" ] || fail "$dll imports $strays, which neither the simulator nor Windows has"
    echo "$dll imports $imports"
  done

  local want got
  want=$(cd "$src/root" && { find Config Meshes Doc -type f; find Scenarios -name '*.scn'; find Textures -name '*.dds'; } |
    cat - <(printf 'Modules/%s\n' Varnell.dll VarnellDispenser.dll cvelmessage.dll) | sort)
  got=$(cd "$addon" && find . -type f | sed 's|^\./||' | sort)
  [ "$want" = "$got" ] || { diff <(echo "$want") <(echo "$got") || true; fail "installed (>) other than the add-on (<)"; }
  echo "installed: $(wc -l <<<"$got") files, as root/ has them, and the modules"
}

case "${1:-}" in
  build) build "$2" "$3" "$4" ;;
  refuse) refuse "$2" "$3" ;;
  *) echo "usage: sdk_build.sh build ARCH SOURCE_DIR WORK_DIR | refuse SOURCE_DIR WORK_DIR" >&2; exit 2 ;;
esac
