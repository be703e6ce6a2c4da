#!/bin/sh
# journal.sh BUILD_DIR [RUNS]
# What the run journal costs: the wall time of whole controller runs that stop and
# restart 20 programs (copies of fixture_window.exe) and 20 prompt fixture services, with
# the journal and without it. "Without" is the same zephrun.exe with the journal folder
# (%LOCALAPPDATA%\Zephlaunch) blocked (a file named Zephlaunch stands where the folder
# would be), so it runs on after one warning line and writes nothing. Runs alternate so
# both see the same load; prints the medians and the ratio (target: at most 1.05).
# Uses BUILD_DIR/wineprefix; the services, programs and the folder are put back however
# the script ends.
set -eu
BUILD=$(cd "${1:?usage: journal.sh BUILD_DIR [RUNS]}" && pwd)
RUNS=${2:-5}
COUNT=20
BIN="$BUILD/bin"
HERE=$(cd "$(dirname "$0")" && pwd)
for f in zephrun.exe fixture_service.exe fixture_window.exe; do
  [ -f "$BIN/$f" ] || { echo "missing $BIN/$f (build targets zephrun fixture_service fixture_window)" >&2; exit 2; }
done
export WINEPREFIX="$BUILD/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$HERE/../scripts/wine-prefix" up >/dev/null
# The prefix's own display (its Xvfb, which lives as long as the prefix's wineserver and its
# desktop) where the caller has none: a display that ends with this script would leave the
# desktop of the next one without any.
if [ -z "${DISPLAY:-}" ] && [ -f "$WINEPREFIX.display" ]; then
  read -r num pid < "$WINEPREFIX.display" && DISPLAY=":$num" && export DISPLAY
fi

WORK="$BUILD/bench-journal.$$"
mkdir -p "$WORK"
TOOL="$WORK/service_bench_tool.exe"
x86_64-w64-mingw32-g++-posix -std=c++17 -O2 -static -o "$TOOL" "$HERE/service_bench_tool.cpp" -ladvapi32
PREFIX="zjbench$$"
LOCALAPPDATA_UNIX=$(winepath -u "$(wine cmd /c 'echo %LOCALAPPDATA%' 2>/dev/null | tr -d '\r')")
JOURNAL_DIR="$LOCALAPPDATA_UNIX/Zephlaunch"
unblock() {
  if [ -f "$JOURNAL_DIR" ]; then rm -f "$JOURNAL_DIR"; fi
  if [ -d "$JOURNAL_DIR.benchsave" ]; then mv "$JOURNAL_DIR.benchsave" "$JOURNAL_DIR"; fi
}
cleanup() {
  unblock
  # The benchmark's programs are ended by a controller run that only stops them.
  if [ -f "$WORK/stop.ini" ]; then
    (cd "$WORK" && wine "$BIN/zephrun.exe" "$(winepath -w "$WORK/stop.ini")" </dev/null >/dev/null 2>&1) || true
  fi
  wine "$TOOL" remove "$PREFIX" "$COUNT" >/dev/null 2>&1 || true
  rm -rf "$WORK"
}
trap cleanup EXIT INT TERM

wine "$TOOL" install "$PREFIX" "$COUNT" "$(winepath -w "$BIN/fixture_service.exe")"
wine "$TOOL" startseq "$PREFIX" "$COUNT" >/dev/null

PROFILE="$WORK/bench.ini"
{
  printf '[Configuration]\r\ndescription=journal benchmark\r\nnonresponse=5\r\n[Programs]\r\n'
  i=1; while [ "$i" -le "$COUNT" ]; do
    cp "$BIN/fixture_window.exe" "$WORK/zjprog${i}_$$.exe"
    printf 'zjprog%s_%s.exe=Stop & Restart|%s\r\n' "$i" "$$" "$(winepath -w "$WORK/zjprog${i}_$$.exe")"
    i=$((i + 1))
  done
  printf '[Services]\r\n'
  i=1; while [ "$i" -le "$COUNT" ]; do printf '%s_%s=Stop & Restart\r\n' "$PREFIX" "$i"; i=$((i + 1)); done
} > "$PROFILE"
PROFILE_WIN=$(winepath -w "$PROFILE")
{
  printf '[Configuration]\r\nnonresponse=3\r\n[Programs]\r\n'
  i=1; while [ "$i" -le "$COUNT" ]; do printf 'zjprog%s_%s.exe=Stop\r\n' "$i" "$$"; i=$((i + 1)); done
} > "$WORK/stop.ini"
i=1; while [ "$i" -le "$COUNT" ]; do
  (cd "$WORK" && wine "$WORK/zjprog${i}_$$.exe" </dev/null >/dev/null 2>&1 &)
  i=$((i + 1))
done
sleep 3

now_ms() { echo $(( $(date +%s%N) / 1000000 )); }
timed() {  # wall time of one run in ms; the run's output goes to $WORK/last.txt
  start=$(now_ms)
  (cd "$WORK" && wine "$BIN/zephrun.exe" "$PROFILE_WIN" </dev/null >"$WORK/last.txt" 2>&1)
  echo $(( $(now_ms) - start ))
  sleep 2  # the restarted programs get their windows before the next run
}
median() { sort -n | awk '{a[NR]=$1} END {if (NR % 2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }
block() {
  if [ -d "$JOURNAL_DIR" ]; then mv "$JOURNAL_DIR" "$JOURNAL_DIR.benchsave"; fi
  : > "$JOURNAL_DIR"
}

timed >/dev/null  # warm-up
: > "$WORK/with.txt"; : > "$WORK/without.txt"
r=1
while [ "$r" -le "$RUNS" ]; do
  timed >> "$WORK/with.txt"
  grep -q "WARNING" "$WORK/last.txt" && { echo "run with journal reported a problem:" >&2; cat "$WORK/last.txt" >&2; exit 1; }
  [ "$(grep -c "Restarting zjprog" "$WORK/last.txt")" -eq "$COUNT" ] || { echo "not every program was stopped:" >&2; cat "$WORK/last.txt" >&2; exit 1; }
  block
  timed >> "$WORK/without.txt"
  grep -q "WARNING: Unable to write the run journal" "$WORK/last.txt" || { echo "journal not blocked" >&2; exit 1; }
  unblock
  r=$((r + 1))
done
WITH=$(median < "$WORK/with.txt")
WITHOUT=$(median < "$WORK/without.txt")
echo "whole runs stopping and restarting $COUNT programs and $COUNT services, median of $RUNS each:"
echo "  without journal: $WITHOUT ms"
echo "  with journal:    $WITH ms"
awk -v a="$WITH" -v b="$WITHOUT" 'BEGIN { printf "  ratio with/without: %.3f (target <= 1.05)\n", a / b }'
