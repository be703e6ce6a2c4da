# Tests of Windows executables run under Wine in a prefix of the build tree's own,
# prepared once per test run by the "wineprefix" fixture.
set(ZEPH_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
set(ZEPH_WINE_ENV
  "WINEPREFIX=${ZEPH_WINEPREFIX}"
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
