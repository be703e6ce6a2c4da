#!/bin/sh
# sizes.sh [BUILD_DIR...]: prints the stripped size of the four program executables
# (zephrun.exe and Zephlaunch.exe, x86_64 and i686) against their size budgets:
# zephrun.exe 132 KiB, Zephlaunch.exe 384 KiB. The budgets are set for the i686 build;
# the x86_64 figures are printed against the same numbers for comparison. (zephrun.exe's
# was 128 KiB until the window that hears of the session's end, about 2 KiB.)
# Default build folders: build/win64 and build/win32 (build them with scripts/build.sh).
set -eu
cd "$(dirname "$0")/.."
[ $# -gt 0 ] || set -- build/win64 build/win32
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
over=0
printf '%-8s %-15s %10s %10s %7s\n' arch program bytes budget ratio
for dir in "$@"; do
  for exe in zephrun.exe Zephlaunch.exe; do
    path="$dir/bin/$exe"
    if [ ! -f "$path" ]; then
      echo "sizes.sh: $path missing (build it first)" >&2
      exit 1
    fi
    case "$(x86_64-w64-mingw32-objdump -f "$path")" in
      *pei-i386*) arch=i686 ;;
      *) arch=x86_64 ;;
    esac
    # Measured stripped, whatever the build type.
    "$arch-w64-mingw32-strip" -o "$tmp/$exe" "$path"
    bytes=$(wc -c < "$tmp/$exe")
    case "$exe" in
      zephrun.exe) budget=$((132 * 1024)) ;;
      *) budget=$((384 * 1024)) ;;
    esac
    ratio=$(awk -v a="$bytes" -v b="$budget" 'BEGIN { printf "%.2f", a / b }')
    printf '%-8s %-15s %10d %10d %7s\n' "$arch" "$exe" "$bytes" "$budget" "$ratio"
    if [ "$arch" = i686 ] && [ "$bytes" -gt "$budget" ]; then over=1; fi
  done
done
if [ "$over" -ne 0 ]; then
  echo "sizes.sh: an i686 executable is over its budget (ratio > 1.00)"
fi
