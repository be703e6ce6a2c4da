# Everything compiles with the posix-thread-model compilers: the tests need std::thread
# and std::mutex, and GoogleTest needs them too. The two programs are linked differently
# (see zeph_product_executable below): the posix runtime would bring winpthreads into them,
# and with it imports that Windows before Vista does not have.
set(CMAKE_C_COMPILER ${ZEPH_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZEPH_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZEPH_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${ZEPH_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Everything is linked statically: the programs need nothing but Windows' own DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Test executables run under Wine, in the build tree's own prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
# The program executables are linked by the win32-thread-model driver of the same
# compiler (same headers but for the thread configuration, same ABI): its libstdc++
# and libgcc use Windows' own critical sections and TLS slots, which every Windows has.
set(ZEPH_PRODUCT_LINKER_LAUNCHER ${CMAKE_CURRENT_LIST_DIR}/link-win32-runtime.sh)
