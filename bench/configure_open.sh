#!/bin/sh
# configure_open.sh BUILD_DIR [RUNS]
# The Configure dialog opening to painted on a profile with 50 auto-start programs
# whose icons are extracted (each a different path to a program with an icon), against
# the bare dialog program started the same way. Prints both medians and their ratio
# (target: at most 2). Works in BUILD_DIR/bench-configure, removed afterwards.
set -eu
BUILD=$(cd "${1:?usage: configure_open.sh BUILD_DIR [RUNS]}" && pwd)
RUNS=${2:-9}
ROWS=${ZEPH_BENCH_ROWS:-50}
BIN="$BUILD/bin"
for f in Zephlaunch.exe bench_configure_dialog.exe bench_bare_dialog.exe bench_startup_probe.exe; do
  [ -f "$BIN/$f" ] || { echo "missing $BIN/$f (build targets Zephlaunch bench_configure_dialog bench_bare_dialog bench_startup_probe)" >&2; exit 2; }
done
export WINEPREFIX="$BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$(dirname "$0")/../scripts/wine-prefix" up >/dev/null
# The prefix's own display (its Xvfb, which lives as long as the prefix's wineserver and its
# desktop) where the caller has none: a display that ends with this script would leave the
# desktop of the next one without any.
if [ -z "${DISPLAY:-}" ] && [ -f "$WINEPREFIX.display" ]; then
  read -r num pid < "$WINEPREFIX.display" && DISPLAY=":$num" && export DISPLAY
fi

WORK="$BUILD/bench-configure"
rm -rf "$WORK"
mkdir -p "$WORK/programs"
trap 'rm -rf "$WORK"' EXIT INT TERM

# Every row names its own file, so every icon is extracted from a file of its own.
PROFILE="$WORK/bench.ini"
printf '[Configuration]\r\ndescription=Configure benchmark\r\n[AutoStart]\r\n' > "$PROFILE"
i=1
while [ $i -le "$ROWS" ]; do
  cp "$BIN/Zephlaunch.exe" "$WORK/programs/program$i.exe"
  printf '%s=-row %d|%d\r\n' "$(winepath -w "$WORK/programs/program$i.exe")" $i $((i % 10)) >> "$PROFILE"
  i=$((i + 1))
done
PROFILE_WIN=$(winepath -w "$PROFILE")
OPTIONS_WIN=$(winepath -w "$WORK/windowpos.ini")

probe() { wine "$BIN/bench_startup_probe.exe" "$BIN/$1" "$2" "$3" 2>/dev/null | tr -d '\r'; }
median() { sort -n | awk '{a[NR]=$1} END {if (NR == 0) print "nan"; else if (NR % 2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }

CONFIGURE_ARGS="\"$PROFILE_WIN\" \"$OPTIONS_WIN\""
# One warm-up each, then alternate so both see the same machine load.
probe bench_configure_dialog.exe "Zephlaunch Configuration" "$CONFIGURE_ARGS" >/dev/null
probe bench_bare_dialog.exe "Bare dialog" "" >/dev/null
: > "$WORK/configure.txt"; : > "$WORK/bare.txt"
r=1
while [ $r -le "$RUNS" ]; do
  probe bench_configure_dialog.exe "Zephlaunch Configuration" "$CONFIGURE_ARGS" >> "$WORK/configure.txt"
  probe bench_bare_dialog.exe "Bare dialog" "" >> "$WORK/bare.txt"
  r=$((r + 1))
done
CONFIGURE=$(median < "$WORK/configure.txt")
BARE=$(median < "$WORK/bare.txt")
echo "Configure dialog, $ROWS auto-start rows with icons: median $CONFIGURE ms to painted ($RUNS runs)"
echo "bare dialog program:                            median $BARE ms"
awk -v c="$CONFIGURE" -v b="$BARE" 'BEGIN { printf "ratio %.2f (target <= 2.00)\n", c / b }'
