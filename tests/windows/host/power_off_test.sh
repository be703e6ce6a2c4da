#!/bin/sh
# power_off_test.sh ZEPHRUN_EXE FIXTURE_MAINAPP_EXE
#
# The end-of-run shut-down and restart, for real, inside a throwaway Wine session.
# Under Wine ExitWindowsEx does not touch the host: it runs the prefix's own
# "wineboot.exe --kill [--shutdown]", which ends every process of that prefix (and, for
# a shut-down, its wineserver). So the test never runs in the shared test prefix: it
# creates a prefix of its own, starts a sentinel program in it, runs the controller there
# with Wine's process trace on, and checks
#   - the closing lines of the run (log file bytes),
#   - the wineboot command line ExitWindowsEx chose (--kill = EWX_FORCE, --shutdown only
#     for a shut-down), which also proves that the shutdown privilege was enabled first
#     (the controller calls ExitWindowsEx only then),
#   - that the sentinel was ended;
# and that a value other than 1 shuts nothing down.
set -u
zephrun=$1
fixture=$2
root=$(cd "$(dirname "$zephrun")/.." && pwd)
work=$(mktemp -d "$root/power-session.XXXXXX") || exit 1
export WINEPREFIX="$work/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
failed=0

cleanup() {
  wineserver -k >/dev/null 2>&1
  wineserver -w >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

fail() { echo "FAIL: $*"; failed=1; }
winpath() { printf 'Z:%s' "$1" | tr / '\\'; }

# The Wine command (ZEPH_WINE, the loader of the tree's architecture): an emulated 32-bit
# Wine of its own folder makes a 32-bit prefix here (its 64-bit prefixes need extra steps,
# see scripts/wine-prefix).
wine=${ZEPH_WINE:-wine}
if [ "${ZEPH_WINE_EMULATED:-OFF}" = ON ]; then
  WINEARCH=win32 "$wine" wineboot --init >/dev/null 2>&1
else
  "$wine" wineboot --init >/dev/null 2>&1
fi
wineserver -w
[ -f "$WINEPREFIX/system.reg" ] || { echo "FAIL: could not create $WINEPREFIX"; exit 1; }
cp "$zephrun" "$work/pw_zephrun.exe" && cp "$fixture" "$work/pw_sentinel.exe" || exit 1
cd "$work" || exit 1

# run_case NAME CONFIGURATION-LINES
# Starts the sentinel, runs the controller, leaves NAME.log, NAME.trace, NAME.txt
# (the sentinel's report) and the sentinel's pid in sentinel_pid.
run_case() {
  name=$1
  "$wine" "$work/pw_sentinel.exe" --seconds "$3" --report "$(winpath "$work/$name.txt")" </dev/null >/dev/null 2>&1 &
  sentinel_pid=$!
  i=0
  while ! grep -q '^cmdline=' "$work/$name.txt" 2>/dev/null; do
    i=$((i + 1)); [ $i -gt 300 ] && { fail "$name: sentinel did not start"; return; }
    sleep 0.1
  done
  printf '[Configuration]\r\nlogging=1\r\n%s' "$2" > "$work/$name.ini"
  rm -f "$work/zephrun_log.txt"
  WINEDEBUG=+process "$wine" "$work/pw_zephrun.exe" "$(winpath "$work/$name.ini")" </dev/null >"$work/$name.out" 2>"$work/$name.trace"
  mv "$work/zephrun_log.txt" "$work/$name.log" 2>/dev/null || fail "$name: no log file"
}

# wait_gone PID SECONDS: true when the process has ended within that time.
wait_gone() {
  i=0
  while kill -0 "$1" 2>/dev/null; do
    i=$((i + 1)); [ $i -gt $(($2 * 10)) ] && return 1
    sleep 0.1
  done
  return 0
}

log_ends_with() {  # NAME TEXT (printf format)
  expected=$(printf "$2" | od -An -c)
  actual=$(tail -c "$(printf "$2" | wc -c)" "$work/$1.log" | od -An -c)
  [ "$expected" = "$actual" ] || fail "$1: log ends with [$actual], expected [$expected]"
}

wineboot_calls() { grep -c 'CreateProcessInternalW app L"C:\\\\windows\\\\system32\\\\wineboot.exe"' "$work/$1.trace"; }

# 1. A value other than 1 (2) does not shut down: no wineboot, the sentinel lives on.
run_case ignored "ShutdownAfterTermination=2\r\nRestartAfterTermination=2\r\n" 6
[ "$(wineboot_calls ignored)" = 0 ] || fail "ignored: wineboot was started"
log_ends_with ignored '\r\r\nZephlaunch Control Program finished.\r\r\n'
kill -0 "$sentinel_pid" 2>/dev/null || fail "ignored: the sentinel was ended"
wait_gone "$sentinel_pid" 30
grep -q '^end=time' "$work/ignored.txt" || fail "ignored: the sentinel did not reach its own end"

# 2. Shut-down: EWX_SHUTDOWN | EWX_FORCE.
run_case shutdown "ShutdownAfterTermination=1\r\n" 120
log_ends_with shutdown '\r\r\nZephlaunch Control Program finished.\r\r\n\r\r\nSystem Shutdown in progress...'
grep -qF 'cmdline L"C:\\windows\\system32\\wineboot.exe --kill --shutdown"' "$work/shutdown.trace" ||
  fail "shutdown: no 'wineboot.exe --kill --shutdown' in the trace"
wait_gone "$sentinel_pid" 30 || fail "shutdown: the sentinel still runs"
grep -q '^end=' "$work/shutdown.txt" && fail "shutdown: the sentinel ended by itself"
wineserver -w

# 3. Restart: EWX_REBOOT | EWX_FORCE (no --shutdown).
run_case restart "RestartAfterTermination=1\r\n" 120
log_ends_with restart '\r\r\nZephlaunch Control Program finished.\r\r\n\r\r\nSystem Restart in progress...'
grep -qF 'cmdline L"C:\\windows\\system32\\wineboot.exe --kill"' "$work/restart.trace" ||
  fail "restart: no 'wineboot.exe --kill' in the trace"
grep -qF 'wineboot.exe --kill --shutdown"' "$work/restart.trace" && fail "restart: asked for a shut-down"
wait_gone "$sentinel_pid" 30 || fail "restart: the sentinel still runs"
grep -q '^end=' "$work/restart.txt" && fail "restart: the sentinel ended by itself"

[ $failed = 0 ] && echo "power-off in a throwaway Wine session: all checks passed"
exit $failed
