#!/bin/sh
# whole_run.sh BUILD_DIR [RUNS]
# Wall time of whole controller runs under Wine against the waits the run's profile
# fixes (the start-up delay and the auto-start delays); the rest is the controller's
# own overhead (target: below 0.5 s). Two profiles, both with nothing to stop and a main
# application that exits at once:
#   A: autostartdelay = 0, no auto-start programs (fixed waits: 0 s);
#   B: as A, plus one auto-start program with a delay of 2 s (fixed waits: 2 s).
# Also prints the time Wine needs to start and end a program that does nothing, which is
# part of every wall time measured from the host. Uses BUILD_DIR/wineprefix.
set -eu
BUILD=$(cd "${1:?usage: whole_run.sh BUILD_DIR [RUNS]}" && pwd)
RUNS=${2:-7}
BIN="$BUILD/bin"
for f in zephrun.exe fixture_mainapp.exe; do
  [ -f "$BIN/$f" ] || { echo "missing $BIN/$f (build targets zephrun fixture_mainapp)" >&2; exit 2; }
done
export WINEPREFIX="$BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$(dirname "$0")/../scripts/wine-prefix" up >/dev/null
# The prefix's own display (its Xvfb, which lives as long as the prefix's wineserver and its
# desktop) where the caller has none: a display that ends with this script would leave the
# desktop of the next one without any.
if [ -z "${DISPLAY:-}" ] && [ -f "$WINEPREFIX.display" ]; then
  read -r num pid < "$WINEPREFIX.display" && DISPLAY=":$num" && export DISPLAY
fi

WORK=$(mktemp -d "$BUILD/bench-whole-run.XXXXXX")
trap 'rm -rf "$WORK"' EXIT INT TERM
cp "$BIN/fixture_mainapp.exe" "$WORK/bench_main.exe"
cp "$BIN/fixture_mainapp.exe" "$WORK/bench_auto.exe"
MAIN_WIN=$(winepath -w "$WORK/bench_main.exe")
AUTO_WIN=$(winepath -w "$WORK/bench_auto.exe")
printf '[Configuration]\r\nfspath=%s\r\nautostartdelay=0\r\n' "$MAIN_WIN" > "$WORK/a.ini"
printf '[Configuration]\r\nfspath=%s\r\nautostartdelay=0\r\n[AutoStart]\r\n%s=|2\r\n' "$MAIN_WIN" "$AUTO_WIN" > "$WORK/b.ini"
A_WIN=$(winepath -w "$WORK/a.ini")
B_WIN=$(winepath -w "$WORK/b.ini")
cd "$WORK"

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
timed() {  # prints the wall time of one command in ms
  start=$(now_ms)
  "$@" </dev/null >/dev/null 2>&1
  echo $(( $(now_ms) - start ))
}
median() { sort -n | awk '{a[NR]=$1} END {if (NR % 2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }

# One warm-up each, then alternate so all see the same machine load.
timed wine "$BIN/zephrun.exe" "$A_WIN" >/dev/null
: > bare.txt; : > a.txt; : > b.txt
r=1
while [ $r -le "$RUNS" ]; do
  timed wine "$WORK/bench_main.exe" >> bare.txt
  timed wine "$BIN/zephrun.exe" "$A_WIN" >> a.txt
  timed wine "$BIN/zephrun.exe" "$B_WIN" >> b.txt
  r=$((r + 1))
done
BARE=$(median < bare.txt)
A=$(median < a.txt)
B=$(median < b.txt)
echo "median of $RUNS runs each, wall time from the host:"
echo "  a program that does nothing:             $BARE ms (Wine's own start and end)"
awk -v t="$A" 'BEGIN { printf "  A: run, fixed waits 0 ms:               %d ms, overhead %d ms (target < 500)\n", t, t }'
awk -v t="$B" 'BEGIN { printf "  B: run with a 2 s auto-start delay:     %d ms, overhead %d ms (target < 500), wall/waits %.2f\n", t, t - 2000, t / 2000 }'
