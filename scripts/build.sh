#!/bin/sh
# build.sh [win64|win32|native ...]: configures and builds the named presets
# (default: win64). Build trees go to build/<preset>.
set -eu
cd "$(dirname "$0")/.."
[ $# -gt 0 ] || set -- win64
for preset in "$@"; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$(nproc)"
done
