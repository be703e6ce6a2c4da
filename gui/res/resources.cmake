# Resource pieces of Zephlaunch.exe that are generated or shared: the version block
# (from the project version), the manifest and the icon/bitmap list (art.rc).
# Include from gui/CMakeLists.txt, then:
#   target_include_directories(<exe> PRIVATE ${ZEPH_GUI_RES_INCLUDE_DIRS})
# and in zephlaunch.rc:
#   #include "art.rc"
#   #include "zephlaunch_version.rc"
#   #include "zephlaunch_manifest.rc"
set(ZEPH_GUI_RES_SOURCE_DIR ${CMAKE_CURRENT_LIST_DIR})
set(ZEPH_GUI_RES_BINARY_DIR ${CMAKE_BINARY_DIR}/gui/res)
configure_file(${ZEPH_GUI_RES_SOURCE_DIR}/zephlaunch_version.rc.in
               ${ZEPH_GUI_RES_BINARY_DIR}/zephlaunch_version.rc @ONLY)
set(ZEPH_GUI_RES_INCLUDE_DIRS ${ZEPH_GUI_RES_SOURCE_DIR} ${ZEPH_GUI_RES_BINARY_DIR})
