# What the Windows build adds: the platform's names, where programs and the
# host library land, and how tests run under Wine when cross-compiling.

# MinGW's <math.h> keeps M_PI and friends behind this in strict C++ mode.
add_compile_definitions(_USE_MATH_DEFINES)

# Programs and the host library side by side, so that each program finds
# varnellsim.dll beside itself; the simulator tree is ../root from there.
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

if(CMAKE_CROSSCOMPILING)
  # Wine shows the Linux file system as drive Z:, so a path compiled into a
  # program that runs under Wine gets that drive in front.
  set(VARNELL_TARGET_PATH_PREFIX "Z:")

  find_program(VARNELL_WINE wine)
  if(VARNELL_WINE AND NOT CMAKE_CROSSCOMPILING_EMULATOR)
    # A Wine prefix of the build's own, quiet, without the browser and .NET
    # installers that a fresh prefix would otherwise offer.
    set(VARNELL_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    set(CMAKE_CROSSCOMPILING_EMULATOR
        ${CMAKE_COMMAND} -E env WINE=${VARNELL_WINE} WINEPREFIX=${VARNELL_WINEPREFIX} WINEDEBUG=-all
        "WINEDLLOVERRIDES=mscoree,mshtml=" ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
  endif()
  # Listing a program's tests needs the emulator, so do it when the tests run.
  set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
endif()
