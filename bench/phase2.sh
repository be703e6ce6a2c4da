#!/bin/sh
# Phase 2 figures under Wine (prints them; not a test):
#   bench/phase2.sh BUILD_DIR
# BUILD_DIR is a Windows build tree with zephrun.exe and fixture_window.exe in BUILD_DIR/bin
# and its Wine prefix in BUILD_DIR/wineprefix (the programs have windows: on the prefix's own
# display where the caller has none).
set -eu
build=$(cd "${1:?usage: phase2.sh BUILD_DIR}" && pwd)
source_dir=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="

out="$build/bench"
mkdir -p "$out"
x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -static -DWIN32_LEAN_AND_MEAN -DNOMINMAX \
  -I"$source_dir" "$source_dir/bench/phase2_driver.cpp" "$source_dir/procenum/process_enumerator.cpp" \
  -luser32 -o "$out/phase2_driver.exe"

"$source_dir/scripts/wine-prefix" up >/dev/null
# The prefix's own display (its Xvfb, which lives as long as the prefix's wineserver and its
# desktop) where the caller has none: a display that ends with this script would leave the
# desktop of the next one without any.
if [ -z "${DISPLAY:-}" ] && [ -f "$WINEPREFIX.display" ]; then
  read -r num pid < "$WINEPREFIX.display" && DISPLAY=":$num" && export DISPLAY
fi
work="$(winepath -w "$out/work")"
bin="$(winepath -w "$build/bin")"
rm -rf "$out/work"
wine "$out/phase2_driver.exe" "$bin" "$work" </dev/null
rm -rf "$out/work"
