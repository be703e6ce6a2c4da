#!/bin/sh
# services_dialog.sh BUILD_DIR [RUNS] [SERVICES]
# Time from start to a painted, filled Services dialog with SERVICES (320) extra
# services, against the bare dialog program started the same way in the same prefix.
# Prints both medians, their ratio (target: at most 3) and the time of each part of
# filling the list. The services are registered in a throwaway copy of
# BUILD_DIR/wineprefix (a .reg file imported with regedit, then the wineserver
# restarted), which is removed afterwards.
set -eu
BUILD=$(cd "${1:?usage: services_dialog.sh BUILD_DIR [RUNS] [SERVICES]}" && pwd)
RUNS=${2:-7}
SERVICES=${3:-320}
BIN="$BUILD/bin"
HERE=$(cd "$(dirname "$0")" && pwd)
for f in bench_list_dialog.exe bench_bare_dialog.exe bench_startup_probe.exe; do
  [ -f "$BIN/$f" ] || { echo "missing $BIN/$f" >&2; exit 2; }
done
export WINEPREFIX="$BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$HERE/../scripts/wine-prefix" up >/dev/null
# The prefix's own display (its Xvfb, which lives as long as the prefix's wineserver and its
# desktop) where the caller has none: a display that ends with this script would leave the
# desktop of the next one without any.
if [ -z "${DISPLAY:-}" ] && [ -f "$WINEPREFIX.display" ]; then
  read -r num pid < "$WINEPREFIX.display" && DISPLAY=":$num" && export DISPLAY
fi

WORK=$(mktemp -d "$BUILD/bench-services.XXXXXX")
finish() {
  WINEPREFIX="$WORK/prefix" wineserver -k >/dev/null 2>&1 || true
  WINEPREFIX="$WORK/prefix" wineserver -w >/dev/null 2>&1 || true
  rm -rf "$WORK"
  return 0
}
trap finish EXIT INT TERM
cp -a "$WINEPREFIX" "$WORK/prefix"
export WINEPREFIX="$WORK/prefix"
sh "$HERE/../tests/gui/host/extra_services_reg.sh" "$SERVICES" > "$WORK/extra.reg"
wine regedit /S "$(winepath -w "$WORK/extra.reg")" </dev/null >/dev/null 2>&1
wineserver -k >/dev/null 2>&1 || true
wineserver -w
wineserver -p </dev/null >/dev/null 2>&1 || true
wine cmd.exe /c exit </dev/null >/dev/null 2>&1 || true
rm -rf "$(winepath -u "$(wine cmd /c 'echo %APPDATA%' 2>/dev/null | tr -d '\r')")/Zephlaunch"

probe() { p=$1; t=$2; shift 2; wine "$BIN/bench_startup_probe.exe" "$BIN/$p" "$t" "$@" 2>/dev/null | tr -d '\r'; }
median() { sort -n | awk '{a[NR]=$1} END {if (NR == 0) print "nan"; else if (NR % 2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }

probe bench_list_dialog.exe "Configure Services" services >/dev/null
probe bench_bare_dialog.exe "Bare dialog" >/dev/null
: > "$WORK/list.txt"; : > "$WORK/bare.txt"
r=1
while [ $r -le "$RUNS" ]; do
  probe bench_list_dialog.exe "Configure Services" services >> "$WORK/list.txt"
  probe bench_bare_dialog.exe "Bare dialog" >> "$WORK/bare.txt"
  r=$((r + 1))
done
LIST=$(median < "$WORK/list.txt")
BARE=$(median < "$WORK/bare.txt")
echo "Services dialog, $SERVICES extra services: median $LIST ms to a painted, filled dialog ($RUNS runs)"
echo "bare dialog program:                      median $BARE ms"
awk -v z="$LIST" -v b="$BARE" 'BEGIN { printf "ratio %.2f (target <= 3.00)\n", z / b }'
echo "parts of one filling:"
wine "$BIN/bench_list_dialog.exe" parts-services 2>/dev/null | tr -d '\r'
