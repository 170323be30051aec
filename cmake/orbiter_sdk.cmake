# The modules built for the simulator itself (-DVARNELL_ORBITER_SDK=FOLDER):
# compiled against the headers of its SDK instead of host/, and linked with its
# libraries instead of the headless host's. FOLDER is the simulator's
# Orbitersdk folder: include/ holds the SDK's headers; lib/ the simulator's
# import library, orbiter.lib, and Orbitersdk.lib, the static library that
# every module links (a DllMain that calls InitLib, and GetModuleVersion, for
# modules that have none of their own: the launcher has both).
#
# The architecture is the compiler's: with Visual Studio, -A Win32 for the 2016
# simulator, -A x64 for today's.

get_filename_component(VARNELL_SDK_DIR "${VARNELL_ORBITER_SDK}" ABSOLUTE)
set(missing "")
foreach(file include/Orbitersdk.h include/OrbiterAPI.h include/VesselAPI.h lib/orbiter.lib lib/Orbitersdk.lib)
  if(NOT EXISTS "${VARNELL_SDK_DIR}/${file}")
    list(APPEND missing ${file})
  endif()
endforeach()
if(missing)
  list(JOIN missing ", " missing)
  message(FATAL_ERROR "VARNELL_ORBITER_SDK: ${VARNELL_ORBITER_SDK} is not the simulator's Orbitersdk folder: "
                      "it has no ${missing}")
endif()

# The machine a library is for, as its first object says (a COFF object, or a
# short import record, which has it 6 bytes in): "x86", "x64" or "" when not
# known. An archive's members named / followed by no digit are its symbol
# tables and long names, not objects.
function(varnell_library_machine lib out)
  set(${out} "" PARENT_SCOPE)
  file(SIZE ${lib} size)
  file(READ ${lib} magic LIMIT 8 HEX)
  if(NOT magic STREQUAL "213c617263683e0a")  # "!<arch>\n": no archive, no machine
    return()
  endif()
  set(pos 8)
  while(pos LESS size)
    file(READ ${lib} header OFFSET ${pos} LIMIT 60)
    string(SUBSTRING "${header}" 0 16 name)
    string(SUBSTRING "${header}" 48 10 length)
    string(STRIP "${name}" name)
    string(STRIP "${length}" length)
    if(NOT length MATCHES "^[0-9]+$")
      return()
    endif()
    math(EXPR data "${pos} + 60")
    if(NOT name MATCHES "^/[^0-9]*$")
      file(READ ${lib} head OFFSET ${data} LIMIT 8 HEX)
      if(head MATCHES "^0000ffff....(....)")
        set(machine ${CMAKE_MATCH_1})
      else()
        string(SUBSTRING "${head}" 0 4 machine)
      endif()
      set(machines 4c01 x86 6486 x64)
      list(FIND machines "${machine}" found)
      if(found GREATER_EQUAL 0)
        math(EXPR found "${found} + 1")
        list(GET machines ${found} machine)
        set(${out} ${machine} PARENT_SCOPE)
      endif()
      return()
    endif()
    math(EXPR pos "${data} + ${length} + ${length} % 2")
  endwhile()
endfunction()

# An SDK for the other architecture would fail only at the link.
varnell_library_machine(${VARNELL_SDK_DIR}/lib/orbiter.lib sdk_machine)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  set(build_machine x64)
else()
  set(build_machine x86)
endif()
if(sdk_machine AND NOT sdk_machine STREQUAL build_machine)
  set(generator_platform Win32)
  if(sdk_machine STREQUAL x64)
    set(generator_platform x64)
  endif()
  message(FATAL_ERROR "VARNELL_ORBITER_SDK: ${VARNELL_ORBITER_SDK} is the SDK of a simulator for ${sdk_machine}, "
                      "this build is for ${build_machine}: configure a new build with -A ${generator_platform}")
endif()

# Module code includes three headers that the SDK does not have: platform.h
# and hostapi_export.h, which here stand only for what the SDK's headers and
# <windows.h> give (cmake/orbiter_sdk/), and cvelmessage.h, the message
# module's interface, copied out of host/ so that nothing else there is seen.
configure_file(${CMAKE_SOURCE_DIR}/host/cvelmessage.h ${CMAKE_BINARY_DIR}/sdk-include/cvelmessage.h COPYONLY)
set(VARNELL_MODULE_INCLUDES ${CMAKE_CURRENT_LIST_DIR}/orbiter_sdk ${CMAKE_BINARY_DIR}/sdk-include
                            ${VARNELL_SDK_DIR}/include)
target_link_libraries(varnell_simulator INTERFACE ${VARNELL_SDK_DIR}/lib/orbiter.lib
                                                  ${VARNELL_SDK_DIR}/lib/Orbitersdk.lib)

# The SDK's headers include <windows.h> as it comes, whose min and max macros
# would take the place of std::min and std::max.
add_compile_definitions(NOMINMAX)

if(MSVC)
  # As the simulator's own modules are built: C++ exceptions, and the C
  # runtime DLL that Orbitersdk.lib was built with, in every configuration,
  # since the SDK has no debug build of it. The sources are UTF-8.
  set(CMAKE_MSVC_RUNTIME_LIBRARY MultiThreadedDLL)
  add_compile_options(/EHsc /utf-8)
  add_compile_definitions(_CRT_SECURE_NO_WARNINGS)
elseif(WIN32)
  # The tests' stand-in SDK (tests/addon/); the simulator's own libraries are
  # Visual Studio's, whose C++ names MinGW's linker does not know.
  message(STATUS "VARNELL_ORBITER_SDK: ${CMAKE_CXX_COMPILER_ID} links only against a stand-in SDK made with it")
else()
  message(FATAL_ERROR "VARNELL_ORBITER_SDK: the simulator's modules are Windows DLLs: build them with Visual Studio")
endif()
