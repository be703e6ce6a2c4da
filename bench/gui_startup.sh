#!/bin/sh
# gui_startup.sh BUILD_DIR [RUNS]
# Start-up of Zephlaunch.exe with 200 profiles (half of them with a main application
# whose icon is extracted) to a painted main window, against a bare dialog program
# started the same way. Prints both medians and their ratio (target: at most 2).
# Uses BUILD_DIR/wineprefix; its settings folder is set aside and put back afterwards.
set -eu
BUILD=$(cd "${1:?usage: gui_startup.sh BUILD_DIR [RUNS]}" && pwd)
RUNS=${2:-9}
BIN="$BUILD/bin"
for f in Zephlaunch.exe bench_bare_dialog.exe bench_startup_probe.exe; do
  [ -f "$BIN/$f" ] || { echo "missing $BIN/$f (build targets Zephlaunch bench_bare_dialog bench_startup_probe)" >&2; exit 2; }
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
[ -e "$SETTINGS" ] && mv "$SETTINGS" "$SAVED"
restore() {
  rm -rf "$SETTINGS"
  [ -e "$SAVED" ] && mv "$SAVED" "$SETTINGS"
  return 0
}
trap restore EXIT INT TERM

mkdir -p "$SETTINGS/profiles"
APP_WIN=$(winepath -w "$BIN/Zephlaunch.exe")
i=1
while [ $i -le "${ZEPH_BENCH_PROFILES:-200}" ]; do
  f="$SETTINGS/profiles/profile $i.ini"
  printf '[Configuration]\r\ndescription=Benchmark profile %d\r\n' $i > "$f"
  [ "${ZEPH_BENCH_NO_ICONS:-}" = "" ] && [ $((i % 2)) -eq 0 ] && printf 'fspath=%s\r\n' "$APP_WIN" >> "$f"
  i=$((i + 1))
done

probe() { wine "$BIN/bench_startup_probe.exe" "$BIN/$1" "$2" 2>/dev/null | tr -d '\r'; }
median() { sort -n | awk '{a[NR]=$1} END {if (NR == 0) print "nan"; else if (NR % 2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }

# One warm-up each, then alternate so both see the same machine load.
probe Zephlaunch.exe "Zephlaunch - zephlaunch" >/dev/null
probe bench_bare_dialog.exe "Bare dialog" >/dev/null
: > "$BUILD/bench-zeph.txt"; : > "$BUILD/bench-bare.txt"
r=1
while [ $r -le "$RUNS" ]; do
  probe Zephlaunch.exe "Zephlaunch - zephlaunch" >> "$BUILD/bench-zeph.txt"
  probe bench_bare_dialog.exe "Bare dialog" >> "$BUILD/bench-bare.txt"
  r=$((r + 1))
done
ZEPH=$(median < "$BUILD/bench-zeph.txt")
BARE=$(median < "$BUILD/bench-bare.txt")
rm -f "$BUILD/bench-zeph.txt" "$BUILD/bench-bare.txt"
echo "Zephlaunch.exe, 200 profiles: median $ZEPH ms to a painted main window ($RUNS runs)"
echo "bare dialog program:          median $BARE ms"
awk -v z="$ZEPH" -v b="$BARE" 'BEGIN { printf "ratio %.2f (target <= 2.00)\n", z / b }'
