#!/bin/sh
# build.sh [--target NAME] [win64|win32|native ...]: configures and builds the named
# presets (default: win64), all of each tree or only the named target. Build trees go to
# build/<preset>.
set -eu
cd "$(dirname "$0")/.."
target=""
if [ "${1:-}" = "--target" ]; then
  target="--target $2"
  shift 2
fi
[ $# -gt 0 ] || set -- win64
# Compiler cache, where one is installed: four build trees compile much the same sources.
if command -v ccache >/dev/null 2>&1 && [ -z "${CMAKE_CXX_COMPILER_LAUNCHER:-}" ]; then
  CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_BASEDIR="$(pwd)"
  export CMAKE_C_COMPILER_LAUNCHER CMAKE_CXX_COMPILER_LAUNCHER CCACHE_BASEDIR
fi
for preset in "$@"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)" $target
done
