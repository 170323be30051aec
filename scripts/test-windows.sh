#!/usr/bin/env bash
# Sets up, cross-builds the Windows target with MinGW-w64 and runs its test
# suite under Wine, headless; then, if the Linux suite has flown the default
# mission (build/flights/), compares the two flights. Extra arguments go to
# ctest.
#
# Which suite runs is decided by trying (scripts/windows-kind.sh):
#  - where this machine runs 32-bit programs, the 32-bit build (build-win/),
#    the simulator's own platform, and its suite under 32-bit Wine;
#  - where it does not (32-bit Wine fails with "Exec format error" there), the
#    32-bit DLLs are still built (build-win/) and checked, and the same sources
#    and tests are built for 64-bit Windows (build-win64/) and run under 64-bit
#    Wine.
# VARNELL_WINDOWS=win64 forces the second path, so both can run on one machine.
set -euo pipefail
cd "$(dirname "$0")/.."
kind=$(scripts/windows-kind.sh)
scripts/setup.sh windows

case "$kind" in
  win32*)
    echo "Windows suite: 32-bit (i686 MinGW-w64) under 32-bit Wine, as ${kind#win32 (}" | sed 's/)$//'
    suite_dir=build-win
    cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DVARNELL_TESTS=ON >/dev/null
    cmake --build build-win -j2
    scripts/check-win32-dlls.sh build-win
    wine=wine
    ;;
  win64*)
    echo "Windows suite: 64-bit (x86_64 MinGW-w64) under 64-bit Wine, as ${kind#win64 (}" | sed 's/)$//'
    suite_dir=build-win64
    # The modules users take to the simulator are 32-bit: build those and
    # check what can be checked without running them.
    cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
      -DVARNELL_TESTS=OFF -DVARNELL_BENCH=OFF >/dev/null
    cmake --build build-win -j2 --target varnell_dll cvelmessage varnell_dispenser
    scripts/check-win32-dlls.sh build-win
    wine=/usr/lib/wine/wine64
    cmake -S . -B build-win64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
      -DVARNELL_WINE="$wine" >/dev/null
    cmake --build build-win64 -j2
    export WINELOADER=$wine
    ;;
esac

# The Wine settings of the build's own test commands (cmake/windows.cmake).
export WINEPREFIX="$PWD/$suite_dir/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# One Wine server for the whole run, rather than a start-up for each test
# program; it ends with the run. (Status 2: one runs already.)
mkdir -p "$WINEPREFIX"
wineserver -p || [ $? -eq 2 ]
trap 'wineserver -k' EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  "$wine" wineboot -i
  # There is no display: the desktop runs on Wine's null graphics driver.
  "$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
fi
ctest --test-dir "$suite_dir" --output-on-failure -j2 "$@"

mission=flights/Scenarios/Varnell/Launch
if [ -d "build/$mission" ]; then
  echo "The default mission flown by the Linux build and by $suite_dir:"
  scripts/compare-flights.sh "build/$mission" "$suite_dir/$mission"
fi
