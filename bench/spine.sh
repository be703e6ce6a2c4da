#!/bin/sh
# Controller start-up and phase sequence on an empty profile, against a trivial console
# program started the same way under the same Wine (prints figures; not a test):
#   bench/spine.sh BUILD_DIR [RUNS]
# Prints both medians and their ratio (target: at most 1.3).
set -eu
build=$(cd "${1:?usage: spine.sh BUILD_DIR [RUNS]}" && pwd)
runs=${2:-15}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

out="$build/bench"
mkdir -p "$out"
printf '#include <stdio.h>\nint main(void) { puts("hello"); return 0; }\n' > "$out/trivial_console.c"
x86_64-w64-mingw32-gcc -O2 -static "$out/trivial_console.c" -o "$out/trivial_console.exe"
printf '[Configuration]\r\ndescription=empty\r\n' > "$out/empty.ini"

"$source_dir/scripts/wine-prefix" up >/dev/null
# The prefix's own display (its Xvfb, which lives as long as the prefix's wineserver and its
# desktop) where the caller has none: a display that ends with this script would leave the
# desktop of the next one without any.
if [ -z "${DISPLAY:-}" ] && [ -f "$WINEPREFIX.display" ]; then
  read -r num pid < "$WINEPREFIX.display" && DISPLAY=":$num" && export DISPLAY
fi
profile=$(winepath -w "$out/empty.ini")

median_ms() {  # median_ms COMMAND...: median wall time of RUNS runs, in milliseconds
  i=0
  : > "$out/times"
  while [ $i -lt "$runs" ]; do
    start=$(date +%s%N)
    "$@" </dev/null >/dev/null 2>&1
    end=$(date +%s%N)
    echo $(( (end - start) / 1000000 )) >> "$out/times"
    i=$((i + 1))
  done
  sort -n "$out/times" | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'
}

trivial=$(median_ms wine "$out/trivial_console.exe")
spine=$(median_ms wine "$build/bin/zephrun.exe" "$profile")
echo "trivial console program: median ${trivial} ms over $runs runs"
echo "zephrun, empty profile:  median ${spine} ms over $runs runs"
awk -v s="$spine" -v t="$trivial" 'BEGIN { printf "ratio: %.2f (target at most 1.30)\n", s / t }'
