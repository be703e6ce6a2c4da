# Tests of Windows executables run under Wine in a prefix of the build tree's own,
# prepared once per test run by the "wineprefix" fixture.
set(ZEPH_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
# The Wine command the tests run under: the loader of the tree's own architecture.
# Debian's `wine` wrapper picks the 32-bit loader whenever wine32:i386 is installed, and that
# loader then starts the 64-bit one for a 64-bit program: a second start for every process,
# and one that fails outright under an address-space limit (ulimit -v). So the x86_64 tree
# runs /usr/lib/wine/wine64 itself, and an i686 tree the native 32-bit loader
# (/usr/lib/wine/wine, from wine32:i386). Without that loader, an i686 tree uses the emulated
# 32-bit Wine that scripts/wine32-emulated sets up; its prefix then becomes a 64-bit one with
# a working 32-bit half, made by scripts/wine-prefix.
set(ZEPH_WINE_DEFAULT wine)
if(CMAKE_SIZEOF_VOID_P EQUAL 8 AND EXISTS /usr/lib/wine/wine64)
  set(ZEPH_WINE_DEFAULT /usr/lib/wine/wine64)
elseif(CMAKE_SIZEOF_VOID_P EQUAL 4)
  if(EXISTS /usr/lib/wine/wine)
    set(ZEPH_WINE_DEFAULT /usr/lib/wine/wine)
  else()
    set(ZEPH_WINE_DEFAULT /opt/zephlaunch-wine32/usr/lib/wine/wine)
  endif()
endif()
set(ZEPH_WINE ${ZEPH_WINE_DEFAULT} CACHE STRING "Wine command for the Windows tests")
# Trees configured before the loaders were told apart cached the plain wrapper.
if(ZEPH_WINE STREQUAL "wine" AND NOT ZEPH_WINE_DEFAULT STREQUAL "wine")
  set_property(CACHE ZEPH_WINE PROPERTY VALUE ${ZEPH_WINE_DEFAULT})
endif()
if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND ZEPH_WINE MATCHES "^/opt/zephlaunch-wine32/")
  set(ZEPH_WINE_EMULATED ON)
else()
  set(ZEPH_WINE_EMULATED OFF)
endif()

# Tests the i686 run leaves out (label "not-i686", excluded by the win32 test preset, which
# also leaves out the pixel comparisons of the controls (label "pixels") and the package test
# (label "package"): that one packs both builds and checks them the same way from either tree).
# The i686 run is for what depends on the architecture: the controller's phases on real
# processes and services, WOW64, the 32-bit process walk, the fatal-error runtime, the GUI's
# start-up, framework and controls. Left to the x86_64 run:
# - the dialog tests, whose code is the same in both builds;
# - the profile values of the auto-start entries, the console colours and the key wait at the
#   end of a run: the same code on either architecture.
# Under emulated 32-bit Wine (qemu-i386 without Wine's preloader) an address space limit
# (ulimit -v) leaves qemu no room to map the guest at all (idle_defrag_memory_limit), and the
# controller run left inside its key wait (ControllerSpine.PauseAtEndWithoutAKeyKeepsWaiting)
# passes, but its ended console keeps the test's output open for four minutes.
set(ZEPH_NOT_I686 "")
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  list(APPEND ZEPH_NOT_I686
    gui_about_test gui_action_list_test gui_action_never_stop_test gui_configure_edit_test
    gui_configure_test gui_configure_window_test gui_dialog_layer_test gui_help_file_test
    gui_journal_test gui_options_test gui_profiles_test gui_programs_dialog_test
    gui_services_dialog_test gui_shortcut_test gui_many_services_session gui_dpi_layout_test
    autostart_values_test console_colours_test main_app_keywait_test
    main_app_keywait_test.MainAppKeyWait.WithoutAKeyTheRunWaits)
  if(ZEPH_WINE_EMULATED)
    list(APPEND ZEPH_NOT_I686 idle_defrag_memory_limit
      controller_spine_test.ControllerSpine.PauseAtEndWithoutAKeyKeepsWaiting)
  endif()
endif()
# Host-side test scripts that run Wine themselves start through this, as scripts/wine-run
# does: Wine's processes with a fixed address layout (see the script).
set(ZEPH_FIXED_LAYOUT ${CMAKE_SOURCE_DIR}/scripts/fixed-layout)
set(ZEPH_WINE_ENV
  "WINEPREFIX=${ZEPH_WINEPREFIX}"
  "ZEPH_WINE=${ZEPH_WINE}"
  "ZEPH_WINE_EMULATED=${ZEPH_WINE_EMULATED}"
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

# zeph_add_wine_test(NAME name COMMAND exe args... [TIMEOUT s] [RUN_SERIAL] [LOCKS resource...])
# The command runs through the cross-compiling emulator (scripts/wine-run). RUN_SERIAL is for
# a test that needs the whole prefix to itself; LOCKS names what it shares with some others,
# so that only those wait for each other:
#   display   the test display's focus and windows (every dialog test)
#   settings  the GUI's settings folder in the prefix (profiles, window rectangles)
#   services  the states of the prefix's shared services (Print Spooler)
function(zeph_add_wine_test)
  cmake_parse_arguments(T "RUN_SERIAL" "NAME;TIMEOUT" "COMMAND;LABELS;LOCKS" ${ARGN})
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 300)
  endif()
  add_test(NAME ${T_NAME} COMMAND ${T_COMMAND} WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
  set_tests_properties(${T_NAME} PROPERTIES
    FIXTURES_REQUIRED wineprefix
    ENVIRONMENT "${ZEPH_WINE_ENV}"
    TIMEOUT ${T_TIMEOUT}
    LABELS "wine;${T_LABELS}")
  if(T_NAME IN_LIST ZEPH_NOT_I686)
    set_property(TEST ${T_NAME} APPEND PROPERTY LABELS not-i686)
  endif()
  if(T_RUN_SERIAL)
    set_tests_properties(${T_NAME} PROPERTIES RUN_SERIAL TRUE)
  endif()
  if(T_LOCKS)
    set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK "${T_LOCKS}")
  endif()
endfunction()

# All Windows executables land in one folder so tests find their siblings.
if(NOT ZEPH_NATIVE)
  set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)
endif()
