#!/bin/sh
# dialog_open_dpi.sh BUILD_DIR [RUNS] [ROUNDS]
# Each dialog opened from the running main window, from the posted command to its first
# paint, at 144 DPI against 96 DPI (target: at most 1.10 for every dialog). The display's
# DPI is the prefix's LogPixels value: a copy of BUILD_DIR/wineprefix gets 96 and 144 in
# turn, RUNS times each (default 3, alternating so that both see the same machine load),
# and every run opens each dialog ROUNDS times (default 7). Prints the median per dialog
# and DPI and their ratio. Works in BUILD_DIR/bench-dpi, removed afterwards.
set -eu
BUILD=$(cd "${1:?usage: dialog_open_dpi.sh BUILD_DIR [RUNS] [ROUNDS]}" && pwd)
RUNS=${2:-3}
ROUNDS=${3:-7}
BIN="$BUILD/bin"
for f in bench_dialog_open.exe zephrun.exe; do
  [ -f "$BIN/$f" ] || { echo "missing $BIN/$f (build targets bench_dialog_open zephrun)" >&2; exit 2; }
done
export WINEPREFIX="$BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$(dirname "$0")/../scripts/wine-prefix" up >/dev/null
# The prefix's own display (its Xvfb, which lives as long as the prefix's wineserver and its
# desktop) where the caller has none: a display that ends with this script would leave the
# desktop of the next one without any.
if [ -z "${DISPLAY:-}" ] && [ -f "$WINEPREFIX.display" ]; then
  read -r num pid < "$WINEPREFIX.display" && DISPLAY=":$num" && export DISPLAY
fi

WORK="$BUILD/bench-dpi"
rm -rf "$WORK"
mkdir -p "$WORK"
cp -a "$WINEPREFIX" "$WORK/prefix"
export WINEPREFIX="$WORK/prefix"
trap 'wineserver -k >/dev/null 2>&1 || true; wineserver -w >/dev/null 2>&1 || true; rm -rf "$WORK"' EXIT INT TERM

at_dpi() {
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f </dev/null >/dev/null 2>&1
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w
  wine "$BIN/bench_dialog_open.exe" "$ROUNDS" </dev/null 2>/dev/null | tr -d '\r' >> "$WORK/dpi$1.txt"
}
: > "$WORK/dpi96.txt"; : > "$WORK/dpi144.txt"
r=1
while [ $r -le "$RUNS" ]; do
  at_dpi 96
  at_dpi 144
  r=$((r + 1))
done

median() { sort -n | awk '{a[NR]=$1} END {if (NR == 0) print "nan"; else if (NR % 2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }
printf '%-16s %10s %10s %7s   (ms to first paint, median of %d runs x %d openings)\n' dialog "96 DPI" "144 DPI" ratio "$RUNS" "$ROUNDS"
worst=0
for dialog in configure programs services new-profile program-options about preview-run; do
  low=$(awk -v d="$dialog" '$1 == d {print $2}' "$WORK/dpi96.txt" | median)
  high=$(awk -v d="$dialog" '$1 == d {print $2}' "$WORK/dpi144.txt" | median)
  awk -v d="$dialog" -v l="$low" -v h="$high" 'BEGIN { printf "%-16s %10s %10s %7.2f\n", d, l, h, (l > 0 ? h / l : 0) }'
done
awk -v f96="$WORK/dpi96.txt" -v f144="$WORK/dpi144.txt" 'BEGIN {
  while ((getline line < f96) > 0) { split(line, p, " "); low += p[2] }
  while ((getline line < f144) > 0) { split(line, p, " "); high += p[2] }
  printf "all dialogs      %10.1f %10.1f %7.2f (target <= 1.10)\n", low, high, (low > 0 ? high / low : 0) }'
