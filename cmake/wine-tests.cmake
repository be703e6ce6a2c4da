# Tests of Windows executables run under Wine in a prefix of the build tree's own,
# prepared once per test run by the "wineprefix" fixture.
set(ZEPH_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
# The Wine command the tests run under. An i686 tree on a machine without the native 32-bit
# loader (/usr/lib/wine/wine, from wine32:i386) uses the emulated 32-bit Wine that
# scripts/wine32-emulated sets up; its prefix then becomes a 64-bit one with a working
# 32-bit half, made by scripts/wine-prefix.
set(ZEPH_WINE_DEFAULT wine)
if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND NOT EXISTS /usr/lib/wine/wine)
  set(ZEPH_WINE_DEFAULT /opt/zephlaunch-wine32/usr/lib/wine/wine)
endif()
set(ZEPH_WINE ${ZEPH_WINE_DEFAULT} CACHE STRING "Wine command for the Windows tests")
set(ZEPH_WINE_ENV
  "WINEPREFIX=${ZEPH_WINEPREFIX}"
  "ZEPH_WINE=${ZEPH_WINE}"
  "WINEDEBUG=-all"
  "WINEDLLOVERRIDES=mscoree,mshtml="
  "ZEPH_BIN_DIR=${CMAKE_BINARY_DIR}/bin"
  "ZEPH_SOURCE_DIR=${CMAKE_SOURCE_DIR}")

if(NOT ZEPH_NATIVE AND ZEPH_BUILD_TESTS)
  add_test(NAME wineprefix.setup COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix up)
  add_test(NAME wineprefix.teardown COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-prefix down)
  set_tests_properties(wineprefix.setup PROPERTIES FIXTURES_SETUP wineprefix ENVIRONMENT "${ZEPH_WINE_ENV}")
  set_tests_properties(wineprefix.teardown PROPERTIES FIXTURES_CLEANUP wineprefix ENVIRONMENT "${ZEPH_WINE_ENV}")
endif()

# zeph_add_wine_test(NAME name COMMAND exe args... [TIMEOUT s] [RUN_SERIAL])
# The command runs through the cross-compiling emulator (scripts/wine-run).
function(zeph_add_wine_test)
  cmake_parse_arguments(T "RUN_SERIAL" "NAME;TIMEOUT" "COMMAND;LABELS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_COMMAND} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  set_tests_properties(${T_NAME} PROPERTIES
    FIXTURES_REQUIRED wineprefix
    ENVIRONMENT "${ZEPH_WINE_ENV}"
    TIMEOUT ${T_TIMEOUT}
    LABELS "wine;${T_LABELS}")
  if(T_RUN_SERIAL)
    set_tests_properties(${T_NAME} PROPERTIES RUN_SERIAL TRUE)
  endif()
endfunction()

# All Windows executables land in one folder so tests find their siblings.
if(NOT ZEPH_NATIVE)
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endif()
