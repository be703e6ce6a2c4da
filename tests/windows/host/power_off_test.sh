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
#   - the wineboot command line ExitWindowsEx chose (--kill = EWX_FORCE, which would end
#     every program unasked; --end-session --force = EWX_FORCEIFHUNG; --shutdown only for a
#     shut-down), which also proves that the shutdown privilege was enabled first (the
#     controller calls ExitWindowsEx only then): the relay trace shows OpenProcessToken,
#   - that the sentinel was not ended unasked (Wine's session end only asks windows: a
#     program without one, like the sentinel, runs on, where --kill would have ended it);
# that a value other than 1 shuts nothing down; and that with Windows 98 reported no token
# is opened (9x/ME has none) and no force flag is given.
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
"$wine" reg add 'HKCU\Software\Wine\Debug' /v RelayInclude /d OpenProcessToken /f >/dev/null 2>&1
wineserver -w
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
  WINEDEBUG=+process,+relay "$wine" "$work/pw_zephrun.exe" "$(winpath "$work/$name.ini")" </dev/null >"$work/$name.out" 2>"$work/$name.trace"
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

# The token opened to enable the privilege (TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY).
tokens() { grep -c 'Call [a-z0-9]*\.OpenProcessToken([0-9a-f]*,00000028,' "$work/$1.trace"; }

# 2. Shut-down: EWX_SHUTDOWN | EWX_FORCEIFHUNG.
run_case shutdown "ShutdownAfterTermination=1\r\n" 120
log_ends_with shutdown '\r\r\nZephlaunch Control Program finished.\r\r\n\r\r\nSystem Shutdown in progress...'
grep -qF 'cmdline L"C:\\windows\\system32\\wineboot.exe --end-session --force --shutdown"' "$work/shutdown.trace" ||
  fail "shutdown: no 'wineboot.exe --end-session --force --shutdown' in the trace"
[ "$(tokens shutdown)" = 1 ] || fail "shutdown: OpenProcessToken was not called once"
kill -0 "$sentinel_pid" 2>/dev/null || fail "shutdown: the sentinel was ended unasked"
wineserver -k; wineserver -w

# 3. Restart: EWX_REBOOT | EWX_FORCEIFHUNG (no --shutdown).
run_case restart "RestartAfterTermination=1\r\n" 120
log_ends_with restart '\r\r\nZephlaunch Control Program finished.\r\r\n\r\r\nSystem Restart in progress...'
grep -qF 'cmdline L"C:\\windows\\system32\\wineboot.exe --end-session --force"' "$work/restart.trace" ||
  fail "restart: no 'wineboot.exe --end-session --force' in the trace"
grep -qF 'wineboot.exe --end-session --force --shutdown"' "$work/restart.trace" && fail "restart: asked for a shut-down"
wineserver -k; wineserver -w

# 4. Windows 98: no token step, no force flag (9x/ME knows none that keeps unsaved work).
"$wine" reg add 'HKCU\Software\Wine\AppDefaults\pw_zephrun.exe' /v Version /d win98 /f >/dev/null 2>&1
run_case win98 "ShutdownAfterTermination=1\r\n" 120
grep -qF 'cmdline L"C:\\windows\\system32\\wineboot.exe --end-session --shutdown"' "$work/win98.trace" ||
  fail "win98: no 'wineboot.exe --end-session --shutdown' in the trace"
[ "$(tokens win98)" = 0 ] || fail "win98: OpenProcessToken was called"

[ $failed = 0 ] && echo "power-off in a throwaway Wine session: all checks passed"
exit $failed
