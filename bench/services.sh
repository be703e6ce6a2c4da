#!/bin/sh
# services.sh BUILD_DIR [COUNT]
# Phases 3 and 8 of zephrun.exe with COUNT (default 20) fixture services that stop
# promptly, all marked "Stop & Restart": the wall time of each phase, next to the sum of
# the services' own stop (start) times measured one after another, and next to a batch
# file of "net stop" ("net start") commands under the same Wine. One run; prints the
# figures and the ratios (target: the batch takes at least 3 times as long as the phase).
# Uses BUILD_DIR/wineprefix; the services are removed again however the script ends.
set -eu
BUILD=$(cd "${1:?usage: services.sh BUILD_DIR [COUNT]}" && pwd)
COUNT=${2:-20}
BIN="$BUILD/bin"
HERE=$(cd "$(dirname "$0")" && pwd)
for f in zephrun.exe fixture_service.exe; do
  [ -f "$BIN/$f" ] || { echo "missing $BIN/$f (build targets zephrun fixture_service)" >&2; exit 2; }
done
export WINEPREFIX="$BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$HERE/../scripts/wine-prefix" up >/dev/null
# The prefix's own display (its Xvfb, which lives as long as the prefix's wineserver and its
# desktop) where the caller has none: a display that ends with this script would leave the
# desktop of the next one without any.
if [ -z "${DISPLAY:-}" ] && [ -f "$WINEPREFIX.display" ]; then
  read -r num pid < "$WINEPREFIX.display" && DISPLAY=":$num" && export DISPLAY
fi

WORK="$BUILD/bench-services.$$"
mkdir -p "$WORK"
TOOL="$WORK/service_bench_tool.exe"
x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -static -o "$TOOL" "$HERE/service_bench_tool.cpp" -ladvapi32
PREFIX="zbench$$"
cleanup() {
  wine "$TOOL" remove "$PREFIX" "$COUNT" >/dev/null 2>&1 || true
  rm -rf "$WORK"
}
trap cleanup EXIT INT TERM

wine "$TOOL" install "$PREFIX" "$COUNT" "$(winepath -w "$BIN/fixture_service.exe")"
wine "$TOOL" startseq "$PREFIX" "$COUNT" >/dev/null

PROFILE="$WORK/bench.ini"
{
  printf '[Configuration]\r\ndescription=services benchmark\r\n[Services]\r\n'
  i=1; while [ "$i" -le "$COUNT" ]; do printf '%s_%s=Stop & Restart\r\n' "$PREFIX" "$i"; i=$((i + 1)); done
} > "$PROFILE"
STOPBAT="$WORK/stop.bat"; STARTBAT="$WORK/start.bat"
printf '@echo off\r\n' > "$STOPBAT"; printf '@echo off\r\n' > "$STARTBAT"
i=1; while [ "$i" -le "$COUNT" ]; do
  printf 'net stop %s_%s\r\n' "$PREFIX" "$i" >> "$STOPBAT"
  printf 'net start %s_%s\r\n' "$PREFIX" "$i" >> "$STARTBAT"
  i=$((i + 1))
done

# The phases: time between the headings of phases 3 and 4, and of phases 8 and 9.
PHASES=$(cd "$WORK" && python3 - "$BIN/zephrun.exe" "$(winepath -w "$PROFILE")" <<'PY'
import subprocess, sys, time
marks = {b"Phase 3:": None, b"Phase 4:": None, b"Phase 8:": None, b"Phase 9:": None}
seen = b""
process = subprocess.Popen(["wine", sys.argv[1], sys.argv[2]], stdout=subprocess.PIPE, stdin=subprocess.DEVNULL)
while True:
    chunk = process.stdout.read1(4096)
    if not chunk:
        break
    now = time.monotonic()
    seen += chunk
    for mark in marks:
        if marks[mark] is None and mark in seen:
            marks[mark] = now
process.wait()
if None in marks.values() or b"ERROR: Unable" in seen:
    sys.stderr.write(seen.decode("latin-1"))
    sys.exit(1)
print("%.0f %.0f" % ((marks[b"Phase 4:"] - marks[b"Phase 3:"]) * 1000, (marks[b"Phase 9:"] - marks[b"Phase 8:"]) * 1000))
PY
)
PHASE3=${PHASES% *}; PHASE8=${PHASES#* }

OWNSTOP=$(wine "$TOOL" stopseq "$PREFIX" "$COUNT" | sed -n 's/^total_ms=\([0-9]*\).*/\1/p')
OWNSTART=$(wine "$TOOL" startseq "$PREFIX" "$COUNT" | sed -n 's/^total_ms=\([0-9]*\).*/\1/p')

millis() { date +%s%3N; }
t0=$(millis); wine cmd /c "$(winepath -w "$STOPBAT")" >/dev/null 2>&1; t1=$(millis)
wine cmd /c "$(winepath -w "$STARTBAT")" >/dev/null 2>&1; t2=$(millis)
NETSTOP=$((t1 - t0)); NETSTART=$((t2 - t1))

ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.1f", a / b; else print "n/a" }'; }
echo "services: $COUNT (prompt stop), one run"
printf '%-8s %10s %22s %18s %14s %14s\n' phase "wall ms" "sum own times ms" "net batch ms" "own/phase" "batch/phase"
printf '%-8s %10s %22s %18s %14s %14s\n' "3 stop" "$PHASE3" "$OWNSTOP" "$NETSTOP" "$(ratio "$OWNSTOP" "$PHASE3")" "$(ratio "$NETSTOP" "$PHASE3")"
printf '%-8s %10s %22s %18s %14s %14s\n' "8 start" "$PHASE8" "$OWNSTART" "$NETSTART" "$(ratio "$OWNSTART" "$PHASE8")" "$(ratio "$NETSTART" "$PHASE8")"
echo "target: batch/phase >= 3"
