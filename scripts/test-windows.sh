#!/usr/bin/env bash
# Sets up, cross-builds the Windows target (32-bit DLLs and programs, with
# MinGW-w64) into build-win/ (or the folder given as $WIN_BUILD_DIR) and runs
# its tests under Wine, headless. Extra arguments go to ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh windows
build_dir=${WIN_BUILD_DIR:-build-win}
cmake -S . -B "$build_dir" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake >/dev/null
cmake --build "$build_dir" -j2

# The Wine settings of the build's own test commands (cmake/windows.cmake).
export WINEPREFIX="$PWD/$build_dir/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# One Wine server for the whole run, rather than a start-up for each test
# program; it ends with the run. (Status 2: one runs already.)
mkdir -p "$WINEPREFIX"
wineserver -p || [ $? -eq 2 ]
trap 'wineserver -k' EXIT
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  wineboot -i
  # There is no display: the desktop runs on Wine's null graphics driver.
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
fi
ctest --test-dir "$build_dir" --output-on-failure -j2 "$@"
