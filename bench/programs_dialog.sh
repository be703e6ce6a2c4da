#!/bin/sh
# programs_dialog.sh BUILD_DIR [RUNS] [PROCESSES]
# Time from start to a painted, filled Programs dialog with PROCESSES (150) extra running
# programs, against the bare dialog program started the same way. Prints both medians,
# their ratio (target: at most 3) and the time of each part of filling the list.
# Uses BUILD_DIR/wineprefix; its settings folder is set aside and put back afterwards.
set -eu
BUILD=$(cd "${1:?usage: programs_dialog.sh BUILD_DIR [RUNS] [PROCESSES]}" && pwd)
RUNS=${2:-7}
PROCESSES=${3:-150}
BIN="$BUILD/bin"
for f in bench_list_dialog.exe bench_bare_dialog.exe bench_startup_probe.exe fixture_window.exe; do
  [ -f "$BIN/$f" ] || { echo "missing $BIN/$f" >&2; exit 2; }
done
export WINEPREFIX="$BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$(dirname "$0")/../scripts/wine-prefix" up >/dev/null
# The prefix's own display (its Xvfb, which lives as long as the prefix's wineserver and its
# desktop) where the caller has none: a display that ends with this script would leave the
# desktop of the next one without any.
if [ -z "${DISPLAY:-}" ] && [ -f "$WINEPREFIX.display" ]; then
  read -r num pid < "$WINEPREFIX.display" && DISPLAY=":$num" && export DISPLAY
fi

APPDATA=$(winepath -u "$(wine cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')")
SETTINGS="$APPDATA/Zephlaunch"
SAVED="$BUILD/bench-settings-saved.$$"
WORK=$(mktemp -d "$BUILD/bench-programs.XXXXXX")
[ -e "$SETTINGS" ] && mv "$SETTINGS" "$SAVED"
PIDS=""
finish() {
  for p in $PIDS; do kill "$p" 2>/dev/null || true; done
  rm -rf "$SETTINGS" "$WORK"
  [ -e "$SAVED" ] && mv "$SAVED" "$SETTINGS"
  return 0
}
trap finish EXIT INT TERM

# The extra programs: one executable under a name of its own, started PROCESSES times.
cp "$BIN/fixture_window.exe" "$WORK/zlbench.exe"
i=1
while [ $i -le "$PROCESSES" ]; do
  wine "$WORK/zlbench.exe" --no-window </dev/null >/dev/null 2>&1 &
  PIDS="$PIDS $!"
  i=$((i + 1))
done
i=0
while [ "$(pgrep -xc zlbench.exe || true)" -lt "$PROCESSES" ] && [ $i -lt 600 ]; do sleep 0.2; i=$((i + 1)); done
echo "extra running programs: $(pgrep -xc zlbench.exe || true)"

probe() { p=$1; t=$2; shift 2; wine "$BIN/bench_startup_probe.exe" "$BIN/$p" "$t" "$@" 2>/dev/null | tr -d '\r'; }
median() { sort -n | awk '{a[NR]=$1} END {if (NR == 0) print "nan"; else if (NR % 2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }

probe bench_list_dialog.exe "Configure Programs" programs >/dev/null
probe bench_bare_dialog.exe "Bare dialog" >/dev/null
: > "$WORK/list.txt"; : > "$WORK/bare.txt"
r=1
while [ $r -le "$RUNS" ]; do
  probe bench_list_dialog.exe "Configure Programs" programs >> "$WORK/list.txt"
  probe bench_bare_dialog.exe "Bare dialog" >> "$WORK/bare.txt"
  r=$((r + 1))
done
LIST=$(median < "$WORK/list.txt")
BARE=$(median < "$WORK/bare.txt")
echo "Programs dialog, $PROCESSES extra programs: median $LIST ms to a painted, filled dialog ($RUNS runs)"
echo "bare dialog program:                     median $BARE ms"
awk -v z="$LIST" -v b="$BARE" 'BEGIN { printf "ratio %.2f (target <= 3.00)\n", z / b }'
echo "parts of one filling:"
wine "$BIN/bench_list_dialog.exe" parts-programs 2>/dev/null | tr -d '\r'
